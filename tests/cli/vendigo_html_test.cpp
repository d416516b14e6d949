// Runs the real vendigo-html and compares what it prints, byte for byte.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "builders/simple_elements.h"
#include "core/settings.h"
#include "folder_fixture.h"
#include "support/program_run.h"

namespace {

using vendigo::testing::FolderFixture;
using vendigo::testing::ProgramRun;
using vendigo::testing::RunProgram;

ProgramRun RunVendigoHtml(const QStringList &arguments) {
  return RunProgram(QStringLiteral(VENDIGO_HTML_PATH), arguments);
}

class VendigoHtml : public FolderFixture {};

const QByteArray kShopSettings =
    "[CONFIGS]\r\nCompany=Blue Mug Ltd\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\nOrderButton=Order!\r\n";

TEST_F(VendigoHtml, PrintsEachFragmentExactlyWithNothingAdded) {
  struct Case {
    const char *name;
    QByteArray settings;
    QString command;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"form", kShopSettings, "form",
       R"(<form method="POST" action="/cgi-bin/pellux.cgi"><p>&nbsp;</p></form>)"},
      {"quantity", kShopSettings, "quantity",
       R"(<input TYPE="TEXT" NAME="quantity" VALUE="1" SIZE="3" MAXLENGTH="3">)"},
      {"view cart link", kShopSettings, "viewcart",
       R"(<a href="/cgi-bin/pellux.cgi">View Your Shopping Cart</a>)"},
      {"buy button", kShopSettings, "buybutton", R"(<input TYPE="SUBMIT" VALUE="Order!">)"},
      {"buy button without an order button", "[configs]\nORDERBUTTON=\n", "buybutton", ""},
      {"ebay form without an order button", "[CONFIGS]\nOrderButton=x\n", "ebay", ""},
      {"utf-8 settings stay utf-8", "[CONFIGS]\nViewCart=Zum Warenkorb \xE2\x84\xA2 \xC3\xA4\n",
       "viewcart",
       "<a href=\"<Enter the URL to the Pellux CGI Program here>\">Zum Warenkorb \xE2\x84\xA2 "
       "\xC3\xA4</a>"},
      {"windows-1252 settings come out as utf-8", "[CONFIGS]\r\nViewCart=Caf\xE9 \x99\r\n",
       "viewcart",
       "<a href=\"<Enter the URL to the Pellux CGI Program here>\">Caf\xC3\xA9 \xE2\x84\xA2</a>"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString settings = WriteFile(QStringLiteral("shop.ini"), c.settings);
    const ProgramRun run = RunVendigoHtml({QStringLiteral("--settings"), settings, c.command});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, c.expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(VendigoHtml, EbayFormIsTheGeneratedFormByteForByte) {
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kShopSettings);
  const ProgramRun run =
      RunVendigoHtml({QStringLiteral("--settings"), settings, QStringLiteral("ebay")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, vendigo::EbayFormHtml(vendigo::LoadSettingsFile(settings.toStdString())));
}

TEST_F(VendigoHtml, ReadsTheSettingsFileBesideItself) {
  ASSERT_TRUE(QDir(folder.path()).mkpath("bin"));
  const QString program = folder.filePath(QStringLiteral("bin/vendigo-html"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(VENDIGO_HTML_PATH), program));

  ProgramRun run = RunProgram(program, {QStringLiteral("viewcart")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(
      run.out,
      R"(<a href="<Enter the URL to the Pellux CGI Program here>">View Your Shopping Cart</a>)");

  WriteFile(QStringLiteral("bin/pelluxfp.ini"), kShopSettings + "ViewCart=Your cart\r\n");
  run = RunProgram(program, {QStringLiteral("viewcart")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, R"(<a href="/cgi-bin/pellux.cgi">Your cart</a>)");

  // Installed (beside share/vendigo) it reads the palette's file in the user's folder.
  ASSERT_TRUE(QDir(folder.path()).mkpath("share/vendigo") && QDir(folder.path()).mkpath("vendigo"));
  QFile::rename(folder.filePath("bin/pelluxfp.ini"), folder.filePath("vendigo/pelluxfp.ini"));
  qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
  EXPECT_EQ(RunProgram(program, {QStringLiteral("viewcart")}).out,
            R"(<a href="/cgi-bin/pellux.cgi">Your cart</a>)");
}

const char kHiddenStart[] =
    R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE=")";
const char kHiddenEnd[] = R"("><!--WEBBOT bot="HTMLMarkup" EndSpan -->)";

TEST_F(VendigoHtml, BuildsTheSingleItemFragmentsFromJsonInput) {
  struct Case {
    const char *name;
    QString command;
    QByteArray input;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"hidden item", "pelluxadd",
       R"({"Description": "Blue Mug", "Price": "4.50", "Weight": "2", "Taxable": "1"})",
       std::string(kHiddenStart) + "Blue Mug^4.50^2^1^" + kHiddenEnd},
      {"hidden item with the initial weight and tax state", "pelluxadd",
       R"({"Description": "Mug", "Price": "4"})",
       std::string(kHiddenStart) + "Mug^4^^^" + kHiddenEnd},
      {"hidden item with quotes, a caret and accents", "pelluxadd",
       "{\"Description\": \"12\\\" Caf\xC3\xA9^x\", \"Price\": \"1\", \"Taxable\": \"0\", "
       "\"SmartTaxCode\": \"T\\\"1\"}",
       std::string(kHiddenStart) + "12&quot; Caf\xC3\xA9^x^1^^0^T&quot;1" + kHiddenEnd},
      {"quick link with the initial caption and status text", "quicklink",
       R"({"Description": "Blue Mug", "Price": "4.50", "Weight": "2"})",
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"},
      {"quick link with every field", "quicklink",
       R"({"Description": "Salt & Pepper", "Price": "1234.5", "Weight": "", "Taxable": "0",
           "SmartTaxCode": "TX1", "LinkCaption": "Order!", "StatusText": "It's \"yours\"",
           "InsertProductInfo": true, "Brackets": true})",
       R"(<b>Salt & Pepper</b> -- <b><font color="#FF0000">$1,234.50</font></b> [<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Salt+%26+Pepper^1234.5^^0^TX1" onMouseOver="self.status='It\'s &quot;yours&quot;';  return true"onMouseOut="self.status=''; return true">Order!</A>])"},
      {"quick link without status text", "quicklink",
       R"({"Description": "Mug", "Price": "1.2.3", "StatusText": "", "InsertProductInfo": false})",
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Mug^1.2.3^^^" onMouseOver="self.status='';  return true">BUY!</A>)"},
      {"text option with the initial sizes", "textadd",
       R"({"Caption": "Name on shirt", "Price": "5.00"})",
       R"(Name on shirt: <INPUT TYPE="TEXT" NAME="textadd_Name on shirt_5.00" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$5.00</FONT>)"},
      {"tab and line break typed into a text as they stand", "pelluxadd",
       "{\"Description\": \"Blue\tMug\n\", \"Price\": \"4\"}",
       std::string(kHiddenStart) + "Blue\tMug\n^4^^^" + kHiddenEnd},
      {"text option with sizes and a zero price", "textadd",
       R"({"Caption": "Initials", "Price": "0", "Size": "3", "MaxLength": "4"})",
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_0" SIZE="3" MAXLENGTH="4"><BR><FONT SIZE="1">Maximum 4 Characters</FONT>)"},
  };
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kShopSettings);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun fromStdin =
        RunProgram(QStringLiteral(VENDIGO_HTML_PATH),
                   {QStringLiteral("--settings"), settings, c.command}, c.input);
    EXPECT_EQ(fromStdin.exitCode, 0);
    EXPECT_EQ(fromStdin.out, c.expected);
    EXPECT_EQ(fromStdin.err, "");

    const QString input = WriteFile(QStringLiteral("input.json"), c.input);
    const ProgramRun fromFile = RunVendigoHtml(
        {QStringLiteral("--settings"), settings, QStringLiteral("--input"), input, c.command});
    EXPECT_EQ(fromFile.exitCode, 0);
    EXPECT_EQ(fromFile.out, c.expected);
  }
}

TEST_F(VendigoHtml, RefusesSingleItemInputItCannotUse) {
  struct Case {
    const char *name;
    QString command;
    QByteArray input;
    int exitCode;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"price that does not convert for the product info", "quicklink",
       R"({"Description": "Mug", "Price": "1.2.3", "InsertProductInfo": true})", 1,
       R"(Currency conversion error "1.2.3")"},
      {"number instead of text", "pelluxadd", R"({"Description": "Mug", "Price": 4.5})", 2,
       "vendigo-html: Price must be a text"},
      {"null instead of text", "textadd", R"({"Caption": null, "Price": "1"})", 2,
       "vendigo-html: Caption must be a text"},
      {"text instead of a boolean", "quicklink",
       R"({"Description": "Mug", "Price": "1", "Brackets": "yes"})", 2,
       "vendigo-html: Brackets must be true or false"},
      {"tax state that is no check box state", "pelluxadd",
       R"({"Description": "Mug", "Price": "1", "Taxable": "yes"})", 2,
       R"(vendigo-html: Taxable must be "1", "0" or "")"},
      {"misspelt key", "textadd", R"({"Caption": "Name", "Price": "1", "size": "5"})", 2,
       "vendigo-html: unknown key 'size' in the input; the keys are Caption, Price, Size, "
       "MaxLength"},
      {"empty description", "pelluxadd", R"({"Price": "1"})", 2,
       "vendigo-html: Description must not be empty"},
      {"empty link caption", "quicklink",
       R"({"Description": "Mug", "Price": "1", "LinkCaption": ""})", 2,
       "vendigo-html: LinkCaption must not be empty"},
      {"empty price", "textadd", R"({"Caption": "Name"})", 2,
       "vendigo-html: Price must not be empty"},
      {"array instead of an object", "textadd", R"(["Name", "1"])", 2,
       "vendigo-html: the input in standard input must be one JSON object"},
      {"text instead of an object", "textadd", R"( "Name")", 2,
       "vendigo-html: malformed JSON in standard input at offset 2: illegal value"},
      {"object not closed", "textadd", R"({"Caption": "Name", )", 2,
       "vendigo-html: malformed JSON in standard input at offset 20: unterminated object"},
      {"string not closed", "textadd", R"({"Caption": "Name)", 2,
       "vendigo-html: malformed JSON in standard input at offset 18: unterminated string"},
      {"no colon after a key", "textadd", R"({"Caption" 1})", 2,
       "vendigo-html: malformed JSON in standard input at offset 12: missing name separator"},
      {"comma before the end", "textadd", R"({"Caption": "Name",})", 2,
       "vendigo-html: malformed JSON in standard input at offset 20: object is missing after a "
       "comma"},
      {"no comma between items", "options", R"({"Rows": [["a"] ["b"]]})", 2,
       "vendigo-html: malformed JSON in standard input at offset 17: missing value separator"},
      {"number at the end", "textadd", R"({"Size": 1)", 2,
       "vendigo-html: malformed JSON in standard input at offset 10: invalid termination by "
       "number"},
      {"second document", "textadd", R"({} {})", 2,
       "vendigo-html: malformed JSON in standard input at offset 3: garbage at the end of the "
       "document"},
      {"bytes that are no UTF-8", "textadd", "{\"Caption\": \"Caf\xE9\"}", 2,
       "vendigo-html: malformed JSON in standard input at offset 16: invalid UTF8 string"},
      {"nested too deeply", "textadd", QByteArray(1025, '['), 2,
       "vendigo-html: malformed JSON in standard input at offset 1025: too deeply nested "
       "document"},
  };
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kShopSettings);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = RunProgram(QStringLiteral(VENDIGO_HTML_PATH),
                                      {QStringLiteral("--settings"), settings, c.command}, c.input);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message + "\n");
  }
}

