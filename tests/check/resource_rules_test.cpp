#include "check/resource_rules.h"

#include <gtest/gtest.h>

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

using Lines = std::vector<std::string>;

Lines Findings(const std::string &path, const std::string &bytes) {
  std::vector<CheckFinding> findings;
  AddResourceFindings(path, bytes, HtmlDocument::Read(bytes), Settings(), findings);
  Lines lines;
  for (const CheckFinding &finding : findings) lines.push_back(FormatFinding(finding));
  return lines;
}

const std::string kHead = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n";

// The findings each rule writes, after the page's path.
const std::string kUndeclared =
    ": warning: the page does not declare its encoding, so browsers guess it: add <meta charset=\"";
std::string Local(const std::string &place, const std::string &address) {
  return ":" + place + ": error: \"" + address +
         "\" is a file on this computer, which visitors' browsers cannot load [file-address]";
}
std::string Missing(const std::string &place, const std::string &what, const std::string &address) {
  const std::string kind = what.substr(what.rfind(' ') + 1);
  return ":" + place + ": " + what + " \"" + address + "\" does not exist [missing-" + kind + "]";
}
std::string Leftover(const std::string &place, const std::string &what, const std::string &text,
                     const std::string &never) {
  return ":" + place + ": error: the template " + what + " \"" + text + "\" was never " + never +
         " [template-leftover]";
}
TEST(AddResourceFindings, FindsEachRuleAtItsPlace) {
  struct Case {
    const char *name;
    std::string page;                 // the page's bytes
    std::vector<std::string> places;  // FormatFinding of each, after the page's path
  };
  const std::vector<Case> cases = {
      {"file addresses wherever a page names a file",
       kHead +
           "<img src=\"file:///C:/shop/mug.jpg\">\n<p style=\"background: url('file:///a.png')\">"
           "<style>b{background:url(file:///b.png)}</style>\n"
           "<img srcset=\"ok.png 1x, FILE:///c.png 2x\"><form action=\" file:x.cgi\">",
       {Local("3:10", "file:///C:/shop/mug.jpg"), Local("4:10", "file:///a.png"),
        Local("4:69", "file:///b.png"), Missing("5:13", "error: the picture", "ok.png"),
        Local("5:13", "FILE:///c.png"), Local("5:56", "file:x.cgi")}},
      {"missing pictures; found, remote, root and data ones are not looked up",
       kHead + "<img src=\"pics/mug%20blue.png?v=2#top\"><img src=\"pics/gone.png\">\n"
               "<table background=bg.gif></table><input type=image src=buy.png>\n"
               "<img src=\"http://x/y.png\"><img src=\"/y.png\"><img src=\"data:image/png,x\">"
               "<link rel=\"shortcut icon\" href=favicon.ico>",
       {Missing("3:49", "error: the picture", "pics/gone.png"),
        Missing("4:19", "error: the picture", "bg.gif"),
        Missing("4:56", "error: the picture", "buy.png"),
        Missing("5:104", "error: the picture", "favicon.ico")}},
      {"missing stylesheets and scripts",
       kHead +
           "<link rel=\"Stylesheet\" href=\"css/shop.css\"><link rel=alternate href=x.rss>\n"
           "<style>\n  @import url(\"print.css\");\n</style><script src=\"js/cart.js\"></script>",
       {Missing("3:29", "error: the stylesheet", "css/shop.css"),
        Missing("5:16", "error: the stylesheet", "print.css"),
        Missing("6:21", "error: the script", "js/cart.js")}},
      {"missing links warn; fragments, folders, mail, script and the cart are not looked up",
       kHead + "<a href=\"about.html#team\">a</a><a href=\"#top\">b</a><a href=\"pics/\">c</a>\n"
               "<a href=\"mailto:x@y.z\">d</a><a href=\"javascript:go()\">e</a>"
               "<a href=\"pellux.cgi?add=1\">f</a><area href=\"?page=2\">",
       {":3:9: warning: the link goes to \"about.html#team\", which does not exist "
        "[missing-link]"}},
      {"a page with a base address: no address is looked up",
       kHead + "<base href=\"http://shop.example/\"><img src=\"gone.png\">",
       {}},
      {"template placeholders and block tags in any case, wherever they are",
       kHead + "<p title=\"%ZF_Currency%\">%zf_price%</p><zf_if=\"image\">x</zf_if=\"image\">\n"
               "%zf_price <!-- <ZF_ELSE=\"image\"> --> 100%zf_",
       {Leftover("3:11", "placeholder", "%ZF_Currency%", "filled in"),
        Leftover("3:26", "placeholder", "%zf_price%", "filled in"),
        Leftover("3:40", "tag", "<zf_if=\"image\">", "resolved"),
        Leftover("3:56", "tag", "</zf_if=\"image\">", "resolved"),
        Leftover("4:16", "tag", "<ZF_ELSE=\"image\">", "resolved")}},
      {"no encoding declared, UTF-8 bytes",
       "<html><head></head><p>Cr\xC3\xA8me</p>",
       {":1:7" + kUndeclared + "utf-8\"> to its head [encoding-undeclared]"}},
      {"no encoding declared, Windows-1252 bytes",
       "<!DOCTYPE html><body><p>Cr\xE8me</p>",
       {":1:16" + kUndeclared + "windows-1252\"> to its head [encoding-undeclared]"}},
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
    Lines expected;
    for (const std::string &place : c.places) expected.push_back(path + place);
    EXPECT_EQ(Findings(path, c.page), expected) << c.name;
  }
}

// A catalogue from each shipped template, with a picture, options, related products and both
// modes, and its index, breaks none of these rules.
TEST(AddResourceFindings, CataloguesKeepTheRules) {
  const std::string csv =
      "Mode,Description,Price,ProductImage,Related,Option1Name,Option1Rows,Descriptions\n"
      "single,Cr\xC3\xA8me mug,4.5,mug.png,Spoon|1,Colour,Red|0||,\nmultiple,,,,,,,Cup|3|1|0||A\n";
  for (const char *name : {"single_product.zft", "product_range.zft"}) {
    TempFolder folder;
    TempFolder::WriteBytes(folder.path() / "mug.png", "\x89PNG\r\n\x1A\npicture");
    CatalogueCsvReader rows(csv);
    const fs::path site = folder.path() / "site", shipped = VENDIGO_TEMPLATES_DIR;
    const auto report =
        BuildCatalogue(ReadTemplateText(shipped / name), rows, Settings(), folder.path(), site, {});
    ASSERT_EQ(report.PagesWritten, 2u);
    std::size_t pages = 0;
    for (const auto &entry : fs::directory_iterator(site)) {
      if (entry.path().extension() != ".html") continue;
      ++pages;
      EXPECT_EQ(Findings(entry.path(), TempFolder::ReadBytes(entry.path())), Lines());
    }
    EXPECT_EQ(pages, 3u);
  }
}

}  // namespace
}  // namespace vendigo
