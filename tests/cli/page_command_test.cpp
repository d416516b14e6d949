// Runs "vendigo-html page" and compares the whole page it prints.

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "folder_fixture.h"
#include "pages/template_package.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using vendigo::testing::FolderFixture;
using vendigo::testing::ProgramRun;
using vendigo::testing::RunProgram;
using vendigo::testing::RunProgramIn;

const QByteArray kGeneration4 =
    "[CONFIGS]\r\nCompany=Blue Mug Ltd\r\nCurrency=$\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\n"
    "OrderButton=Order!\r\nPelluxGeneration=4\r\n";
const QByteArray kGeneration3 =
    "[CONFIGS]\r\nCompany=Blue Mug Ltd\r\nCurrency=$\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\n"
    "OrderButton=Order!\r\nPelluxGeneration=3\r\n";

// Every placeholder and an image block, with LF line breaks as an editor on this platform saves.
const QByteArray kSmallTemplate =
    "<p>%zf_company_name%|%zf_description%|%zf_currency%%zf_price%</p>\n"
    "<zf_if=\"image\">%zf_product_image%<zf_else=\"image\">no image</zf_if=\"image\">\n"
    "%zf_pelluxaddh%%zf_pelluxadds%\n"
    "%zf_all_options%\n"
    "%zf_upsells%\n"
    "%zf_addcart_button% %zf_pellux_location%\n"
    "%zf_long_text%\n";

const std::string kHiddenStart =
    R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE=")";
const std::string kHiddenEnd = R"("><!--WEBBOT bot="HTMLMarkup" EndSpan -->)";
const std::string kUpsellsHead =
    R"(<div align="center"><center><TABLE BORDER="1" CELLPADDING="5" CELLSPACING="0" WIDTH="456"><TR><TD ALIGN="CENTER">BUY</TD><TD ALIGN="CENTER">Description</TD><TD ALIGN="CENTER">Price</TD></TR>)";
const std::string kUpsellsFoot = "</TABLE></center></div>";

const QByteArray kSingleInput = R"({
  "Mode": "single", "Description": "Blue \"Mug\"", "Price": "1234.5", "Weight": "2",
  "Taxable": true, "SmartTaxCode": "TX1", "LongText": "Line one\nLine two",
  "Options": [{"Name": "Size", "Rows": [["Small", "0", "0", "Small"],
                                        ["Large", "2", "0", "Large -- Add $2"]]}],
  "Related": [["Spoon", "1.5", "0", "1", "TX"]],
  "ProductImage": "/srv/shop/mug.gif"
})";

const QByteArray kMultipleInput = R"({
  "Mode": "multiple", "Description": "not used", "Price": "9",
  "Descriptions": [["Mug", "4.50", "1", "1", "TX", "Mug, blue"], ["Cup", "00.00", "1"],
                   ["Pot", "3"]],
  "Related": [["Spoon", "1.5", "0", "1", "TX"]]
})";

class PageCommand : public FolderFixture {
 protected:
  ProgramRun RunPage(const QByteArray &settings, const QString &templateFile,
                     const QByteArray &input, const QString &workingFolder = {}) {
    return RunProgramIn(
        workingFolder, QStringLiteral(VENDIGO_HTML_PATH),
        {QStringLiteral("--settings"), WriteFile(QStringLiteral("shop.ini"), settings),
         QStringLiteral("--template"), templateFile, QStringLiteral("--input"),
         WriteFile(QStringLiteral("input.json"), input), QStringLiteral("page")});
  }
};