TEST_F(VendigoHtml, RefusesBadUsageWithStatusTwoAndAClearMessage) {
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kShopSettings);
  struct Case {
    const char *name;
    QStringList arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no command", {}, "vendigo-html: name exactly one command."},
      {"two commands", {"form", "quantity"}, "vendigo-html: name exactly one command."},
      {"unknown command", {"nope"}, "vendigo-html: unknown command 'nope'."},
      {"unknown option", {"--colour", "form"}, "vendigo-html: Unknown option 'colour'."},
      {"long option with one dash", {"-set", "form"}, "vendigo-html: Unknown options: s, e, t."},
      {"option without its value",
       {"form", "--settings"},
       "vendigo-html: Missing value after '--settings'."},
      {"value for an option that takes none",
       {"--quiet=yes", "catalogue"},
       "vendigo-html: Unexpected value after '--quiet'."},
      {"missing settings file",
       {"--settings", folder.filePath("missing.ini"), "form"},
       "vendigo-html: cannot read the settings file " +
           folder.filePath("missing.ini").toStdString()},
      {"settings folder instead of file",
       {"--settings", folder.path(), "form"},
       "vendigo-html: cannot read the settings file " + folder.path().toStdString()},
      {"input for a command without input",
       {"--settings", settings, "--input", settings, "quantity"},
       "vendigo-html: the command 'quantity' takes no input."},
      {"check without a page",
       {"check"},
       "vendigo-html: the command 'check' needs at least one PATH."},
      {"check in another format",
       {"check", "--format", "xml", "a.html"},
       "vendigo-html: --format takes text or json, not 'xml'."},
      {"check with input",
       {"check", "--input", settings, "a.html"},
       "vendigo-html: --input is not an option of the check command."},
      {"format for another command",
       {"--format", "json", "form"},
       "vendigo-html: --format is an option of the check command only."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = RunVendigoHtml(c.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.message);
  }
}

