// Runs "vendigo-html catalogue" on a spreadsheet and on JSON Lines, and compares every page with
// what "vendigo-html page" prints for the same row.

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "folder_fixture.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using vendigo::testing::FolderFixture;
using vendigo::testing::ProgramRun;
using vendigo::testing::RunProgram;
using vendigo::testing::TempFolder;

const QByteArray kSettings =
    "[CONFIGS]\r\nCompany=Blue Mug Ltd\r\nCurrency=$\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\n"
    "OrderButton=Order!\r\nPelluxGeneration=4\r\n";

// As a spreadsheet saves it on Windows: semicolons, Windows-1252, CR LF, quoted cells holding
// the separator, commas, quotes and line breaks, and "," as the decimal mark. The row on line 6
// has a price written with a decimal point, which a semicolon file does not take.
const QByteArray kSpreadsheet =
    "Description;Price;Weight;Taxable;SmartTaxCode;LongText;ProductImage;Option1Name;"
    "Option1Rows;Related;Mode;Descriptions;File\r\n"
    "Cr\xE8me br\xFBl\xE9\x65 dish;1.234,5;2;1;TX;\"Oven-safe; 2 sizes, both \"\"glazed\"\"\r\n"
    "Wash by hand\";mug.png;Size;\"Small | 0 | 0 | Small\r\n"
    "Large | 2 | 0 | Large -- Add $2\";\"Saucer | 2,25 | 1\r\n"
    "Spoon | 1,5 | 0 | 1 | TX\";;;\r\n"
    "Saucer;4.50;1;;;;;;;;;;\r\n"
    "\"Mug; large, blue\";4,5;1;0;;;;;;;;;\r\n"
    "Tea set;;;;;\"Four cups;\r\na pot\";;Colour;\"White | 0 | 0 | White\r\n"
    "Blue | 5 | 0 | Blue -- Add $5\";;multiple;\"Tea set for two | 19,5 | 3 | 1 | TX | Two\r\n"
    "Tea set for four | 29,5 | 5 | 0 | | Four\";tea-sets\r\n";

// Each good row as the page command's input, and the page it gives.
struct Product {
  QByteArray json;
  std::string page;
};
const std::vector<Product> kProducts = {
    {R"({"Description": "Crème brûlée dish", "Price": "1234.5", "Weight": "2", "Taxable": "1",
        "SmartTaxCode": "TX", "LongText": "Oven-safe; 2 sizes, both \"glazed\"\nWash by hand",
        "ProductImage": "mug.png",
        "Options": [{"Name": "Size", "Rows": [["Small", "0", "0", "Small"],
                                              ["Large", "2", "0", "Large -- Add $2"]]}],
        "Related": [["Saucer", "2.25", "1"], ["Spoon", "1.5", "0", "1", "TX"]]})",
     "creme-brulee-dish.html"},
    {R"({"Description": "Mug; large, blue", "Price": "4.5", "Weight": "1", "Taxable": "0"})",
     "mug-large-blue.html"},
    {R"({"Description": "Tea set", "LongText": "Four cups;\r\na pot", "Mode": "multiple",
        "Options": [{"Name": "Colour", "Rows": [["White", "0", "0", "White"],
                                                ["Blue", "5", "0", "Blue -- Add $5"]]}],
        "Descriptions": [["Tea set for two", "19.5", "3", "1", "TX", "Two"],
                         ["Tea set for four", "29.5", "5", "0", "", "Four"]]})",
     "tea-sets.html"},
};

const std::string kIndexBody =
    "<h1>Blue Mug Ltd</h1>\r\n<table>\r\n<tr><th>Product</th><th>Price</th></tr>\r\n"
    R"(<tr><td><a href="creme-brulee-dish.html">Crème brûlée dish</a></td><td>$1,234.50</td></tr>)"
    "\r\n"
    R"(<tr><td><a href="mug-large-blue.html">Mug; large, blue</a></td><td>$4.50</td></tr>)"
    "\r\n"
    R"(<tr><td><a href="tea-sets.html">Tea set</a></td><td>from $19.50</td></tr>)"
    "\r\n</table>";

