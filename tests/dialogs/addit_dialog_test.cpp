// The addit builder dialog driven through real key presses and clicks on its grid.

#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/addit_dialog.h"
#include "dialogs/string_grid.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::ClickCell;
using testing::DialogWorld;
using testing::FillRow;
using testing::Type;

const std::string kKeyRefused =
    "message: That key is not allowed in this input; it may cause undesirable results.";
const std::string kQuestion =
    "ask: Would you like to insert this information as an entire product interface including a "
    "form container and order button?\r\rChoose Yes to create the entire product interface "
    "including the form container and order button.\r\rChoose No if you have already created a "
    "form container.";

const std::string kTableHead =
    R"(<CENTER><DIV ALIGN="center"><TABLE WIDTH="400" CELLPADDING="3" CELLSPACING="1" BORDER="1">)"
    R"(<TR><TH>Buy</TH><TH>Description</TH><TH>Price</TH></TR>)";
const std::string kMugRow =
    R"(<TR><TD align="center"><INPUT TYPE="checkbox" NAME="addit" VALUE="Mug^1,234.50^2^^"></TD>)"
    R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$1,234.50</FONT></TD></TR>)"
    "\r\n";
const std::string kTableFoot = "</TABLE></DIV></CENTER>";

// The whole product interface around table, with the world's settings, closed.
std::string ProductInterface(const std::string &table) {
  return "<FORM ACTION=\"/cgi-bin/pellux.cgi\" METHOD=\"POST\">\r\n"
         "    <CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" "
         "CELLSPACING=\"1\" BORDER=\"0\">\r\n"
         "   <TR>       <td>Ordering Instructions: <ol TYPE=\"1\">\r\n"
         "        <li>?\?\?</li>\r\n"
         "        <li>?\?\?</li>\r\n"
         "        <li>?\?\?</li>\r\n"
         "      </ol>\r\n"
         "      </td></TR></TABLE></CENTER></DIV>\r\n"
         "\r\n" +
         table +
         "\r\n"
         "\r\n"
         "<P ALIGN=\"CENTER\"><INPUT TYPE=\"SUBMIT\" VALUE=\"Buy now\"></P>\r\n"
         "</form>\r\n"
         "<p>\r\n"
         "<center><a href=\"/cgi-bin/pellux.cgi\">View Your Shopping Cart</a></center>\r\n"
         "</p>\r\n"
         "<P> &nbsp;</P>";
}

}  // namespace

class AddItDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DialogWorld> world;
  QPointer<TAddBuilder> dialog;
  StringGrid *grid = nullptr;

  void Open(int generation) {
    world = std::make_unique<DialogWorld>();
    world->settings.PelluxGeneration = generation;
    world->settings.OrderButton = "Buy now";
    dialog = new TAddBuilder(world->context);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    grid = dialog->findChild<StringGrid *>("RadioGrid1");
    QVERIFY(grid);
  }

  QRadioButton *Radio(const char *name) { return dialog->findChild<QRadioButton *>(name); }
  void ClickOk() { QTest::mouseClick(dialog->findChild<QPushButton *>("OKBut"), Qt::LeftButton); }
  std::vector<std::string> &Events() { return world->messages.events; }

 private slots:
  void cleanup() {
    delete dialog;
    world.reset();
  }

  void shapedByTheGeneration_data() {
    QTest::addColumn<int>("generation");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<bool>("quantityTable");

    QTest::newRow("generation 3") << 3 << QStringList{"Description", "Price", "Weight"}
                                  << QList<int>{282, 61, 64} << false;
    QTest::newRow("generation 4") << 4
                                  << QStringList{"Description", "Price", "Weight", "Taxable",
                                                 "Smart Tax"}
                                  << QList<int>{282, 61, 64, 55, 61} << true;
    QTest::newRow("generation 5 is not 4")
        << 5 << QStringList{"Description", "Price", "Weight"} << QList<int>{282, 61, 64} << false;
  }

  void shapedByTheGeneration() {
    QFETCH(int, generation);
    QFETCH(QStringList, titles);
    QFETCH(QList<int>, widths);
    QFETCH(bool, quantityTable);
    Open(generation);
    QCOMPARE(dialog->windowTitle(), QString("AddIt and Quantity Add Builder"));
    QCOMPARE(dialog->size(), QSize(563, 335));
    QCOMPARE(grid->columnCount(), titles.size());
    QCOMPARE(grid->DataRowCount(), 19);
    for (int column = 0; column < titles.size(); ++column) {
      QCOMPARE(grid->Cell(column, 0), titles[column]);
      QCOMPARE(grid->columnWidth(column), widths[column]);
    }
    QCOMPARE(grid->rowHeight(0), 18);
    QVERIFY(grid->CellEditor());
    QVERIFY(Radio("CHBUT")->isChecked());
    QCOMPARE(Radio("CHBUT")->text(), QString("AddIt Checkbox Table"));
    QCOMPARE(Radio("RABUT")->text(), QString("AddIt Radio Table"));
    QCOMPARE(Radio("SEBUT")->text(), QString("AddIt Select List Only"));
    QCOMPARE(Radio("Qadd")->text(), QString("Make Quantity Add Table"));
    QCOMPARE(Radio("Qadd")->isEnabled(), quantityTable);
  }

  void cellRules_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("row");  // the five cells afterwards

    QTest::newRow("description fills") << 0 << "Mug" << QStringList{"Mug", "00.00", "0", "", ""};
    QTest::newRow("letter in price") << 1 << "1e" << QStringList{"", "1", "", "", ""};
    QTest::newRow("point in weight") << 2 << "2." << QStringList{"", "", "2", "", ""};
    QTest::newRow("taxable 1") << 3 << "1" << QStringList{"", "", "", "1", ""};
    QTest::newRow("taxable 0") << 3 << "0" << QStringList{"", "", "", "0", ""};
    QTest::newRow("taxable 2") << 3 << "2" << QStringList{"", "", "", "", ""};
    QTest::newRow("taxable 10") << 3 << "10" << QStringList{"", "", "", "", ""};
    QTest::newRow("taxable x1") << 3 << "x1" << QStringList{"", "", "", "1", ""};
    QTest::newRow("smart tax has no rule") << 4 << "TX.9" << QStringList{"", "", "", "", "TX.9"};
  }

  void cellRules() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QStringList, row);
    Open(4);
    ClickCell(grid, column, 5);
    Type(grid, typed);
    for (int c = 0; c < 5; ++c) QCOMPARE(grid->Cell(c, 5), row[c]);
    QVERIFY(Events().empty());
  }

  void refusedKeysShowTheMessage() {
    Open(3);
    Type(grid, "<b>12\" ^Ruler");
    QCOMPARE(grid->Cell(0, 1), QString("b12\" Ruler"));
    ClickCell(grid, 1, 1);
    Type(grid, "<5>");  // reported before the price cell's own filter drops them
    QCOMPARE(Events(), std::vector<std::string>(5, kKeyRefused));
  }

  void tablesAskTheQuestion_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("checkbox table, No")
        << "CHBUT" << false
        << QString::fromStdString(kTableHead + kMugRow + kTableFoot + "<P> &nbsp;</P>");
    QTest::newRow("checkbox table, Yes")
        << "CHBUT" << true
        << QString::fromStdString(ProductInterface(kTableHead + kMugRow + kTableFoot));
    std::string radioRow = kMugRow;
    radioRow.replace(radioRow.find("checkbox"), 8, "radio");
    QTest::newRow("radio table, No")
        << "RABUT" << false
        << QString::fromStdString(kTableHead + radioRow + kTableFoot + "<P> &nbsp;</P>");
  }

  void tablesAskTheQuestion() {
    QFETCH(QString, mode);
    QFETCH(bool, yes);
    QFETCH(QString, expected);
    Open(3);
    QTest::mouseClick(Radio(mode.toLatin1().constData()), Qt::LeftButton);
    FillRow(grid, 1, {"Mug", "1234.5", "2"});
    world->messages.answers.push_back(yes);
    ClickOk();
    QCOMPARE(Events(), std::vector<std::string>{kQuestion});
    QCOMPARE(QString::fromStdString(world->Inserted()), expected);
    QVERIFY(dialog->isHidden());
  }

  void selectListAsksNothing() {
    Open(4);
    QTest::mouseClick(Radio("SEBUT"), Qt::LeftButton);
    FillRow(grid, 2, {"Blue \"Shirt\"", "12,5", "0.1", "1", "0"});
    FillRow(grid, 3, {"Cap", "1.2.3"});  // a price that does not convert: left out
    ClickOk();
    QVERIFY(Events().empty());
    QCOMPARE(world->Inserted(),
             std::string("<SELECT NAME=\"addit\">\r\n"
                         "<OPTION VALUE=\"Blue &quot;Shirt&quot;^12.50^01^1^0\">Blue "
                         "&quot;Shirt&quot; -- $12.50\r\n"
                         "</SELECT><P> &nbsp;</P>"));
  }

  void quantityTableForGeneration4() {
    Open(4);
    QTest::mouseClick(Radio("Qadd"), Qt::LeftButton);
    QVERIFY(Radio("Qadd")->isChecked());
    FillRow(grid, 1, {"Mug", "5", "2", "1", "0"});
    ClickOk();
    QCOMPARE(Events(), std::vector<std::string>{kQuestion});
    QCOMPARE(
        world->Inserted(),
        kTableHead +
            R"(<TR><TD align="center"><INPUT TYPE="TEXT" SIZE="3" MAXLENGTH="3" NAME="pelluxqa_Mug_5.00_2_1_0" VALUE="0"></TD>)"
            R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$5.00</FONT></TD></TR>)"
            "\r\n" +
            kTableFoot + "<P> &nbsp;</P>");
  }

  void generation3IgnoresTheDisabledQuantityTable() {
    Open(3);
    QTest::mouseClick(Radio("Qadd"), Qt::LeftButton);
    QVERIFY(Radio("CHBUT")->isChecked());
    QVERIFY(!Radio("Qadd")->isChecked());
  }

  void emptyGridWithYesStillWraps() {
    Open(3);
    world->messages.answers.push_back(true);
    ClickOk();
    QCOMPARE(Events(), std::vector<std::string>{kQuestion});
    QCOMPARE(world->Inserted(), ProductInterface(kTableHead + kTableFoot));
  }

  void okWithoutADocumentEndsTheProgramAfterTheQuestion() {
    Open(3);
    world->host->CloseAllDocuments();
    ClickOk();
    QCOMPARE(Events(),
             (std::vector<std::string>{kQuestion, "message: No document is open!", "end program"}));
  }

  void cancelInsertsNothing() {
    Open(4);
    FillRow(grid, 1, {"Mug"});
    QTest::mouseClick(dialog->findChild<QPushButton *>("Button1"), Qt::LeftButton);
    QVERIFY(dialog->isHidden());
    QCOMPARE(world->Inserted(), std::string());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
  }
};

}  // namespace vendigo

QTEST_MAIN(vendigo::AddItDialogTest)
#include "addit_dialog_test.moc"