TEST_F(VendigoHtml, ListsItsCommandsAndVersion) {
  const ProgramRun help = RunVendigoHtml({QStringLiteral("--help")});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out, "Usage: " VENDIGO_HTML_PATH R"( [options] command
Builds the HTML fragments of the Vendigo palette and writes them to standard output.
Without --settings it reads the palette's pelluxfp.ini: beside the program, or for an installed copy in $XDG_CONFIG_HOME/vendigo, with defaults when that file is missing.

Commands:
  form        the form container that posts to the cart program
  quantity    the quantity box
  viewcart    the view-cart link
  buybutton   the order button (nothing without an order button)
  ebay        the eBay payment form (nothing without an order button)
  page        a product page from the template given with --template FILE (reads JSON input)
  options     product option list: an eop_ select from Name and Rows (reads JSON input)
  addit       addit table or select list, or quantity-add table, from Mode, Rows and ProductInterface (reads JSON input)
  pelluxadd   the hidden item field that orders one item (reads JSON input)
  quicklink   a link that puts one item in the cart with a click (reads JSON input)
  textadd     a text input for the shopper, with its caption and note (reads JSON input)
  catalogue   a product page per row of --input FILE (CSV, or JSON Lines when it ends in .jsonl) into --output DIR, with index.html
  check       checks the pages PATH... (files, or folders of .html and .htm) and every order they send to the cart; --format text or json
  publish     publishes the site folder SITE_DIR to its server (sftp://, ftp:// or ftps://), only what changed; --target URL, --dry-run, --delete, --force, --accept-host-key FINGERPRINT


Options:
  -h, --help                       Displays help on commandline options.
  --help-all                       Displays help including Qt specific options.
  -v, --version                    Displays version information.
  --settings <file>                Read the settings from <file>.
  --input <file>                   Read the command's JSON input from <file>
                                   instead of standard input.
  --template <file>                Fill the ZestForm template <file> (the page
                                   command).
  --output <dir>                   Write the catalogue into the folder <dir>
                                   (the catalogue command).
  --force                          Replace pages, pictures and the index that
                                   exist (the catalogue command); publish even
                                   when the check finds errors (the publish
                                   command).
  --quiet                          No progress bar and no closing count (the
                                   catalogue command); no progress bar (the
                                   check and publish commands).
  --format <format>                Write the findings as text or json (the
                                   check command).
  --base-url <address>             The address the catalogue is published
                                   under, such as https://shop.example/: the
                                   pages' product data gets absolute addresses,
                                   and sitemap.xml and feed.xml are written
                                   (the catalogue command).
  --target <url>                   Publish the site to <url>,
                                   sftp://user@host[:port]/path, ftp://... or
                                   ftps://... (explicit TLS), and remember it
                                   for the site folder (the publish command).
  --dry-run                        List what would be sent and removed, change
                                   nothing (the publish command).
  --delete                         Also remove published files that are no
                                   longer in the folder (the publish command).
  --accept-host-key <fingerprint>  Accept the SFTP server's unknown host key
                                   when its fingerprint is <fingerprint> and
                                   add it to ~/.ssh/known_hosts (the publish
                                   command).

Arguments:
  command                          The fragment to build.
)");
  const ProgramRun version = RunVendigoHtml({QStringLiteral("--version")});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "vendigo-html 3.1.26.167\n");
}

