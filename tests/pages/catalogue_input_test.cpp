#include <sys/stat.h>

#include <gtest/gtest.h>

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

// Builds one row per cell of the column and gives, per row, its page's picture address or why
// it was skipped.
std::vector<std::string> Outcomes(const std::string &column, const std::vector<std::string> &cells,
                                  const fs::path &input, const fs::path &output) {
  std::string csv = "Description,Price," + column + "\n";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    csv += "P" + std::to_string(i) + ",1,\"" + cells[i] + "\"\n";
  }
  const CatalogueReport report =
      BuildCatalogue("%zf_pelluxaddh%<zf_if=\"image\">%zf_product_image%</zf_if=\"image\">",
                     ReadCatalogueCsv(csv), Settings(), input, output, {});
  std::map<std::size_t, std::string> skipped;
  for (const SkippedRow &row : report.Skipped) skipped[row.Line] = row.Reason;
  std::vector<std::string> outcomes;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (skipped.count(i + 2)) {
      outcomes.push_back(skipped[i + 2]);
      continue;
    }
    const std::string page = TempFolder::ReadBytes(output / ("p" + std::to_string(i) + ".html"));
    const std::size_t source = page.find("SRC=\"");
    outcomes.push_back(source == std::string::npos
                           ? "no picture"
                           : page.substr(source + 5, page.find('"', source + 5) - source - 5));
  }
  return outcomes;
}

TEST(BuildCatalogue, CopiesOnlyPlainFilesThatArePicturesOncePerFile) {
  TempFolder folder;
  const fs::path in = folder.path() / "in";
  const fs::path elsewhere = folder.path() / "elsewhere";
  fs::create_directories(in / "folder.png");
  fs::create_directories(elsewhere);
  const std::map<std::string, std::string> pictures = {{"mug.png", "\x89PNG\r\n\x1A\n mug"},
                                                       {"cup.gif", "GIF89a cup"},
                                                       {"photo.jpg", "\xFF\xD8\xFF photo"},
                                                       {"vase.webp", "RIFF\4\0\0\0WEBP vase"s}};
  TempFolder::WriteBytes(in / "mug.png", pictures.at("mug.png"));
  TempFolder::WriteBytes(elsewhere / "cup.gif", pictures.at("cup.gif"));
  TempFolder::WriteBytes(in / "photo.JPEG", pictures.at("photo.jpg"));
  TempFolder::WriteBytes(in / "vase.webp", pictures.at("vase.webp"));
  TempFolder::WriteBytes(in / "logo.svg", "<svg onload=\"alert(1)\"/>");
  TempFolder::WriteBytes(in / "notes.png", "just text");
  TempFolder::WriteBytes(elsewhere / "shadow", "root:$6$salt:19000:0:99999:7:::");
  fs::create_symlink(in / "mug.png", in / "link.png");
  fs::create_symlink(elsewhere / "shadow", in / "shadow.png");
  ASSERT_EQ(::mkfifo((in / "pipe.png").c_str(), 0600), 0);

  const std::string notAPicture = "\" is not a PNG, JPEG, GIF or WebP picture";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"mug.png", "images/mug.png"},
      {"link.png", "images/mug.png"},
      {"../in/mug.png", "images/mug.png"},
      {(elsewhere / "cup.gif").string(), "images/cup.gif"},
      {"../elsewhere/cup.gif", "images/cup.gif"},
      {"photo.JPEG", "images/photo.jpg"},
      {"vase.webp", "images/vase.webp"},
      {"logo.svg", "picture \"logo.svg" + notAPicture},
      {"notes.png", "picture \"notes.png" + notAPicture},
      {"shadow.png", "picture \"shadow.png" + notAPicture},
      {(elsewhere / "shadow").string(),
       "picture \"" + (elsewhere / "shadow").string() + notAPicture},
      {"pipe.png", "picture \"pipe.png\" is not a plain file (it is a pipe, device or socket)"},
      {"folder.png", "picture \"folder.png\" is a folder, not a picture file"},
  };
  std::vector<std::string> cells;
  std::vector<std::string> expected;
  for (const auto &[cell, outcome] : cases) cells.push_back(cell), expected.push_back(outcome);
  EXPECT_EQ(Outcomes("ProductImage", cells, in, folder.path() / "out"), expected);

  std::map<std::string, std::string> copied;
  for (const auto &entry : fs::directory_iterator(folder.path() / "out/images")) {
    copied[entry.path().filename().string()] = TempFolder::ReadBytes(entry.path());
  }
  EXPECT_EQ(copied, pictures);
}

TEST(BuildCatalogue, WritesCellsAsTextAndRefusesThoseThatWouldBreakAPageOrItsName) {
  TempFolder folder;
  fs::path deep = folder.path();  // so deep that a long page name makes too long a path
  while (deep.string().size() < 3900) deep /= std::string(100, 'd');
  const std::string item = R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!)"
                           R"(&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd")"
                           R"( VALUE=")";
  const std::string itemEnd = R"(^1^^^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)";
  const std::string tooLong = "\" is too long a name for the file system";
  const std::string oneLine = " holds a line break; it must be one line";
  const std::string nul = " holds a NUL character (a zero byte)";
  const std::string a250(250, 'a'), a300(300, 'a'), b200(200, 'b');
  struct Case {
    std::string row;  // Price,Option1Name,Description,LongText,File
    std::string outcome;
    bool deep = false;
  };
  const std::vector<Case> cases = {
      {R"(1,,"Tom & ""Jerry"" <b>",,)", "<h1>Tom &amp; &quot;Jerry&quot; &lt;b&gt;</h1>" + item +
                                            "Tom &amp; &quot;Jerry&quot; &lt;b&gt;" + itemEnd},
      {"1,,Mu\0g,,"s, "Description" + nul},
      {"1,,Mug,\"a\0b\","s, "LongText" + nul},
      {"1,,\"Mu\ng\",,", "Description" + oneLine},
      {"1,\"Si\nze\",Mug,,", "Option1Name" + oneLine},
      {"1,,Mug,,\"a\r\nb\"", "File" + oneLine},
      {"1,,Mug,," + a300, "File \"" + a300 + ".html" + tooLong + ": 305 bytes, at most 255"},
      {"1,,Mug,," + a250, "<h1>Mug</h1>" + item + "Mug" + itemEnd},
      {"1,,Mug,," + b200, "File \"" + b200 + ".html" + tooLong, true},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const fs::path output = cases[i].deep ? deep : folder.path() / std::to_string(i);
    const CatalogueReport report = BuildCatalogue(
        "<h1>%zf_description%</h1>%zf_pelluxaddh%",
        ReadCatalogueCsv("Price,Option1Name,Description,LongText,File\n" + cases[i].row + "\n"),
        Settings(), folder.path(), output, {});
    std::string outcome = report.Skipped.empty() ? "" : report.Skipped[0].Reason;
    for (const auto &entry : fs::directory_iterator(output)) {
      const std::string page = TempFolder::ReadBytes(entry.path());
      const std::size_t body = page.find("</p>\r\n") + 6;
      if (entry.path().filename() != "index.html")
        outcome = page.substr(body, page.rfind("\r\n</body>") - body);
    }
    EXPECT_EQ(outcome, cases[i].outcome) << i;
  }
}

}  // namespace
}  // namespace vendigo