// Every file below folder, by its path relative to it.
std::map<std::string, std::string> Files(const QString &folder) {
  std::map<std::string, std::string> files;
  for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    const QString path = it.next();
    files[QDir(folder).relativeFilePath(path).toStdString()] =
        TempFolder::ReadBytes(path.toStdString());
  }
  return files;
}

// What a document's body holds.
std::string Body(const std::string &document) {
  const std::size_t from = document.find("<body>\r\n") + 8;
  return document.substr(from, document.rfind("\r\n</body>") - from);
}

class CatalogueCommand : public FolderFixture {
 protected:
  ProgramRun Run(const QString &input, const QString &output) {
    return RunProgram(QStringLiteral(VENDIGO_HTML_PATH),
                      {"--settings", settings_, "--template", template_, "--input", input,
                       "--output", output, "--quiet", "catalogue"});
  }

  void SetUp() override {
    FolderFixture::SetUp();
    settings_ = WriteFile("shop.ini", kSettings);
    template_ = QStringLiteral(VENDIGO_TEMPLATES_DIR "/product_range.zft");
    WriteFile("mug.png", "\x89PNG\r\n\x1A\n a picture");
  }

  QString settings_;
  QString template_;
};

TEST_F(CatalogueCommand, EveryPageHoldsWhatThePageCommandPrints) {
  const ProgramRun run = Run(WriteFile("shop.csv", kSpreadsheet), folder.filePath("site"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "line 6: price \"4.50\" is not a number; in a file separated by semicolons or tabs, "
            "\",\" is the decimal mark and \".\" or a blank groups thousands\n");
  EXPECT_EQ(run.out, "");

  std::map<std::string, std::string> files = Files(folder.filePath("site"));
  EXPECT_EQ(files["images/mug.png"], "\x89PNG\r\n\x1A\n a picture");
  EXPECT_EQ(Body(files["index.html"]), kIndexBody);
  EXPECT_EQ(files.size(), kProducts.size() + 2);
  const std::string picture = "file://" + folder.filePath("mug.png").toStdString();
  for (const Product &product : kProducts) {
    SCOPED_TRACE(product.page);
    const ProgramRun page = vendigo::testing::RunProgramIn(
        folder.path(), QStringLiteral(VENDIGO_HTML_PATH),
        {"--settings", settings_, "--template", template_, "page"}, product.json);
    ASSERT_EQ(page.exitCode, 0) << page.err;
    std::string expected = page.out;
    if (const std::size_t at = expected.find(picture); at != std::string::npos) {
      expected.replace(at, picture.size(), "images/mug.png");
    }
    ASSERT_TRUE(files.count(product.page));
    EXPECT_EQ(Body(files[product.page]),
              "<p><a href=\"index.html\">All products</a></p>\r\n" + expected);
  }
}

TEST_F(CatalogueCommand, JsonLinesGiveTheSamePagesAsTheSpreadsheet) {
  Run(WriteFile("shop.csv", kSpreadsheet), folder.filePath("from-csv"));
  QByteArray lines = "\n";  // a blank first line: the products begin on line 2
  for (const Product &product : kProducts) {
    const QByteArray file = QByteArray::fromStdString(product.page).chopped(5);
    lines += "{\"File\": \"" + file + "\", " + product.json.mid(1).replace('\n', ' ') + "\n";
  }
  lines += R"({"Description": "Saucer", "Price": "4,50"})";
  const ProgramRun run = Run(WriteFile("shop.jsonl", lines), folder.filePath("from-jsonl"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "line 5: price \"4,50\" is not a number\n");
  EXPECT_EQ(Files(folder.filePath("from-jsonl")), Files(folder.filePath("from-csv")));
}

TEST_F(CatalogueCommand, RefusesInputItCannotUseWithStatusTwo) {
  struct Case {
    QByteArray input;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"Description,Colour\r\nMug,blue\r\n",
       "vendigo-html: shop.csv: line 1: unknown column \"Colour\"; the columns are Mode, "
       "Description, Price, Weight, Taxable, SmartTaxCode, LongText, ProductImage, File, "
       "Descriptions, Option1Name, Option1Rows, Option2Name, Option2Rows, Option3Name, "
       "Option3Rows, Related, SKU, Availability, Brand, GTIN\n"},
      {"Price,price\r\n", "vendigo-html: shop.csv: line 1: the column Price is named twice\n"},
      {"\r\n", "vendigo-html: shop.csv: the file has no header row naming its columns\n"},
  };
  for (const Case &c : cases) {
    WriteFile("shop.csv", c.input);
    const ProgramRun run =
        vendigo::testing::RunProgramIn(folder.path(), QStringLiteral(VENDIGO_HTML_PATH),
                                       {"--settings", settings_, "--template", template_, "--input",
                                        "shop.csv", "--output", "site", "catalogue"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, c.message);
  }
}

// SIGKILL part way, into a folder the run makes and over one that exists: after the next run no
// hidden new file is left and every page is whole.
TEST_F(CatalogueCommand, KilledRunsLeaveNoPartialFiles) {
  QByteArray csv = "Description,Price\n";
  QByteArray changed = csv;
  for (int i = 0; i < 20000; ++i) {
    csv += "Mug " + QByteArray::number(i) + "," + QByteArray::number(i % 50 + 1) + "\n";
    changed += "Mug " + QByteArray::number(i) + "," + QByteArray::number(i % 50 + 2) + "\n";
  }
  const QString input = WriteFile("shop.csv", csv);
  const QString changedInput = WriteFile("changed.csv", changed);
  const QString site = folder.filePath("site");
  const auto arguments = [this](const QString &in, const QString &out) {
    return QStringList{"--settings", settings_,
                       "--template", QStringLiteral(VENDIGO_TEMPLATES_DIR "/single_product.zft"),
                       "--input",    in,
                       "--output",   out,
                       "--quiet",    "--force",
                       "catalogue"};
  };
  // Runs until done says enough is written, then kills the run, which must not have ended.
  const auto killPartWay = [&](const QString &in, const std::function<bool()> &done) {
    QProcess run;
    run.start(QStringLiteral(VENDIGO_HTML_PATH), arguments(in, site));
    ASSERT_TRUE(run.waitForStarted());
    while (!run.waitForFinished(1) && !done()) {
    }
    run.kill();
    run.waitForFinished();
    EXPECT_EQ(run.exitStatus(), QProcess::CrashExit) << "the run ended before it was killed";
  };
  const auto hidden = [&] {
    QStringList all = QDir(site).entryList(QDir::Files | QDir::Hidden);
    all += QDir(folder.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    return all.filter(QRegularExpression("^\\.")).join(" ").toStdString();
  };
  const auto stagedFiles = [&] {
    qsizetype files = 0;
    for (const QString &stage :
         QDir(folder.path()).entryList({".vendigo-stage-*"}, QDir::Dirs | QDir::Hidden))
      files += QDir(folder.filePath(stage)).entryList(QDir::Files).size();
    return files;
  };

  // Into a new folder: nothing appears, and the next run takes the killed one's files away.
  killPartWay(input, [&] { return stagedFiles() >= 500; });
  EXPECT_FALSE(QFileInfo::exists(site));
  const ProgramRun first = RunProgram(QStringLiteral(VENDIGO_HTML_PATH), arguments(input, site));
  EXPECT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(hidden(), "");
  // Into a folder that exists, every page changing: the rerun takes away the killed run's new
  // files and completes the pages.
  // Pages are written in row order: enough once row 1000's page has its new price.
  const auto thousandChanged = [&] {
    QFile page(site + "/mug-1000.html");
    return page.open(QIODevice::ReadOnly) && page.readAll().contains("$2.00");
  };
  killPartWay(changedInput, thousandChanged);
  const ProgramRun rerun =
      RunProgram(QStringLiteral(VENDIGO_HTML_PATH), arguments(changedInput, site));
  EXPECT_EQ(rerun.exitCode, 0) << rerun.err;
  EXPECT_EQ(hidden(), "");
  RunProgram(QStringLiteral(VENDIGO_HTML_PATH), arguments(changedInput, folder.filePath("whole")));
  EXPECT_EQ(Files(site), Files(folder.filePath("whole")));
}

}  // namespace
