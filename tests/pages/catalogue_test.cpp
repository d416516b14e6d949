#include "pages/catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "pages/catalogue_csv.h"
#include "pages/catalogue_document.h"
#include "pages/catalogue_names.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

// A row in one line: its line, then each part that is set, or its error.
std::string Describe(const CatalogueRow &row) {
  const ProductPageInput &p = row.Page;
  std::string text = std::to_string(row.Line) + ":";
  const auto add = [&text](const std::string &label, const std::string &value) {
    if (!value.empty()) text += " " + label + "[" + value + "]";
  };
  if (!row.Error.empty()) return text + " error[" + row.Error + "]";
  add("mode", p.Mode == DescriptionMode::Multiple ? "multiple" : "");
  add("d", p.Description), add("p", p.Price), add("w", p.Weight),
      add("tax", TaxableText(p.Taxable));
  add("code", p.SmartTaxCode), add("long", p.LongText), add("img", row.ImagePath);
  add("file", row.FileName);
  for (const DescriptionRow &r : p.Descriptions) {
    add("item", r.CartDescription + "/" + r.Price + "/" + r.Weight + "/" + r.Taxable + "/" +
                    r.SmartTax + "/" + r.ReadableText);
  }
  for (const OptionGroup &g : p.Options) {
    for (const OptionRow &r : g.Rows) {
      add(g.Name, r.Description + "/" + r.Price + "/" + r.Weight + "/" + r.ReadableText);
    }
  }
  for (const RelatedRow &r : p.Related) {
    add("rel",
        r.CartDescription + "/" + r.Price + "/" + r.Weight + "/" + r.Taxable + "/" + r.SmartTax);
  }
  return text;
}

TEST(ReadCatalogueCsv, ReadsRowsAsASpreadsheetSavesThem) {
  struct Case {
    const char *name;
    std::string bytes;
    std::vector<std::string> rows;
  };
  const std::vector<Case> cases = {
      {"commas, quotes and line breaks; header names in any case; empty rows skipped",
       "description , PRICE,Long Text\r\n\"Mug, \"\"blue\"\"\",4.5,\"one\r\ntwo\"\r\n,,\r\n\r\n"
       "Cup, 3 ,x\r\n",
       {"2: d[Mug, \"blue\"] p[4.5] long[one\r\ntwo]", "6: d[Cup] p[3] long[x]"}},
      {"tabs, Windows-1252, a last row without a line break",
       "Description\tTaxable\tProductImage\tFile\nCr\xE8me\tTRUE\t pics/a.png \tx\n\xC9t\xE9\t0",
       {"2: d[Crème] tax[1] img[pics/a.png] file[x]", "3: d[Été] tax[0]"}},
      {"each line in UTF-8 or, when it is none, in Windows-1252",
       "\xEF\xBB\xBF"
       "Description\n\xC3\xA9\n\x93\xE9\x94\n",
       {"2: d[é]", "3: d[“é”]"}},
      {"list cells: an entry per line, parts split at | and trimmed",
       "Mode;Descriptions;Option2Name;Option2Rows;Related\n"
       "Multiple;\"Mug | 4,5 | 1 | 1 | TX | Mug\n\n Cup|3\";Size;\"S|0|0|S\nL | 2\";Spoon|1,5\n",
       {"2: mode[multiple] item[Mug/4.5/1/1/TX/Mug] item[Cup/3////] Size[S/0/0/S] Size[L/2//] "
        "rel[Spoon/1.5///]"}},
      {"rows that break a rule keep their line",
       "Mode,Taxable,Option1Rows,Description\nsome,,,\n,yes,,\n,,a|b|c|d|e,\n,,,x,y\n,,,\"open\n",
       {"2: error[unknown Mode \"some\"; the modes are single and multiple]",
        "3: error[Taxable \"yes\" must be 1, 0, true, false or empty]",
        "4: error[Option1Rows entry 1 has 5 parts; an entry has at most 4 (Cart Description, "
        "Price, Weight, Readable Text)]",
        "5: error[the row has 5 cells; the header names 4 columns]",
        "6: error[a quoted cell that begins in this row is never closed]"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> rows;
    for (const CatalogueRow &row : ReadCatalogueCsv(c.bytes)) rows.push_back(Describe(row));
    EXPECT_EQ(rows, c.rows);
  }
}

TEST(ReadCatalogueCsv, ReadsNumbersByTheDecimalMarkOfTheSeparator) {
  const std::string semicolon =
      R"(; in a file separated by semicolons or tabs, "," is the decimal )"
      R"(mark and "." or a blank groups thousands])";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Price;Weight\n3,90;1.000\n", "2: p[3.90] w[1000]"},
      {"Mode;Price\n;1 234\302\240567\342\200\257890,5 \n", "2: p[1234567890.5]"},
      {"Price\tWeight\n,5\t0,25\n", "2: p[.5] w[0.25]"},
      {"Price,Weight\n\"1,234.50\",3\n", "2: p[1234.50] w[3]"},
      {"Price;Weight\n3.90;\n", "2: error[price \"3.90\" is not a number" + semicolon},
      {"Price;Weight\n4;2kg\n", "2: error[weight \"2kg\" is not a number]"},
      {"Price\n\"3,90\"\n", R"(2: error[price "3,90" is not a number; in a comma-separated file, )"
                            R"("." is the decimal mark and "," groups thousands])"},
      {"Related;Mode\nSpoon | 1.234 5;\n",
       "2: error[Related entry 1: price \"1.234 5\" is not a number" + semicolon},
  };
  for (const auto &[bytes, expected] : cases) {
    EXPECT_EQ(Describe(ReadCatalogueCsv(bytes).at(0)), expected) << bytes;
  }
}

TEST(CatalogueNames, FileNamesFromDescriptions) {
  const std::vector<std::pair<std::string, std::string>> words = {
      {"Blue Mug, 0.5 l", "blue-mug-0-5-l"},
      {"  Crème brûlée & Œuf  ", "creme-brulee-oeuf"},
      {"日本", "product"},
      {std::string(30, 'a') + " " + std::string(40, 'b'), std::string(30, 'a')},
  };
  for (const auto &[text, expected] : words) EXPECT_EQ(FileNameWords(text), expected) << text;

  FileNames names;
  EXPECT_TRUE(names.Reserve("Blue-Mug.html"));
  EXPECT_EQ(names.Unique("blue-mug", ".html"), "blue-mug-2.html");
  EXPECT_EQ(names.Unique("blue-mug", ".html"), "blue-mug-3.html");
  std::string error;
  EXPECT_EQ(PageFileName("mugs", error) + PageFileName("a.HTM", error), "mugs.htmla.HTM");
  EXPECT_EQ(PageFileName("../x", error) + error,
            "File \"../x\" must be a file name without a folder, not beginning with \".\"");
}

class BuildCatalogueTest : public ::testing::Test {
 protected:
  // Pages with an item field and a picture, but no place for related products.
  const std::string template_ =
      "<zf_if=\"image\">%zf_product_image%</zf_if=\"image\">%zf_pelluxaddh%";
  TempFolder folder_;

  CatalogueReport Build(const std::string &csv, const std::string &output, CatalogueOptions options,
                        const CatalogueProgress &progress = {},
                        std::atomic<bool> *cancel = nullptr) {
    TempFolder::WriteBytes(folder_.path() / "mug.png", "\x89PNG\r\n\x1A\npicture");
    TempFolder::WriteBytes(folder_.path() / "mug.txt", "no picture");
    Settings settings;
    settings.Currency = "$";
    return BuildCatalogue(template_, ReadCatalogueCsv(csv), settings, folder_.path(),
                          folder_.path() / output, options, progress, cancel);
  }

  std::map<std::string, std::string> Files(const std::string &output) {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder_.path() / output)) {
      if (entry.is_regular_file())
        files[entry.path().string().substr(folder_.path().string().size())] =
            TempFolder::ReadBytes(entry.path());
    }
    return files;
  }
};

