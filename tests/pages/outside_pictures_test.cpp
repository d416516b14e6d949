#include "pages/outside_pictures.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace vendigo {
namespace {

using testing::TempFolder;

struct PictureCase {
  const char *name;
  // {OUT} stands for the outside folder ({OUTNAME} its name), {SITE} for the site's.
  std::string page;
  std::string expected;              // the page after the rewrite
  std::vector<std::string> copies;   // names made in images/
  std::vector<std::string> missing;  // addresses reported missing
};

std::string Filled(std::string text, const TempFolder &out, const std::string &site) {
  using Mark = std::pair<std::string, std::string>;
  for (const auto &[mark, value] : {Mark("{OUTNAME}", out.path().filename()),
                                    Mark("{OUT}", out.path()), Mark("{SITE}", site)}) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
      text.replace(at, mark.size(), value);
    }
  }
  return text;
}

class OutsidePicturesTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(OutsidePicturesTest, CopiesThePicturesAndRewritesOnlyTheirAddresses) {
  const PictureCase &test = GetParam();
  TempFolder out;
  TempFolder siteFolder;
  const std::string site = siteFolder.path().string();
  for (const auto &[file, bytes] :
       std::map<std::filesystem::path, std::string>{{out.path() / "mug.png", "mug picture"},
                                                    {out.path() / "my cup.png", "cup picture"},
                                                    {out.path() / "b" / "mug.png", "other mug"},
                                                    {out.path() / "same.png", "mug picture"},
                                                    {out.path() / "cup.png", "outside cup"},
                                                    {site + "/images/cup.png", "site cup"},
                                                    {site + "/images/same.png", "mug picture"}}) {
    std::filesystem::create_directories(file.parent_path());
    TempFolder::WriteBytes(file, bytes);
  }
  const std::string bytes = Filled(test.page, out, site);

  const OutsidePicturePlan plan = PlanOutsidePictures(site + "/shop.html", site, bytes);
  EXPECT_EQ(ApplyPageEdits(bytes, plan.edits), Filled(test.expected, out, site));
  std::vector<std::string> copied;
  for (const PictureCopy &copy : plan.copies) {
    copied.push_back(std::filesystem::path(copy.to).filename().string());
  }
  EXPECT_EQ(copied, test.copies);
  std::vector<std::string> missing;
  for (const std::string &address : test.missing) missing.push_back(Filled(address, out, site));
  EXPECT_EQ(plan.missing, missing);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, OutsidePicturesTest,
    ::testing::Values(
        PictureCase{
            "FileLocalhostPercentEncodedAndRelativeOutside",
            "<p>Mug\r\n<IMG alt=x SRC=\"file://{OUT}/mug.png\" width=3></p>\n"
            "<img src='file://localhost{OUT}/my%20cup.png'><img src=../{OUTNAME}/mug.png#x>",
            "<p>Mug\r\n<IMG alt=x SRC=\"images/mug.png\" width=3></p>\n"
            "<img src='images/my%20cup.png'><img src=images/mug.png>",
            {"mug.png", "my cup.png"},
            {}},
        PictureCase{"RelativeInsideAndSiteRootLeftAlone",
                    "<img src=\"images/cup.png\"><img src=\"/images/cup.png\">"
                    "<a href=\"file://{OUT}/mug.png\">big</a>",
                    "<img src=\"images/cup.png\"><img src=\"/images/cup.png\">"
                    "<a href=\"file://{OUT}/mug.png\">big</a>",
                    {},
                    {}},
        PictureCase{"SrcsetAndTwoReferencesToOnePicture",
                    "<img src=\"{OUT}/mug.png\" srcset=\"file://{OUT}/mug.png 1x, "
                    "images/cup.png 2x,{OUT}/my%20cup.png 3x\">",
                    "<img src=\"images/mug.png\" srcset=\"images/mug.png 1x, "
                    "images/cup.png 2x,images/my%20cup.png 3x\">",
                    {"mug.png", "my cup.png"},
                    {}},
        PictureCase{"NameCollisions",
                    "<img src={OUT}/mug.png alt=m><img src=\"{OUT}/b/mug.png\">"
                    "<img src=\"{OUT}/cup.png\"><img src=\"{OUT}/same.png\">",
                    "<img src=images/mug.png alt=m><img src=\"images/mug-2.png\">"
                    "<img src=\"images/cup-2.png\"><img src=\"images/same.png\">",
                    {"mug.png", "mug-2.png", "cup-2.png"},
                    {}},
        PictureCase{
            "CssBackgroundAndLink",
            "<style>body { background: url( \"file://{OUT}/mug.png\" ) }</style>"
            "<link rel=icon href=\"{OUT}/cup.png\">"
            "<table><td background=\"{OUT}/b/mug.png\" style=\"background:url({OUT}/mug.png)\">",
            "<style>body { background: url( \"images/mug.png\" ) }</style>"
            "<link rel=icon href=\"images/cup-2.png\">"
            "<table><td background=\"images/mug-2.png\" style=\"background:url(images/mug.png)\">",
            {"mug.png", "cup-2.png", "mug-2.png"},
            {}},
        PictureCase{"MissingLeftAloneAndInsideMadeRelative",
                    "<img src=\"file://{OUT}/gone.png\"><img src=\"file://server/share/a.png\">"
                    "<img src=\"{OUT}/mug.png\"><img src=\"file://{SITE}/images/cup.png\">",
                    "<img src=\"file://{OUT}/gone.png\"><img src=\"file://server/share/a.png\">"
                    "<img src=\"images/mug.png\"><img src=\"images/cup.png\">",
                    {"mug.png"},
                    {"file://{OUT}/gone.png", "file://server/share/a.png"}}),
    [](const ::testing::TestParamInfo<PictureCase> &info) { return info.param.name; });

}  // namespace
}  // namespace vendigo
