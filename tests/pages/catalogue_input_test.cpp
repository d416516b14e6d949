#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

using testing::TempFolder;
using namespace std::string_literals;
namespace fs = std::filesystem;

// Each row's reason for being skipped, or else its page's body (the index lists them in row order).
std::vector<std::string> Outcomes(const std::vector<std::string> &rows, const fs::path &in,
                                  const fs::path &out) {
  std::string csv = "Price,Option1Name,Description,LongText,File,ProductImage\n";
  std::map<std::size_t, std::size_t> rowOfLine;  // a row holding line breaks takes more lines
  for (const std::string &row : rows)
    rowOfLine[std::count(csv.begin(), csv.end(), '\n') + 1] = rowOfLine.size(), csv += row + "\n";
  const CatalogueReport report =
      BuildCatalogue("<h1>%zf_description%</h1>%zf_pelluxaddh%%zf_product_image%",
                     ReadCatalogueCsv(csv), Settings(), in, out, {});
  std::vector<std::string> outcomes(rows.size());
  for (const SkippedRow &row : report.Skipped) outcomes[rowOfLine.at(row.Line)] = row.Reason;
  const std::string index = TempFolder::ReadBytes(out / "index.html");
  std::size_t link = 0;
  for (std::string &outcome : outcomes) {
    if (!outcome.empty()) continue;
    link = index.find("<a href=\"", link) + 9;
    const std::string page =
        TempFolder::ReadBytes(out / index.substr(link, index.find('"', link) - link));
    const std::size_t body = page.find("</p>\r\n") + 6;
    outcome = page.substr(body, page.rfind("\r\n</body>") - body);
  }
  return outcomes;
}

std::string Body(const std::string &text, const std::string &picture = "") {
  return "<h1>" + text +
         R"(</h1><!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!)"
         R"(&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE=")" +
         text + R"(^1^^^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)" +
         (picture.empty() ? ""
                          : R"(<IMG SRC=")" + picture + R"(" ALT="[PRODUCT IMAGE]" BORDER="0">)");
}

TEST(BuildCatalogue, CopiesOnlyPlainFilesThatArePicturesOncePerFile) {
  TempFolder folder;
  const fs::path in = folder.path() / "in", elsewhere = folder.path() / "elsewhere";
  fs::create_directories(in / "folder.png"), fs::create_directories(elsewhere);
  const std::map<std::string, std::string> pictures = {{"mug.png", "\x89PNG\r\n\x1A\n mug"},
                                                       {"cup.gif", "GIF89a cup"},
                                                       {"photo.jpg", "\xFF\xD8\xFF photo"},
                                                       {"vase.webp", "RIFF\4\0\0\0WEBP vase"s}};
  for (const auto &[name, bytes] : pictures)
    TempFolder::WriteBytes(name == "cup.gif" ? elsewhere / name : in / name, bytes);
  fs::rename(in / "photo.jpg", in / "photo.JPEG");
  TempFolder::WriteBytes(in / "logo.svg", "<svg onload=\"alert(1)\"/>");
  TempFolder::WriteBytes(in / "notes.png", "just text");
  TempFolder::WriteBytes(elsewhere / "shadow", "root:$6$salt:19000::::::");
  fs::create_symlink(in / "mug.png", in / "link.png");
  fs::create_symlink(elsewhere / "shadow", in / "shadow.png");
  ASSERT_EQ(::mkfifo((in / "pipe.png").c_str(), 0600), 0);
  std::vector<std::pair<std::string, std::string>> cases = {
      {"mug.png", "images/mug.png"},
      {"link.png", "images/mug.png"},
      {"../in/mug.png", "images/mug.png"},
      {(elsewhere / "cup.gif").string(), "images/cup.gif"},
      {"../elsewhere/cup.gif", "images/cup.gif"},
      {"photo.JPEG", "images/photo.jpg"},
      {"vase.webp", "images/vase.webp"},
      {"pipe.png", "picture \"pipe.png\" is not a plain file (it is a pipe, device or socket)"},
      {"folder.png", "picture \"folder.png\" is a folder, not a picture file"}};
  for (const std::string &cell :
       {"logo.svg"s, "notes.png"s, "shadow.png"s, (elsewhere / "shadow").string()})
    cases.emplace_back(cell, "picture \"" + cell + "\" is not a PNG, JPEG, GIF or WebP picture");
  std::vector<std::string> rows, expected;
  for (const auto &[cell, picture] : cases) {
    const std::string name = "p" + std::to_string(rows.size());
    rows.push_back("1,," + name + ",,," + cell);
    expected.push_back(picture.starts_with("images/") ? Body(name, picture) : picture);
  }
  EXPECT_EQ(Outcomes(rows, in, folder.path() / "out"), expected);
  std::map<std::string, std::string> copied;
  for (const auto &entry : fs::directory_iterator(folder.path() / "out/images"))
    copied[entry.path().filename().string()] = TempFolder::ReadBytes(entry.path());
  EXPECT_EQ(copied, pictures);
}

TEST(BuildCatalogue, WritesCellsAsTextAndRefusesThoseThatWouldBreakAPageOrItsName) {
  TempFolder folder;
  fs::path deep = folder.path();  // so deep that a long page name makes too long a path
  while (deep.string().size() < 3900) deep /= std::string(100, 'd');
  // A folder that exists: its pages are written by their whole path (a new folder's are linked
  // in by name, which no path length limits).
  fs::create_directories(deep);
  const std::string tooLong = ".html\" is too long a name for the file system",
                    oneLine = " holds a line break; it must be one line",
                    nul = " holds a NUL character (a zero byte)";
  const std::string a250(250, 'a'), a300(300, 'a'), b200(200, 'b');
  EXPECT_EQ(
      Outcomes(
          {R"(1,,"Tom & ""Jerry"" <b>",,)", "1,,Mu\0g,,"s, "1,,Mug,\"a\0b\","s, "1,,\"Mu\ng\",,",
           "1,\"Si\nze\",Mug,,", "1,,Mug,,\"a\r\nb\"", "1,,Mug,," + a300, "1,,Mug,," + a250},
          folder.path(), folder.path() / "out"),
      (std::vector<std::string>{
          Body("Tom &amp; &quot;Jerry&quot; &lt;b&gt;"), "Description" + nul, "LongText" + nul,
          "Description" + oneLine, "Option1Name" + oneLine, "File" + oneLine,
          "File \"" + a300 + tooLong + ": 305 bytes, at most 255", Body("Mug")}));
  EXPECT_EQ(Outcomes({"1,,Mug,," + b200}, folder.path(), deep),
            std::vector<std::string>{"File \"" + b200 + tooLong});
}

}  // namespace
}  // namespace vendigo