const std::string kRows =
    "Description,Price,ProductImage,Related,File\n"
    "Mug,4.5,mug.png,,\nMug,5,mug.png,,\nCup,3,,,mug\nPot,x,,,\nBowl,1,,Spoon|1,\n"
    "Jug,2,none.png,,\nVase,2,mug.txt,,\n,2,,,\nPlate,2,,,mug.html\n";

TEST_F(BuildCatalogueTest, SkipsRowsWithTheirReasonsAndWritesTheRest) {
  const CatalogueReport report = Build(kRows, "site", {});
  const fs::path missing = folder_.path() / "none.png";
  EXPECT_EQ(report.PagesWritten, 3u);
  EXPECT_EQ(report.Skipped,
            (std::vector<SkippedRow>{
                {5, "price \"x\" is not a number"},
                {6, "the template has no %zf_upsells% for the related products"},
                {7, "cannot read the picture " + missing.string() + ": No such file or directory"},
                {8, "picture \"mug.txt\" is not a PNG, JPEG, GIF or WebP picture"},
                {9, "the row has no Description"},
                {10, "File \"mug.html\" is named by an earlier row"}}));
  const auto files = Files("site");
  EXPECT_TRUE(files.at("/site/mug-2.html")
                  .ends_with(R"(<p><a href="index.html">All products</a></p>)"
                             "\r\n"
                             R"(<IMG SRC="images/mug.png" ALT="[PRODUCT IMAGE]" BORDER="0">)"
                             R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!)"
                             R"(&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd")"
                             R"( VALUE="Mug^4.5^^^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"
                             "\r\n</body>\r\n</html>\r\n"));
  EXPECT_EQ(files.at("/site/images/mug.png"), "\x89PNG\r\n\x1A\npicture");
  EXPECT_TRUE(files.count("/site/mug.html") && files.count("/site/mug-3.html") &&
              files.count("/site/index.html"));

  // Again with the first price changed: only that page differs from what the folder holds.
  const std::string changed =
      "Description,Price,ProductImage,Related,File\nMug,4.75" + kRows.substr(51);
  const CatalogueReport again = Build(changed, "site", {});
  EXPECT_EQ(again.PagesWritten, 2u);
  EXPECT_TRUE(again.ExistingKept);
  EXPECT_EQ(again.Skipped[0], (SkippedRow{2, (folder_.path() / "site/mug-2.html").string() +
                                                 " exists already and is not replaced"}));
  EXPECT_EQ(Build(changed, "site", {.Replace = true}).PagesWritten, 3u);
}