const QByteArray kGeneration4Settings =
    "[CONFIGS]\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\nPelluxGeneration=4\r\n";
const QByteArray kGeneration3Settings = "[CONFIGS]\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\n";

const std::string kAddItHead =
    R"(<CENTER><DIV ALIGN="center"><TABLE WIDTH="400" CELLPADDING="3" CELLSPACING="1" BORDER="1">)"
    R"(<TR><TH>Buy</TH><TH>Description</TH><TH>Price</TH></TR>)";
const std::string kMugRow =
    R"(<TR><TD align="center"><INPUT TYPE="checkbox" NAME="addit" VALUE="Mug^1,234.50^2^^"></TD>)"
    R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$1,234.50</FONT></TD></TR>)"
    "\r\n";

TEST_F(VendigoHtml, BuildsTheGridFragmentsFromJsonInput) {
  struct Case {
    const char *name;
    QByteArray settings;
    QString command;
    QByteArray input;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"option list", kGeneration3Settings, "options",
       R"({"Name": "Size", "Rows": [["Small", "00.00", "0", "Small"],
                                    ["Large", "2.5", "1", "Large --Add $2.5"]]})",
       "Size: <SELECT NAME=\"eop_Size\">\r\n"
       "<OPTION VALUE=\"Small^00.00^0\" SELECTED>Small\r\n"
       "<OPTION VALUE=\"Large^2.5^1\">Large --Add $2.5\r\n"
       "</SELECT>"},
      {"option list from an empty object", kGeneration3Settings, "options", "{}",
       ": <SELECT NAME=\"eop_\">\r\n</SELECT>"},
      {"option list, short and empty rows", kGeneration3Settings, "options",
       R"({"Name": "Shirt \"Size\"", "Rows": [[], ["Red"], ["Blue", "1"]]})",
       "Shirt \"Size\": <SELECT NAME=\"eop_Shirt &quot;Size&quot;\">\r\n"
       "<OPTION VALUE=\"Red^^\">\r\n"
       "<OPTION VALUE=\"Blue^1^\">\r\n"
       "</SELECT>"},
      {"addit select list, generation 4", kGeneration4Settings, "addit",
       R"({"Mode": "select", "Rows": [["Blue Shirt", "12.5", "1", "1", "0"]]})",
       "<SELECT NAME=\"addit\">\r\n"
       "<OPTION VALUE=\"Blue Shirt^12.50^1^1^0\" SELECTED>Blue Shirt -- $12.50\r\n"
       "</SELECT><P> &nbsp;</P>"},
      {"addit checkbox table is the default, tax cells ignored below generation 4",
       kGeneration3Settings, "addit",
       R"({"Rows": [["Mug", "1234.5", "2", "1", "TX"]], "ProductInterface": false})",
       kAddItHead + kMugRow + "</TABLE></DIV></CENTER><P> &nbsp;</P>"},
      {"quantity-add table, generation 4", kGeneration4Settings, "addit",
       R"({"Mode": "quantity", "Rows": [["Mug", "5", "2", "1", "0"]], "ProductInterface": false})",
       kAddItHead +
           R"(<TR><TD align="center"><INPUT TYPE="TEXT" SIZE="3" MAXLENGTH="3" NAME="pelluxqa_Mug_5.00_2_1_0" VALUE="0"></TD>)"
           R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$5.00</FONT></TD></TR>)"
           "\r\n"
           "</TABLE></DIV></CENTER><P> &nbsp;</P>"},
      {"select list is never wrapped", kGeneration3Settings, "addit",
       R"({"Mode": "select", "ProductInterface": true})",
       "<SELECT NAME=\"addit\">\r\n</SELECT><P> &nbsp;</P>"},
      {"radio table in the whole product interface", kGeneration3Settings, "addit",
       R"({"Mode": "radio", "Rows": [["Mug", "1234.5", "2"]], "ProductInterface": true})",
       "<FORM ACTION=\"/cgi-bin/pellux.cgi\" METHOD=\"POST\">\r\n"
       "    <CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" "
       "CELLSPACING=\"1\" BORDER=\"0\">\r\n"
       "   <TR>       <td>Ordering Instructions: <ol TYPE=\"1\">\r\n"
       "        <li>?\?\?</li>\r\n"
       "        <li>?\?\?</li>\r\n"
       "        <li>?\?\?</li>\r\n"
       "      </ol>\r\n"
       "      </td></TR></TABLE></CENTER></DIV>\r\n"
       "\r\n" +
           kAddItHead +
           R"(<TR><TD align="center"><INPUT TYPE="radio" NAME="addit" VALUE="Mug^1,234.50^2^^"></TD>)"
           R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$1,234.50</FONT></TD></TR>)"
           "\r\n"
           "</TABLE></DIV></CENTER>\r\n"
           "\r\n"
           "<P ALIGN=\"CENTER\"><INPUT TYPE=\"SUBMIT\" VALUE=\"Order!\"></P>\r\n"
           "</form>\r\n"
           "<p>\r\n"
           "<center><a href=\"/cgi-bin/pellux.cgi\">View Your Shopping Cart</a></center>\r\n"
           "</p>\r\n"
           "<P> &nbsp;</P>"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString settings = WriteFile(QStringLiteral("shop.ini"), c.settings);
    const ProgramRun run = RunProgram(QStringLiteral(VENDIGO_HTML_PATH),
                                      {QStringLiteral("--settings"), settings, c.command}, c.input);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, c.expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(VendigoHtml, GridInputMayComeFromAFile) {
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kGeneration3Settings);
  const QString input =
      WriteFile(QStringLiteral("rows.json"), R"({"Rows": [["Mug", "1234.5", "2"]]})");
  const ProgramRun run =
      RunVendigoHtml({QStringLiteral("--settings"), settings, QStringLiteral("--input"), input,
                      QStringLiteral("addit")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, kAddItHead + kMugRow + "</TABLE></DIV></CENTER><P> &nbsp;</P>");
}

