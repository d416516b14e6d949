// Repricing a site: every fragment kind in a UTF-8 and a Windows-1252 page against pages built
// with the new prices, the dry run, a page that cannot be written, and spreadsheets refused.
#include "fragments/reprice.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <filesystem>

#include "core/text_encoding.h"
#include "fragments/fragment_commands.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::TempFolder;

const char kPrices[] =
    "Description,Price,Weight\nMug,4.90,\n\"Café crème\",\"2.20\",2\nGift note,1.50,\n"
    "Saucer,2,\nTeapot,20.00,\n";

Settings ShopSettings() {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.PelluxGeneration = 4;
  return settings;
}

std::string Build(const char *kind, const json &input) {
  return FindCommand(kind)->build(ShopSettings(), input);
}

// A page holding every kind that carries a price, built from the prices given, with a price
// outside the fragments and a description that only starts like one.
std::string Page(const std::string &mug, const std::string &cafe, const std::string &cafeWeight,
                 const std::string &note) {
  const json rows = {{"Mug", mug, "1", "", ""}, {"Café crème", cafe, cafeWeight, "", ""}};
  return "<html><body>\n<form method=\"post\" action=\"/cgi-bin/pellux.cgi\">" +
         Build("pelluxadd", {{"Description", "Mug"}, {"Price", mug}, {"Weight", "1"}}) +
         "</form>\n<p>Mug -- $4.50</p>\n<p>" +
         Build("quicklink", {{"Description", "Café crème"},
                             {"Price", cafe},
                             {"Weight", cafeWeight},
                             {"InsertProductInfo", true},
                             {"Brackets", true}}) +
         "</p>\n" + Build("textadd", {{"Caption", "Gift note"}, {"Price", note}}) + "\n" +
         Build(
             "options",
             {{"Name", "Size"},
              {"Rows", {{"Mug", mug, "1", "Mug --Add $" + mug}, {"Saucer", "2", "0", "Saucer"}}}}) +
         "\n" + Build("addit", {{"Mode", "checkbox"}, {"Rows", rows}}) + "\n" +
         Build("addit", {{"Mode", "select"}, {"Rows", rows}}) + "\n" +
         Build("addit", {{"Mode", "quantity"}, {"Rows", rows}, {"ProductInterface", true}}) +
         "\n<p>Mugs from 4.50</p>\n</body></html>\n";
}

const std::string kOldPage = Page("4.50", "2.00", "1", "1.00");
const std::string kNewPage = Page("4.90", "2.20", "2", "1.50");

// The lines a page of Page() reports, named file.
std::string ExpectedLines(const std::string &file) {
  const auto line = [&](int at, const std::string &text) {
    return file + ":" + std::to_string(at) + ": " + text + "\n";
  };
  const std::string mug = "Mug: 4.50 → 4.90 (";
  const std::string cafe = "Café crème: 2.00 → 2.20, weight 1 → 2 (";
  return line(2, mug + "hidden item)") + line(4, cafe + "quick link)") +
         line(5, "Gift note: 1.00 → 1.50 (text option)") + line(7, mug + "option list)") +
         line(10, mug + "addit checkbox table)") + line(11, cafe + "addit checkbox table)") +
         line(14, mug + "addit select list)") + line(15, cafe + "addit select list)") +
         line(26, mug + "quantity-add table)") + line(27, cafe + "quantity-add table)") +
         line(3, "Mug: 4.50 not changed: check by hand");
}

std::string Lines(const SiteReprice &result) {
  std::string lines;
  for (const SitePage &page : result.pages) {
    for (const PriceChange &change : page.reprice.changes)
      lines += FormatPriceChange(change) + "\n";
    for (const HandCheck &check : page.reprice.handChecks) lines += FormatHandCheck(check) + "\n";
    if (!page.error.empty()) lines += page.file + ": " + page.error + "\n";
  }
  for (const PriceRow &row : result.unmatched) lines += row.description + " matched nothing\n";
  return lines;
}

class RepriceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(site_ / "b");
    TempFolder::WriteBytes(site_ / "a.html", kOldPage);
    TempFolder::WriteBytes(site_ / "b" / "c.htm", Utf8ToWindows1252(kOldPage));
    TempFolder::WriteBytes(site_ / "notes.txt", kOldPage);
  }

  std::string Read(const std::string &name) const { return TempFolder::ReadBytes(site_ / name); }

  TempFolder folder_;
  const fs::path site_ = folder_.path() / "site";
  const PriceList prices_ = ReadPriceList(kPrices);
};

TEST_F(RepriceTest, RepricesEveryKindInItsOwnEncodingAndNothingElse) {
  ASSERT_FALSE(IsValidUtf8(Utf8ToWindows1252(kOldPage)));
  // A new file left by a killed save of a.html goes; one that is no file's stays.
  TempFolder::WriteBytes(site_ / ".a.html.0123456789ab", "half");
  TempFolder::WriteBytes(site_ / ".b.html.0123456789ab", "kept");
  const SiteReprice result = RepriceSite({site_.string()}, prices_, ShopSettings());
  EXPECT_FALSE(fs::exists(site_ / ".a.html.0123456789ab"));
  EXPECT_TRUE(fs::exists(site_ / ".b.html.0123456789ab"));
  EXPECT_EQ(Lines(result), ExpectedLines((site_ / "a.html").string()) +
                               ExpectedLines((site_ / "b" / "c.htm").string()) +
                               "Teapot matched nothing\n");
  EXPECT_EQ(Read("a.html"), kNewPage);
  EXPECT_EQ(Read("b/c.htm"), Utf8ToWindows1252(kNewPage));
  EXPECT_EQ(Read("notes.txt"), kOldPage);

  // Again: nothing left to change, and nothing written.
  const fs::file_time_type written = fs::last_write_time(site_ / "a.html");
  const SiteReprice again = RepriceSite({site_.string()}, prices_, ShopSettings());
  EXPECT_EQ(again.changes, 0u);
  EXPECT_EQ(fs::last_write_time(site_ / "a.html"), written);
}