// The cart refuses an order whose weight is not a whole number, so such a row gets no page.
TEST_F(BuildCatalogueTest, SkipsRowsWhoseWeightTheCartWouldRefuse) {
  const CatalogueReport report = Build(
      "Description,Price,Weight,Option1Rows\nMug,4.5,0.3,\nCup,3,1234567,\nPot,2,123456,\n"
      "Bowl,1,2,Red|1|1.5|red\n",
      "site", {});
  EXPECT_EQ(report.PagesWritten, 1u);
  EXPECT_EQ(
      report.Skipped,
      (std::vector<SkippedRow>{
          {2, "weight \"0.3\" is not a whole number of at most 6 digits"},
          {3, "weight \"1234567\" is not a whole number of at most 6 digits"},
          {5, "Option1Rows entry 1: weight \"1.5\" is not a whole number of at most 6 digits"}}));
}

TEST_F(BuildCatalogueTest, ManyThreadsWriteWhatOneWrites) {
  std::string csv = "Description,Price,ProductImage\n";
  for (int i = 0; i < 300; ++i)
    csv +=
        "Mug " + std::to_string(i % 7) + "," + std::to_string(i) + (i % 3 ? ",\n" : ",mug.png\n");
  std::size_t last = 0;
  Build(csv, "one", {.Threads = 1});
  Build(csv, "many", {.Threads = 8}, [&last](std::size_t done, std::size_t) { last = done; });
  EXPECT_EQ(last, 300u);
  auto one = Files("one");
  auto many = Files("many");
  EXPECT_EQ(one.size(), 302u);
  for (auto &[name, bytes] : one) EXPECT_EQ(many["/many" + name.substr(4)], bytes) << name;

  std::atomic<bool> cancel{false};
  const CatalogueReport cancelled = Build(
      csv, "cancelled", {.Threads = 1},
      [&cancel](std::size_t done, std::size_t) { cancel = done == 10; }, &cancel);
  EXPECT_TRUE(cancelled.Cancelled);
  EXPECT_EQ(cancelled.PagesWritten, 10u);
}

TEST_F(BuildCatalogueTest, SplitsTheIndexIntoPagesOfAThousandProducts) {
  const auto mugs = [](int count) {
    std::string csv = "Description,Price\n";
    for (int i = 1; i <= count; ++i) csv += "Mug " + std::to_string(i) + ",1\n";
    return csv;
  };
  const auto indexPages = [this](const std::string &output) {
    std::vector<std::string> pages;
    for (const auto &[name, bytes] : Files(output)) {
      if (name.find("/index") != std::string::npos) pages.push_back(name);
    }
    return pages;
  };
  Build(mugs(1000), "thousand", {});
  EXPECT_EQ(indexPages("thousand"), std::vector<std::string>{"/thousand/index.html"});
  std::vector<CatalogueEntry> entries;
  for (int i = 1; i <= 1000; ++i) {
    entries.push_back({"Mug " + std::to_string(i), "$1.00", "mug-" + std::to_string(i) + ".html"});
  }
  EXPECT_EQ(Files("thousand")["/thousand/index.html"], CatalogueIndexDocument("", entries));

  Build(mugs(1001), "more", {});
  EXPECT_EQ(indexPages("more"),
            (std::vector<std::string>{"/more/index-2.html", "/more/index.html"}));
  EXPECT_TRUE(Files("more")["/more/index.html"].ends_with(
      "</table>\r\n<p>Page 1 of 2 <a href=\"index-2.html\">Next page</a></p>\r\n</body>\r\n"
      "</html>\r\n"));

  Build(mugs(5), "small", {.IndexPageProducts = 2});
  EXPECT_EQ(Files("small")["/small/index-2.html"],
            "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<meta "
            "name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n<title></title>"
            "\r\n</head>\r\n<body>\r\n<h1></h1>\r\n<table>\r\n<tr><th>Product</th><th>Price</th>"
            "</tr>\r\n<tr><td><a href=\"mug-3.html\">Mug 3</a></td><td>$1.00</td></tr>\r\n<tr>"
            "<td><a href=\"mug-4.html\">Mug 4</a></td><td>$1.00</td></tr>\r\n</table>\r\n<p>Page "
            "2 of 3 <a href=\"index.html\">Previous page</a> <a href=\"index-3.html\">Next "
            "page</a></p>\r\n</body>\r\n</html>\r\n");
}

}  // namespace
}  // namespace vendigo