// A device, a pipe or a file beyond the limit is refused, never read without end.
TEST_F(VendigoHtml, RefusesInputThatIsNoFileOrTooLarge) {
  const QString input = WriteFile(QStringLiteral("input.json"), "{}");
  const QString big = WriteFile(QStringLiteral("big.json"), "{}");
  ASSERT_TRUE(QFile::resize(big, (64 << 20) + 1));  // sparse: takes no room on the disk
  struct Case {
    QStringList arguments;
    QString standardInput;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"pelluxadd", "--input", "/dev/zero"},
       "",
       "cannot read input /dev/zero: Not a regular file"},
      {{"pelluxadd", "--input", big},
       "",
       "cannot read input " + big.toStdString() + ": Larger than 64 MB"},
      {{"pelluxadd"}, "/dev/zero", "cannot read input standard input: Larger than 64 MB"},
      {{"page", "--template", "/dev/zero", "--input", input},
       "",
       "cannot read the template: Cannot open file \"/dev/zero\". Not a regular file"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QProcess process;
    process.setStandardInputFile(c.standardInput.isEmpty() ? QProcess::nullDevice()
                                                           : c.standardInput);
    process.start(QStringLiteral(VENDIGO_HTML_PATH), c.arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, 2);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_EQ(process.readAllStandardError().toStdString(), "vendigo-html: " + c.message + "\n");
  }
}