TEST_F(RepriceTest, DryRunAndUntickedChangesWriteNothing) {
  SiteRepriceOptions options;
  options.write = false;
  const SiteReprice dry = RepriceSite({site_.string()}, prices_, ShopSettings(), options);
  EXPECT_EQ(dry.changes, 20u);
  EXPECT_EQ(dry.pages[0].reprice.newBytes, kNewPage);
  EXPECT_EQ(Read("a.html"), kOldPage);
  EXPECT_EQ(Read("b/c.htm"), Utf8ToWindows1252(kOldPage));

  // Only the hidden item's change ticked: the page differs from the old one there alone.
  SiteRepriceOptions ticked;
  ticked.accept = [](const PriceChange &change) { return change.kind == "pelluxadd"; };
  RepriceSite({(site_ / "a.html").string()}, prices_, ShopSettings(), ticked);
  const std::string oldField =
      Build("pelluxadd", {{"Description", "Mug"}, {"Price", "4.50"}, {"Weight", "1"}});
  std::string expected = kOldPage;
  expected.replace(
      expected.find(oldField), oldField.size(),
      Build("pelluxadd", {{"Description", "Mug"}, {"Price", "4.90"}, {"Weight", "1"}}));
  EXPECT_EQ(Read("a.html"), expected);
}

TEST_F(RepriceTest, APageThatCannotBeWrittenIsReportedAndTheOthersAreDone) {
  const std::string big = kOldPage + "<!--" + std::string(200000, 'x') + "-->";
  TempFolder::WriteBytes(site_ / "big.html", big);
  // Files may grow no larger than 100 kB, for root too, while the site is repriced.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limit{100000, old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limit);
  const SiteReprice result = RepriceSite({site_.string()}, prices_, ShopSettings());
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(result.failedPages, 1u);
  EXPECT_EQ(result.pages[2].file, (site_ / "big.html").string());
  EXPECT_EQ(result.pages[2].error, "cannot write the page: File too large");
  EXPECT_EQ(Read("big.html"), big);
  EXPECT_EQ(Read("a.html"), kNewPage);
  EXPECT_EQ(Read("b/c.htm"), Utf8ToWindows1252(kNewPage));
  EXPECT_EQ(std::distance(fs::directory_iterator(site_), fs::directory_iterator()), 4);
}

// Ordering instructions filled in by hand stay while the table's prices change; a price the
// merchant wrote more beside is left for them to check.
TEST_F(RepriceTest, HandEditsStayAndClashesAreLeftToTheMerchant) {
  const auto linkOf = [](const char *price, const char *weight) {
    return Build("quicklink", {{"Description", "Café crème"},
                               {"Price", price},
                               {"Weight", weight},
                               {"InsertProductInfo", true},
                               {"Brackets", true}});
  };
  const auto edited = [&](std::string page, const std::string &link) {
    for (std::size_t at; (at = page.find("<li>?\?\?</li>")) != std::string::npos;)
      page.replace(at, 12, "<li>Tick the mugs</li>");
    return page.replace(
        page.find(link), link.size(),
        linkOf("2.00", "1").replace(linkOf("2.00", "1").find("$2.00</font>"), 5, "$2.00 only"));
  };
  TempFolder::WriteBytes(site_ / "a.html", edited(kOldPage, linkOf("2.00", "1")));
  const SiteReprice result = RepriceSite({(site_ / "a.html").string()}, prices_, ShopSettings());
  EXPECT_EQ(Read("a.html"), edited(kNewPage, linkOf("2.20", "2")));
  const std::string file = (site_ / "a.html").string();
  std::string lines = ExpectedLines(file);
  const std::string linkLine = file + ":4: Café crème: 2.00 → 2.20, weight 1 → 2 (quick link)\n";
  lines.erase(lines.find(linkLine), linkLine.size());
  lines += file + ":4: Café crème: 2.00 not changed: check by hand\n";
  EXPECT_EQ(Lines(result), lines + "Teapot matched nothing\n");
}

TEST(PriceListTest, RefusesWhatItCannotUseWithTheLine) {
  const std::pair<const char *, const char *> cases[] = {
      {"Description,Weight\nMug,1\n",
       "line 1: the spreadsheet has no Price column; it needs Description and Price, and may "
       "have Weight"},
      {"Description;Price\nMug;4,50\nCup;4.50\n",
       "line 3: price \"4.50\" is not a number; in a file separated by semicolons or tabs, \",\" "
       "is the decimal mark and \".\" or a blank groups thousands"},
      {"Description,Price\nMug,4.50\n Mug ,4.90\n", "line 3: Mug is priced on line 2 already"},
      {"Description,Price\nMug,\n", "line 2: Mug has no price"},
      {"Description,Cost\n",
       "line 1: unknown column \"Cost\"; the columns are Mode, Description, "
       "Price, Weight, Taxable, SmartTaxCode, LongText, ProductImage, File, "
       "Descriptions, Option1Name, Option1Rows, Option2Name, Option2Rows, "
       "Option3Name, Option3Rows, Related, SKU, Availability, Brand, GTIN"},
  };
  for (const auto &[csv, message] : cases) {
    try {
      ReadPriceList(csv);
      ADD_FAILURE() << csv;
    } catch (const PriceListError &error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  }
  const PriceList list = ReadPriceList("Description;Price;Weight\n Mug ;1.234,5;\n;9;\n");
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.Find("Mug  ")->price, "1234.5");
}

}  // namespace
}  // namespace vendigo
