#include "check/resource_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::vector<std::string> Findings(const std::string &path, const std::string &bytes) {
  std::vector<CheckFinding> findings;
  AddResourceFindings(path, bytes, HtmlDocument::Read(bytes), Settings(), findings);
  // In the order of the page, as CheckPage gives them.
  std::stable_sort(
      findings.begin(), findings.end(),
      [](const CheckFinding &a, const CheckFinding &b) { return a.offset < b.offset; });
  std::vector<std::string> lines;
  for (const CheckFinding &finding : findings) lines.push_back(FormatFinding(finding));
  return lines;
}

const std::string kHead = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n";

TEST(AddResourceFindings, FindsEachRuleAtItsPlace) {
  struct Case {
    const char *name;
    std::string page;                 // the page's bytes
    std::vector<std::string> places;  // FormatFinding of each, after the page's path
    bool saved = true;                // false: checked without a path
  };
  const std::vector<Case> cases = {
      {"file addresses wherever a page names a file",
       kHead +
           "<img src=\"file:///C:/shop/mug.jpg\">\n"
           "<p style=\"background: url('file:///a.png')\"><style>b{background:url(file:///b.png)}"
           "</style>\n<img srcset=\"ok.png 1x, FILE:///c.png 2x\"><form action=\" file:x.cgi\">",
       {":3:10: error: \"file:///C:/shop/mug.jpg\" is a file on this computer, which visitors' "
        "browsers cannot load [file-address]",
        ":4:10: error: \"file:///a.png\" is a file on this computer, which visitors' browsers "
        "cannot load [file-address]",
        ":4:69: error: \"file:///b.png\" is a file on this computer, which visitors' browsers "
        "cannot load [file-address]",
        ":5:13: error: the picture \"ok.png\" does not exist [missing-picture]",
        ":5:13: error: \"FILE:///c.png\" is a file on this computer, which visitors' browsers "
        "cannot load [file-address]",
        ":5:56: error: \"file:x.cgi\" is a file on this computer, which visitors' browsers cannot "
        "load [file-address]"}},
      {"missing pictures; found, remote, root and data ones are not looked up",
       kHead + "<img src=\"pics/mug%20blue.png?v=2#top\"><img src=\"pics/gone.png\">\n"
               "<table background=bg.gif></table><input type=image src=buy.png><img src=\"pics\">\n"
               "<img src=\"http://x/y.png\"><img src=\"/y.png\"><img src=\"data:image/png,x\">"
               "<link rel=\"shortcut icon\" href=favicon.ico>",
       {":3:49: error: the picture \"pics/gone.png\" does not exist [missing-picture]",
        ":4:19: error: the picture \"bg.gif\" does not exist [missing-picture]",
        ":4:56: error: the picture \"buy.png\" does not exist [missing-picture]",
        ":4:73: error: the picture \"pics\" does not exist [missing-picture]",
        ":5:104: error: the picture \"favicon.ico\" does not exist [missing-picture]"}},
      {"missing stylesheets and scripts",
       kHead +
           "<link rel=\"Stylesheet\" href=\"css/shop.css\"><link rel=alternate href=x.rss>\n"
           "<style>\n  @import url(\"print.css\");\n</style><script src=\"js/cart.js\"></script>",
       {":3:29: error: the stylesheet \"css/shop.css\" does not exist [missing-stylesheet]",
        ":5:16: error: the stylesheet \"print.css\" does not exist [missing-stylesheet]",
        ":6:21: error: the script \"js/cart.js\" does not exist [missing-script]"}},
      {"missing links warn; fragments, folders, mail, script and the cart are not looked up",
       kHead + "<a href=\"about.html#team\">a</a><a href=\"#top\">b</a><a href=\"pics/\">c</a>\n"
               "<a href=\"mailto:x@y.z\">d</a><a href=\"javascript:go()\">e</a>"
               "<a href=\"pellux.cgi?add=1\">f</a><area href=\"?page=2\">",
       {":3:9: warning: the link goes to \"about.html#team\", which does not exist "
        "[missing-link]"}},
      {"a page never saved: no address is looked up", kHead + "<img src=\"gone.png\">", {}, false},
      {"a page with a base address: no address is looked up",
       kHead + "<base href=\"http://shop.example/\"><img src=\"gone.png\">",
       {}},
      {"template placeholders and block tags in any case, wherever they are",
       kHead + "<p title=\"%ZF_Currency%\">%zf_price%</p><zf_if=\"image\">x</zf_if=\"image\">\n"
               "%zf_price <!-- <ZF_ELSE=\"image\"> --> 100%zf_",
       {":3:11: error: the template placeholder \"%ZF_Currency%\" was never filled in "
        "[template-leftover]",
        ":3:26: error: the template placeholder \"%zf_price%\" was never filled in "
        "[template-leftover]",
        ":3:40: error: the template tag \"<zf_if=\"image\">\" was never resolved "
        "[template-leftover]",
        ":3:56: error: the template tag \"</zf_if=\"image\">\" was never resolved "
        "[template-leftover]",
        ":4:16: error: the template tag \"<ZF_ELSE=\"image\">\" was never resolved "
        "[template-leftover]"}},
      {"no encoding declared, UTF-8 bytes",
       "<html><p>Cr\xC3\xA8me</p>",
       {": warning: the page does not declare its encoding, so browsers guess it: add <meta "
        "charset=\"utf-8\"> to its head [encoding-undeclared]"}},
      {"no encoding declared, Windows-1252 bytes",
       "<body><p>Cr\xE8me</p>",
       {": warning: the page does not declare its encoding, so browsers guess it: add <meta "
        "charset=\"windows-1252\"> to its head [encoding-undeclared]"}},
      {"a byte order mark declares UTF-8", "\xEF\xBB\xBF<html><p>Cr\xC3\xA8me</p>", {}},
      {"a fragment takes the encoding of its page", "<p>Cr\xC3\xA8me</p>", {}},
      {"UTF-8 declared over Windows-1252 bytes",
       kHead + "<p>\n Cr\xE8me</p>",
       {":2:27: error: the page declares \"utf-8\" but is not written in UTF-8 (line 4, column 4 "
        "is not) [encoding-mismatch]"}},
      {"Latin-1 declared through http-equiv over UTF-8 beyond ASCII",
       "<meta http-equiv=Content-Type content=\"text/html; charset='ISO-8859-1'\">Cr\xC3\xA8me",
       {":1:39: error: the page declares \"iso-8859-1\" but is written in UTF-8, so browsers show "
        "its accented letters wrong [encoding-mismatch]"}},
      {"declarations the bytes keep",
       "<meta charset=windows-1252>Cr\xE8me<meta charset=utf-8>Cr\xE8me",
       {}},
  };
  TempFolder folder;
  fs::create_directories(folder.path() / "pics");
  TempFolder::WriteBytes(folder.path() / "pics" / "mug blue.png", "png");
  const std::string path = (folder.path() / "page.html").string();
  for (const Case &c : cases) {
    const std::string checked = c.saved ? path : "";
    std::vector<std::string> expected;
    for (const std::string &place : c.places) expected.push_back(checked + place);
    EXPECT_EQ(Findings(checked, c.page), expected) << c.name;
  }
}