TEST_F(VendigoHtml, RefusesUnusableGridInputWithStatusTwo) {
  struct Case {
    const char *name;
    QByteArray settings;
    QString command;
    QByteArray input;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"quantity table below generation 4", kGeneration3Settings, "addit",
       R"({"Mode": "quantity"})",
       "vendigo-html: Mode \"quantity\" needs a generation 4 cart (PelluxGeneration=4); the "
       "settings say 3"},
      {"unknown mode", kGeneration4Settings, "addit", R"({"Mode": "table"})",
       "vendigo-html: Mode must be \"checkbox\", \"radio\", \"select\" or \"quantity\""},
      {"mode of the wrong type", kGeneration4Settings, "addit", R"({"Mode": 2})",
       "vendigo-html: Mode must be \"checkbox\", \"radio\", \"select\" or \"quantity\""},
      {"answer of the wrong type", kGeneration4Settings, "addit", R"({"ProductInterface": "yes"})",
       "vendigo-html: ProductInterface must be true or false"},
      {"name of the wrong type", kGeneration4Settings, "options", R"({"Name": 5})",
       "vendigo-html: Name must be a text"},
      {"rows not a list", kGeneration4Settings, "options", R"({"Rows": "Small"})",
       "vendigo-html: Rows must be a list of rows"},
      {"row not a list", kGeneration4Settings, "addit", R"({"Rows": [[], {"a": 1}]})",
       "vendigo-html: Rows row 2 must be a list of up to 5 texts (Description, Price, Weight, "
       "Taxable, Smart Tax)"},
      {"number for a price", kGeneration4Settings, "addit", R"({"Rows": [["Mug", 5]]})",
       "vendigo-html: Rows row 1 cell 2 must be a text"},
      {"too many cells", kGeneration4Settings, "options",
       R"({"Rows": [["a", "1", "0", "a", "x"]]})",
       "vendigo-html: Rows row 1 has 5 cells; a row has at most 4 (Description, Price, "
       "Weight, Readable Text)"},
      {"more rows than the grid", kGeneration4Settings, "addit",
       R"({"Rows": [[],[],[],[],[],[],[],[],[],[],[],[],[],[],[],[],[],[],[],[]]})",
       "vendigo-html: Rows has 20 rows; the grid has 19"},
      {"misspelt key", kGeneration4Settings, "options", R"({"rows": []})",
       "vendigo-html: unknown key 'rows' in the input; the keys are Name, Rows"},
      {"not an object", kGeneration4Settings, "addit", "[]",
       "vendigo-html: the input in standard input must be one JSON object"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString settings = WriteFile(QStringLiteral("shop.ini"), c.settings);
    const ProgramRun run = RunProgram(QStringLiteral(VENDIGO_HTML_PATH),
                                      {QStringLiteral("--settings"), settings, c.command}, c.input);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message + "\n");
  }
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

