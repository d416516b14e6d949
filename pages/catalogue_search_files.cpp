#include "pages/catalogue_search_files.h"

#include <cerrno>
#include <stdexcept>
#include <vector>

#include "core/file_error.h"
#include "pages/catalogue_document.h"
#include "pages/xml_writer_library.h"

namespace vendigo {
namespace {

constexpr char kSitemapNamespace[] = "http://www.sitemaps.org/schemas/sitemap/0.9";
constexpr char kMerchantNamespace[] = "http://base.google.com/ns/1.0";

const xmlChar *X(const char *text) {
  return reinterpret_cast<const xmlChar *>(text);
}

// Text XML 1.0 can hold: control characters other than tab and line ends left out.
std::string XmlText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
  }
  return out;
}

std::string StemOf(const std::string &fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

}  // namespace

// An XML document written by libxml2 into an unnamed temporary file.
struct CatalogueSearchFiles::Writer {
  explicit Writer(const char *what) : xml(Loaded(what)), file(std::tmpfile()) {
    if (!file) Fail(what, errno);
    xmlOutputBufferPtr buffer = xml.xmlOutputBufferCreateFile(file, nullptr);
    writer = buffer ? xml.xmlNewTextWriter(buffer) : nullptr;
    if (!writer) {
      if (buffer) xml.xmlOutputBufferClose(buffer);
      std::fclose(file);
      Fail(what, ENOMEM);
    }
    xml.xmlTextWriterSetIndent(writer, 1);
    Check(xml.xmlTextWriterStartDocument(writer, "1.0", "UTF-8", nullptr));
  }
  ~Writer() {
    if (writer) xml.xmlFreeTextWriter(writer);
    std::fclose(file);
  }
  Writer(const Writer &) = delete;
  Writer &operator=(const Writer &) = delete;

  // libxml2, or a FileError saying why it cannot be loaded.
  static const XmlWriterLibrary &Loaded(const char *what) {
    try {
      return XmlWriter();
    } catch (const std::runtime_error &failure) {
      throw FileError(std::string("cannot make ") + what + ": " + failure.what());
    }
  }
  [[noreturn]] static void Fail(const char *what, int error) {
    throw FileError(std::string("cannot make ") + what + ": " +
                    std::generic_category().message(error));
  }
  // libxml2's writer says -1 when it could not write; the file's error says why.
  void Check(int result) {
    if (result < 0) failed = true;
  }

  void Start(const char *name, const char *space = nullptr) {
    Check(xml.xmlTextWriterStartElementNS(writer, nullptr, X(name), space ? X(space) : nullptr));
  }
  void StartPrefixed(const char *prefix, const char *name, const char *space = nullptr) {
    Check(xml.xmlTextWriterStartElementNS(writer, X(prefix), X(name), space ? X(space) : nullptr));
  }
  void End() { Check(xml.xmlTextWriterEndElement(writer)); }
  void Element(const char *name, std::string_view text) {
    Check(xml.xmlTextWriterWriteElement(writer, X(name), X(XmlText(text).c_str())));
  }
  void Merchant(const char *name, std::string_view text) {
    Check(xml.xmlTextWriterWriteElementNS(writer, X("g"), X(name), nullptr,
                                          X(XmlText(text).c_str())));
  }
  void Attribute(const char *name, const char *value) {
    Check(xml.xmlTextWriterWriteAttribute(writer, X(name), X(value)));
  }

  // Ends the document and hands the file over.
  void Finish(const char *what, const std::string &name, const PlaceCatalogueFile &place) {
    Check(xml.xmlTextWriterEndDocument(writer));
    xml.xmlFreeTextWriter(writer);  // flushes into the file
    writer = nullptr;
    if (failed || std::fflush(file) != 0 || std::ferror(file)) Fail(what, errno ? errno : EIO);
    place(name, file);
  }

  const XmlWriterLibrary &xml;
  std::FILE *file;
  xmlTextWriterPtr writer = nullptr;
  bool failed = false;
};