// Every page a catalogue run writes from each shipped template, with its pictures, related
// products and options, and its index, keeps all of these rules.
TEST(AddResourceFindings, PagesTheProgramsMakeKeepTheRules) {
  for (const char *name : {"single_product.zft", "product_range.zft"}) {
    TempFolder folder;
    TempFolder::WriteBytes(folder.path() / "mug.png", "\x89PNG\r\n\x1A\npicture");
    const std::string csv =
        "Mode,Description,Price,ProductImage,Related,Option1Name,Option1Rows,Descriptions,"
        "LongText\n"
        "single,Cr\xC3\xA8me mug,4.5,mug.png,Spoon|1,Colour,Red|0||,,\"one\ntwo\"\n"
        "multiple,,,,,,,Cup|3|1|0||A cup,\n"
        "single,Plate,2,,,,,,\n";
    Settings settings;
    settings.Company = "Blue & Mug";
    settings.Currency = "\xE2\x82\xAC";
    settings.CGI_BIN = "/cgi-bin/pellux.cgi";
    settings.OrderButton = "Order";
    const CatalogueReport report =
        BuildCatalogue(ReadTemplateText(fs::path(VENDIGO_TEMPLATES_DIR) / name),
                       ReadCatalogueCsv(csv), settings, folder.path(), folder.path() / "site", {});
    ASSERT_EQ(report.PagesWritten, 3u) << name;
    ASSERT_TRUE(report.Skipped.empty()) << name << ": " << report.Skipped.front().Reason;
    std::size_t pages = 0;
    for (const auto &entry : fs::recursive_directory_iterator(folder.path() / "site")) {
      if (entry.path().extension() != ".html") continue;
      ++pages;
      const std::string bytes = TempFolder::ReadBytes(entry.path());
      EXPECT_EQ(Findings(entry.path().string(), bytes), std::vector<std::string>())
          << name << " " << entry.path();
    }
    EXPECT_EQ(pages, 4u) << name;
  }
}

}  // namespace
}  // namespace vendigo