TEST_F(PageCommand, PrintsTheWholePage) {
  struct Case {
    const char *name;
    QByteArray settings;
    QByteArray input;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"single description, generation 4, with image", kGeneration4, kSingleInput,
       "<p>Blue Mug Ltd|Blue \"Mug\"|$1,234.50</p>\r\n"
       R"(<IMG SRC="file:///srv/shop/mug.gif" ALT="[PRODUCT IMAGE]" BORDER="0">)"
       "\r\n" +
           kHiddenStart + "Blue &quot;Mug&quot;^1234.5^2^1^TX1" + kHiddenEnd +
           "\r\n"
           R"(<TABLE><TR><TD>Size</TD><TD><SELECT NAME="eop_Size">)"
           "\r\n"
           R"(<OPTION VALUE="Small^0^0" SELECTED>Small)"
           "\r\n"
           R"(<OPTION VALUE="Large^2^0">Large -- Add $2)"
           "\r\n</SELECT></TD></TR></TABLE>\r\n" +
           kUpsellsHead +
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1.5^0^1^TX"></TD><TD>Spoon</TD><TD>$1.5</TD></TR>)"
           "\r\n" +
           kUpsellsFoot +
           "\r\n"
           R"(<input TYPE="SUBMIT" VALUE="Order!"> /cgi-bin/pellux.cgi)"
           "\r\nLine one\r\nLine two\r\n"},
      {"single description, generation 3: tax inputs read as empty", kGeneration3, kSingleInput,
       "<p>Blue Mug Ltd|Blue \"Mug\"|$1,234.50</p>\r\n"
       R"(<IMG SRC="file:///srv/shop/mug.gif" ALT="[PRODUCT IMAGE]" BORDER="0">)"
       "\r\n" +
           kHiddenStart + "Blue &quot;Mug&quot;^1234.5^2^^" + kHiddenEnd +
           "\r\n"
           R"(<TABLE><TR><TD>Size</TD><TD><SELECT NAME="eop_Size">)"
           "\r\n"
           R"(<OPTION VALUE="Small^0^0" SELECTED>Small)"
           "\r\n"
           R"(<OPTION VALUE="Large^2^0">Large -- Add $2)"
           "\r\n</SELECT></TD></TR></TABLE>\r\n" +
           kUpsellsHead +
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1.5^0^^"></TD><TD>Spoon</TD><TD>$1.5</TD></TR>)"
           "\r\n" +
           kUpsellsFoot +
           "\r\n"
           R"(<input TYPE="SUBMIT" VALUE="Order!"> /cgi-bin/pellux.cgi)"
           "\r\nLine one\r\nLine two\r\n"},
      {"multiple descriptions, generation 4, no image", kGeneration4, kMultipleInput,
       "<p>Blue Mug Ltd||</p>\r\nno image\r\n"
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^1^1^TX" SELECTED>Mug, blue)"
       "\r\n</SELECT>\r\n\r\n" +
           kUpsellsHead +
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1.5^0^1^TX"></TD><TD>Spoon</TD><TD>$1.5</TD></TR>)"
           "\r\n" +
           kUpsellsFoot +
           "\r\n"
           R"(<input TYPE="SUBMIT" VALUE="Order!"> /cgi-bin/pellux.cgi)"
           "\r\n\r\n"},
      {"multiple descriptions, generation 3: the readable text the grid would fill", kGeneration3,
       kMultipleInput,
       "<p>Blue Mug Ltd||</p>\r\nno image\r\n"
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^1^^" SELECTED>Mug -- $4.50)"
       "\r\n"
       R"(<OPTION VALUE="Cup^00.00^1^^">Cup)"
       "\r\n"
       R"(<OPTION VALUE="Pot^3^^^">Pot -- $3)"
       "\r\n</SELECT>\r\n\r\n" +
           kUpsellsHead +
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1.5^0^^"></TD><TD>Spoon</TD><TD>$1.5</TD></TR>)"
           "\r\n" +
           kUpsellsFoot +
           "\r\n"
           R"(<input TYPE="SUBMIT" VALUE="Order!"> /cgi-bin/pellux.cgi)"
           "\r\n\r\n"},
      {"empty input: single mode with nothing typed", kGeneration4, "{}",
       "<p>Blue Mug Ltd||$</p>\r\nno image\r\n" + kHiddenStart + "^^^^" + kHiddenEnd +
           "\r\n\r\n\r\n"
           R"(<input TYPE="SUBMIT" VALUE="Order!"> /cgi-bin/pellux.cgi)"
           "\r\n\r\n"},
  };
  const QString templateFile = WriteFile(QStringLiteral("small.zft"), kSmallTemplate);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = RunPage(c.settings, templateFile, c.input);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, c.expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(PageCommand, ProductImagePathBecomesTheWizardsTag) {
  const QString canonical = QDir(folder.path()).canonicalPath();
  struct Case {
    QByteArray image;
    std::string tag;
  };
  const std::vector<Case> cases = {
      {R"(/home/ann/My Pictures/mug.PNG)", "file:///home/ann/My%20Pictures/mug.PNG"},
      {R"(C:\\shop\\img\\mug.gif)", "file:///C:/shop/img/mug.gif"},
      {R"(pics/../pics/mug.jpg)", "file://" + canonical.toStdString() + "/pics/mug.jpg"},
      {"", ""},
  };
  const QString templateFile = WriteFile(QStringLiteral("image.zft"), "[%zf_product_image%]");
  for (const Case &c : cases) {
    SCOPED_TRACE(c.image.toStdString());
    const ProgramRun run =
        RunPage(kGeneration4, templateFile, "{\"ProductImage\": \"" + c.image + "\"}", canonical);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, c.tag.empty()
                           ? "[]"
                           : "[<IMG SRC=\"" + c.tag + R"(" ALT="[PRODUCT IMAGE]" BORDER="0">])");
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(PageCommand, RefusesBadInputWithStatusTwoAndAClearMessage) {
  struct Case {
    const char *name;
    QByteArray input;
    std::string message;
  };
  const std::string rows29 = [] {
    std::string rows;
    for (int i = 0; i < 30; ++i) rows += std::string(i ? "," : "") + "[\"a\"]";
    return rows;
  }();
  const std::vector<Case> cases = {
      {"unknown mode", R"({"Mode": "several"})", R"(Mode must be "single" or "multiple")"},
      {"price as a number", R"({"Price": 4.5})", "Price must be a text"},
      {"unknown key", R"({"Descripton": "Mug"})",
       "unknown key 'Descripton' in the input; the keys are Mode, Description, Price, Weight, "
       "Taxable, SmartTaxCode, Descriptions, Options, Related, LongText, ProductImage, SKU, Brand, "
       "GTIN, Availability"},
      {"taxable of another kind", R"({"Taxable": "yes"})",
       R"(Taxable must be true, false, "1", "0", "" or null)"},
      {"description too long", "{\"Description\": \"" + QByteArray(231, 'd') + "\"}",
       "Description is longer than 230 characters"},
      {"thirty description rows", QByteArray("{\"Descriptions\": [") + rows29.c_str() + "]}",
       "Descriptions has 30 rows; the grid has 29"},
      {"a row with seven cells", R"({"Descriptions": [["a","1","0","","","a","x"]]})",
       "Descriptions row 1 has 7 cells; a row has at most 6 (Cart Description, Price, Weight, "
       "Taxable, Smart Tax, Readable Text)"},
      {"a row that is no list", R"({"Related": ["Spoon"]})",
       "Related row 1 must be a list of up to 5 texts (Cart Description, Price, Weight, "
       "Taxable, Smart Tax)"},
      {"a cell that is no text", R"({"Related": [["Spoon", 1]]})",
       "Related row 1 cell 2 must be a text"},
      {"four option groups", R"({"Options": [{}, {}, {}, {}]})",
       "Options must be a list of up to three option groups"},
      {"option group key", R"({"Options": [{"Name": "Size", "rows": []}]})",
       "unknown key 'rows' in Options group 1; the keys are Name, Rows"},
      {"option row with five cells", R"({"Options": [{}, {"Rows": [["a","1","0","a","b"]]}]})",
       "Options group 2 Rows row 1 has 5 cells; a row has at most 4 (Cart Description, Price, "
       "Weight, Readable Text)"},
      {"image of another kind", R"({"ProductImage": "/srv/mug.jpeg"})",
       "ProductImage must be a .jpg, .gif or .png file: /srv/mug.jpeg"},
      {"no object", "[1]", "the input in "},
  };
  const QString templateFile = WriteFile(QStringLiteral("small.zft"), kSmallTemplate);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = RunPage(kGeneration4, templateFile, c.input);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    const std::string firstLine = run.err.substr(0, run.err.find('\n'));
    if (std::string(c.name) == "no object") {
      EXPECT_EQ(firstLine, "vendigo-html: the input in " +
                               folder.filePath(QStringLiteral("input.json")).toStdString() +
                               " must be one JSON object");
    } else {
      EXPECT_EQ(firstLine, "vendigo-html: " + c.message);
    }
  }
}