namespace {

// Pages checked: one line per finding and a count, or JSON; status 1 with errors, 0 without.
TEST_F(VendigoHtml, ChecksPagesAndTheirOrders) {
  const QString settings = WriteFile(QStringLiteral("shop.ini"), kShopSettings);
  QDir(folder.path()).mkpath(QStringLiteral("site/sub"));
  WriteFile(QStringLiteral("site/sub/mug.htm"),
            "<form method=post action=/cgi-bin/pellux.cgi>\n<p>Mug $5.00 <input type=hidden "
            "name=pelluxadd value=\"Mug^4.50^1^^\"><input type=submit value=Order!></form>");
  WriteFile(QStringLiteral("site/a.html"), "<a href=/cgi-bin/pellux.cgi>Cart</a>");
  const QString site = folder.filePath(QStringLiteral("site"));
  const std::string mug = site.toStdString() + "/sub/mug.htm";
  const ProgramRun text = RunVendigoHtml({"--settings", settings, "check", site});
  EXPECT_EQ(text.exitCode, 1);
  EXPECT_EQ(text.out, mug +
                          ":2:54: error: the price shown, $5.00, differs from the price sent, "
                          "4.50 [price-differs]\n1 error, 0 warnings in 2 pages\n");
  const ProgramRun json =
      RunVendigoHtml({"--settings", settings, "check", "--format", "json", site});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_EQ(
      nlohmann::json::parse(json.out)["findings"][0]["order"].dump(),
      R"({"action":"/cgi-bin/pellux.cgi","fields":[{"name":"pelluxadd","value":"Mug^4.50^1^^"}],)"
      R"("method":"post","way":"button \"Order!\""})");
  const ProgramRun clean = RunVendigoHtml({"--settings", settings, "check", site + "/a.html"});
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.out, "0 errors, 0 warnings in 1 page\n");
}

}  // namespace
