#include "pages/catalogue_document.h"

#include "builders/url_encode.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

constexpr char kIndexFileName[] = "index.html";

// The head of a document up to and including "<body>", with more lines after the title.
std::string DocumentHead(std::string_view title, std::string_view more = {}) {
  return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n<title>" +
         EscapeHtmlText(title) + "</title>\r\n" + std::string(more) + "</head>\r\n<body>\r\n";
}

constexpr char kDocumentEnd[] = "\r\n</body>\r\n</html>\r\n";
static_assert(sizeof kDocumentEnd - 1 <= kProductPageDocumentEndSize);

}  // namespace

std::string FileAddress(std::string_view fileName) {
  return PercentEncodeBytes(fileName, [](unsigned char byte) {
    const char c = static_cast<char>(byte);
    const char lower = AsciiLower(c);
    return (lower >= 'a' && lower <= 'z') || IsAsciiDigit(c) || c == '-' || c == '.' || c == '_' ||
           c == '~';
  });
}

void StartProductPageDocument(std::string &document, std::string_view description,
                              std::string_view head) {
  document += DocumentHead(description, head);
  document += "<p><a href=\"";
  document += kIndexFileName;
  document += "\">All products</a></p>\r\n";
}

void EndProductPageDocument(std::string &document) {
  document += kDocumentEnd;
}

std::string ProductPageDocument(std::string_view description, std::string_view body,
                                std::string_view head) {
  std::string document;
  StartProductPageDocument(document, description, head);
  document.append(body);
  EndProductPageDocument(document);
  return document;
}

std::string CatalogueIndexDocument(std::string_view company,
                                   const std::vector<CatalogueEntry> &entries) {
  return CatalogueIndexDocument(company, entries, 1, 1);
}

std::string CatalogueIndexPageName(std::size_t page) {
  return page <= 1 ? kIndexFileName : "index-" + std::to_string(page) + ".html";
}

bool IsCatalogueIndexPageName(std::string_view name) {
  std::string lower;
  for (const char c : name) lower += AsciiLower(c);
  if (lower == kIndexFileName) return true;
  if (!lower.starts_with("index-") || !lower.ends_with(".html")) return false;
  const std::string_view number = std::string_view(lower).substr(6, lower.size() - 11);
  if (number.empty() || number.front() == '0') return false;
  for (const char c : number) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

std::string CatalogueIndexDocument(std::string_view company,
                                   const std::vector<CatalogueEntry> &entries, std::size_t page,
                                   std::size_t pages) {
  std::string document = DocumentHead(company);
  document += "<h1>" + EscapeHtmlText(company) +
              "</h1>\r\n<table>\r\n<tr><th>Product</th><th>Price</th></tr>\r\n";
  for (const CatalogueEntry &entry : entries) {
    document += "<tr><td><a href=\"" + FileAddress(entry.FileName) + "\">" +
                EscapeHtmlText(entry.Description) + "</a></td><td>" + EscapeHtmlText(entry.Price) +
                "</td></tr>\r\n";
  }
  document += "</table>";
  if (pages > 1) {
    document += "\r\n<p>Page " + std::to_string(page) + " of " + std::to_string(pages);
    if (page > 1) {
      document += " <a href=\"" + CatalogueIndexPageName(page - 1) + "\">Previous page</a>";
    }
    if (page < pages) {
      document += " <a href=\"" + CatalogueIndexPageName(page + 1) + "\">Next page</a>";
    }
    document += "</p>";
  }
  document += kDocumentEnd;
  return document;
}

}  // namespace vendigo