TEST_F(PageCommand, TemplateOptionIsRequiredByPageAndRefusedByOthers) {
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kGeneration4);
  const QString input = WriteFile(QStringLiteral("input.json"), "{}");
  const QString missing = folder.filePath(QStringLiteral("missing.zft"));
  struct Case {
    const char *name;
    QStringList arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"page without template",
       {"--settings", settings, "--input", input, "page"},
       "vendigo-html: the command 'page' needs --template FILE."},
      {"template for another command",
       {"--settings", settings, "--template", missing, "form"},
       "vendigo-html: the command 'form' takes no template."},
      {"template that cannot be read",
       {"--settings", settings, "--template", missing, "--input", input, "page"},
       "vendigo-html: cannot read the template: Cannot open file \"" + missing.toStdString() +
           "\". No such file or directory"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = RunProgram(QStringLiteral(VENDIGO_HTML_PATH), c.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message + "\n");
  }
}

// The shipped templates: each builds a page in both modes with every placeholder and every
// block tag resolved, and its package is complete.
TEST_F(PageCommand, EachShippedTemplateBuildsAPageWithNothingLeftOver) {
  const std::filesystem::path templates = VENDIGO_TEMPLATES_DIR;
  const std::vector<std::string> names = vendigo::ListTemplates(templates);
  ASSERT_EQ(names, (std::vector<std::string>{"product_range.zft", "single_product.zft"}));
  ASSERT_TRUE(std::filesystem::is_regular_file(templates / "no_pre.bmp"));

  for (const std::string &name : names) {
    const std::filesystem::path file = templates / name;
    const vendigo::TemplateProfile profile = vendigo::ReadTemplateProfile(file);
    EXPECT_EQ(profile.Author, "The Vendigo developers") << name;
    EXPECT_TRUE(vendigo::HasPrompts(profile)) << name;
    EXPECT_EQ(vendigo::PreviewPicturePath(templates, profile),
              templates / (file.stem().string() + ".bmp"))
        << name;
    EXPECT_EQ(vendigo::testing::TempFolder::ReadBytes(templates / profile.Image).substr(0, 2), "BM")
        << name;

    for (const QByteArray &settings : {kGeneration3, kGeneration4}) {
      for (const QByteArray &input : {kSingleInput, kMultipleInput}) {
        SCOPED_TRACE(name + (input == kSingleInput ? " single" : " multiple") +
                     (settings == kGeneration3 ? " generation 3" : " generation 4"));
        const ProgramRun run = RunPage(settings, QString::fromStdString(file.string()), input);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        std::string lower = run.out;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_EQ(lower.find("%zf_"), std::string::npos);
        EXPECT_EQ(lower.find("zf_if"), std::string::npos);
        EXPECT_EQ(lower.find("zf_else"), std::string::npos);
        EXPECT_NE(run.out.find(R"(<form method="POST" action="/cgi-bin/pellux.cgi">)"),
                  std::string::npos);
        EXPECT_NE(run.out.find(R"(NAME="pelluxadd")"), std::string::npos);
        EXPECT_TRUE(run.out.starts_with("<div ") && run.out.ends_with("</div>\r\n"));
        EXPECT_EQ(run.out.find("You may also like") != std::string::npos,
                  name == "product_range.zft");
      }
    }
    // The heading over the related products goes with them.
    EXPECT_EQ(
        RunPage(kGeneration4, QString::fromStdString(file.string()), "{}").out.find("also like"),
        std::string::npos);
  }
}

}  // namespace