CatalogueSearchFiles::CatalogueSearchFiles(std::string siteAddress, const std::string &company)
    : siteAddress_(std::move(siteAddress)), feed_(std::make_unique<Writer>(kCatalogueFeedFile)) {
  Writer &feed = *feed_;
  feed.Start("rss");
  feed.Attribute("version", "2.0");
  feed.Check(feed.xml.xmlTextWriterWriteAttributeNS(feed.writer, X("xmlns"), X("g"), nullptr,
                                                    X(kMerchantNamespace)));
  feed.Start("channel");
  feed.Element("title", company);
  feed.Element("link", siteAddress_);
  feed.Element("description", "The products of " + company);
}

CatalogueSearchFiles::~CatalogueSearchFiles() = default;

void CatalogueSearchFiles::AddProduct(const ProductFacts &facts, const std::string &fileName) {
  Writer &feed = *feed_;
  const std::string id = facts.Sku.empty() ? StemOf(fileName) : facts.Sku;
  const bool group = facts.Offers.size() > 1;
  for (std::size_t o = 0; o < facts.Offers.size(); ++o) {
    const ProductOffer &offer = facts.Offers[o];
    feed.Start("item");
    feed.Merchant("id", group ? id + "-" + std::to_string(o + 1) : id);
    if (group) feed.Merchant("item_group_id", id);
    feed.Element("title", group ? facts.Name + " - " + offer.Name : facts.Name);
    feed.Element("description", facts.Description.empty() ? facts.Name : facts.Description);
    feed.Element("link", facts.Url);
    if (!facts.ImageUrl.empty()) feed.Merchant("image_link", facts.ImageUrl);
    feed.Merchant("price", FeedPrice(offer.Price, facts.CurrencyCode));
    feed.Merchant("availability", FeedAvailability(facts.Stock));
    if (!facts.Brand.empty()) feed.Merchant("brand", facts.Brand);
    if (!facts.Gtin.empty()) feed.Merchant("gtin", facts.Gtin);
    feed.End();
  }
}

void CatalogueSearchFiles::Finish(CatalogueIndexList &index, std::size_t indexPages,
                                  const PlaceCatalogueFile &place) {
  // The index's pages first, then the products, at most kSitemapAddresses to a file.
  const std::size_t addresses = indexPages + index.Size();
  const std::size_t files =
      addresses <= kSitemapAddresses ? 1 : (addresses + kSitemapAddresses - 1) / kSitemapAddresses;
  const auto partName = [files](std::size_t part) {
    return files == 1 ? std::string(kCatalogueSitemapFile)
                      : "sitemap-" + std::to_string(part) + ".xml";
  };
  std::unique_ptr<Writer> sitemap;
  std::size_t inPart = 0;
  std::size_t part = 0;
  const auto add = [&](const std::string &fileName) {
    if (!sitemap) {
      sitemap = std::make_unique<Writer>(kCatalogueSitemapFile);
      sitemap->Start("urlset", kSitemapNamespace);
      ++part;
    }
    sitemap->Start("url");
    sitemap->Element("loc", siteAddress_ + FileAddress(fileName));
    sitemap->End();
    if (++inPart == kSitemapAddresses) {
      sitemap->Finish(kCatalogueSitemapFile, partName(part), place);
      sitemap.reset();
      inPart = 0;
    }
  };
  for (std::size_t page = 1; page <= indexPages; ++page) add(CatalogueIndexPageName(page));
  index.ForEachPage(1000, [&](const std::vector<CatalogueEntry> &entries) {
    for (const CatalogueEntry &entry : entries) add(entry.FileName);
  });
  if (sitemap) sitemap->Finish(kCatalogueSitemapFile, partName(part), place);
  if (files > 1) {
    Writer list(kCatalogueSitemapFile);
    list.Start("sitemapindex", kSitemapNamespace);
    for (std::size_t p = 1; p <= files; ++p) {
      list.Start("sitemap");
      list.Element("loc", siteAddress_ + partName(p));
      list.End();
    }
    list.Finish(kCatalogueSitemapFile, kCatalogueSitemapFile, place);
  }

  feed_->Finish(kCatalogueFeedFile, kCatalogueFeedFile, place);
}

}  // namespace vendigo
