// Runs the real vendigo-html and compares what it prints, byte for byte.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "builders/simple_elements.h"

namespace {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

ProgramRun RunProgram(const QString &program, const QStringList &arguments,
                      const QByteArray &input = {}) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForStarted()) return {};
  process.write(input);
  process.closeWriteChannel();
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

ProgramRun RunVendigoHtml(const QStringList &arguments) {
  return RunProgram(QStringLiteral(VENDIGO_HTML_PATH), arguments);
}

class VendigoHtml : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }

  QString WriteFile(const QString &name, const QByteArray &bytes) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir folder;
};

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
  const QString program = folder.filePath(QStringLiteral("vendigo-html"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(VENDIGO_HTML_PATH), program));

  ProgramRun run = RunProgram(program, {QStringLiteral("viewcart")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(
      run.out,
      R"(<a href="<Enter the URL to the Pellux CGI Program here>">View Your Shopping Cart</a>)");

  WriteFile(QStringLiteral("pelluxfp.ini"), kShopSettings + "ViewCart=Your cart\r\n");
  run = RunProgram(program, {QStringLiteral("viewcart")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, R"(<a href="/cgi-bin/pellux.cgi">Your cart</a>)");
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
  for (const char *command : {"form", "quantity", "viewcart", "buybutton", "ebay"}) {
    EXPECT_NE(help.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  }
  const ProgramRun version = RunVendigoHtml({QStringLiteral("--version")});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "vendigo-html 3.1.26.167\n");
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
