// The extended option dialog driven through real key presses and clicks on its grid.

#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "dialogs/extended_option_dialog.h"
#include "dialogs/string_grid.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::ClickCell;
using testing::DialogWorld;
using testing::FillRow;
using testing::Tab;
using testing::Type;
using testing::TypeOver;

const std::string kKeyRefused =
    "message: That key is not allowed in this input; it may cause undesirable results.";

}  // namespace

class ExtendedOptionDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DialogWorld> world;
  QPointer<TPelluxOptionsBuilder> dialog;
  StringGrid *grid = nullptr;

  std::vector<std::string> &Events() { return world->messages.events; }

 private slots:
  void init() {
    world = std::make_unique<DialogWorld>();
    dialog = new TPelluxOptionsBuilder(world->context);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    grid = dialog->findChild<StringGrid *>("RadioGrid1");
    QVERIFY(grid);
  }

  void cleanup() {
    delete dialog;
    world.reset();
  }

  void shapedAsTheBuilderGrid() {
    QCOMPARE(dialog->windowTitle(), QString("Extended Option"));
    QCOMPARE(dialog->size(), QSize(527, 237));
    QCOMPARE(dialog->findChild<QPushButton *>("OKBut")->text(), QString("&OK"));
    QCOMPARE(dialog->findChild<QPushButton *>("Button1")->text(), QString("&Cancel"));
    QVERIFY(dialog->findChild<QLineEdit *>("Eopfor")->text().isEmpty());
    QCOMPARE(grid->columnCount(), 4);
    QCOMPARE(grid->DataRowCount(), 19);
    const QStringList titles = {"Description", "Price", "Weight", "Readable Text"};
    const QList<int> widths = {206, 50, 49, 196};
    for (int column = 0; column < 4; ++column) {
      QCOMPARE(grid->Cell(column, 0), titles[column]);
      QCOMPARE(grid->columnWidth(column), widths[column]);
      for (int row = 1; row <= 19; ++row) QVERIFY(grid->Cell(column, row).isEmpty());
    }
    QCOMPARE(grid->rowHeight(0), 18);
    // The editor is shown on the current cell from the start and follows Tab.
    QVERIFY(grid->CellEditor());
    QCOMPARE(grid->CurrentColumn(), 0);
    QCOMPARE(grid->CurrentRow(), 1);
    Tab(grid, 4);
    QVERIFY(grid->CellEditor());
    QCOMPARE(grid->CurrentColumn(), 0);
    QCOMPARE(grid->CurrentRow(), 2);
  }

  void rowsKeepTheirHeightWithALargeFont() {
    QFont large = dialog->font();
    large.setPointSize(24);
    dialog->setFont(large);
    QCOMPARE(grid->horizontalHeader()->height(), 18);
    QCOMPARE(grid->rowHeight(0), 18);
    QCOMPARE(grid->rowHeight(18), 18);
  }

  void cellRules_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("row");  // the row's four cells afterwards

    QTest::newRow("description fills price and weight")
        << 0 << "Small" << QStringList{"Small", "00.00", "0", ""};
    QTest::newRow("letter is dropped") << 1 << "12a" << QStringList{"", "12", "", ""};
    QTest::newRow("minus is dropped") << 1 << "-" << QStringList{"", "", "", ""};
    QTest::newRow("typing goes on after a drop") << 1 << "x5" << QStringList{"", "5", "", ""};
    QTest::newRow("several points pass") << 1 << "2.50.1" << QStringList{"", "2.50.1", "", ""};
    QTest::newRow("weight drops a point") << 2 << "1.5" << QStringList{"", "", "15", ""};
    QTest::newRow("readable text takes anything else")
        << 3 << "Big <b>'x'</b>" << QStringList{"", "", "", "Big <b>'x'</b>"};
  }

  void cellRules() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QStringList, row);
    ClickCell(grid, column, 3);
    Type(grid, typed);
    for (int c = 0; c < 4; ++c) QCOMPARE(grid->Cell(c, 3), row[c]);
    QCOMPARE(grid->CellEditor()->text(), row[column]);
    QVERIFY(Events().empty());
  }

  void filledCellsAreKeptAndEmptiedOnesStayEmpty() {
    Type(grid, "S");
    Tab(grid);
    TypeOver(grid, "");
    QCOMPARE(grid->Cell(1, 1), QString(""));
    Tab(grid);
    TypeOver(grid, "");
    ClickCell(grid, 0, 1);
    QTest::keyClick(grid->CellEditor(), Qt::Key_End);
    Type(grid, "mall");
    QCOMPARE(grid->Cell(0, 1), QString("Small"));
    QCOMPARE(grid->Cell(1, 1), QString("00.00"));
    QCOMPARE(grid->Cell(2, 1), QString("0"));
    ClickCell(grid, 1, 1);
    TypeOver(grid, "3");
    ClickCell(grid, 0, 1);
    QTest::keyClick(grid->CellEditor(), Qt::Key_End);
    Type(grid, "!");
    QCOMPARE(grid->Cell(1, 1), QString("3"));
    // Selecting an emptied price or weight does not fill it.
    TypeOver(grid, "T");
    ClickCell(grid, 1, 1);
    TypeOver(grid, "");
    ClickCell(grid, 2, 1);
    ClickCell(grid, 1, 1);
    QCOMPARE(grid->Cell(1, 1), QString(""));
  }

  void refusedKeysShowTheMessage() {
    Type(grid, "a^b\"c");
    QCOMPARE(grid->Cell(0, 1), QString("abc"));
    QCOMPARE(Events(), (std::vector<std::string>{kKeyRefused, kKeyRefused}));
    Events().clear();
    ClickCell(grid, 3, 2);
    Type(grid, "<>");
    QCOMPARE(grid->Cell(3, 2), QString("<>"));
    QVERIFY(Events().empty());
    // The option name has no filter.
    QTest::keyClicks(dialog->findChild<QLineEdit *>("Eopfor"), "a^\"");
    QCOMPARE(dialog->findChild<QLineEdit *>("Eopfor")->text(), QString("a^\""));
    QVERIFY(Events().empty());
  }

  void readableTextRules_data() {
    QTest::addColumn<QString>("price");  // typed over the price; a null text leaves "00.00"
    QTest::addColumn<QString>("readable");

    QTest::newRow("price above zero") << "2.5"
                                      << "Large --Add $2.5";
    QTest::newRow("price as typed") << "002.50"
                                    << "Large --Add $002.50";
    QTest::newRow("default price") << QString() << "Large";
    QTest::newRow("zero price") << "0.0"
                                << "Large";
    QTest::newRow("lone point") << "."
                                << "Large";
  }

  void readableTextRules() {
    QFETCH(QString, price);
    QFETCH(QString, readable);
    FillRow(grid, 2, {"Large", price});
    Tab(grid, 2);
    QCOMPARE(grid->CurrentColumn(), 3);
    QCOMPARE(grid->Cell(3, 2), readable);
    QCOMPARE(grid->CellEditor()->text(), readable);
    QVERIFY(Events().empty());
  }

  void arrowKeysRunTheSelectionRules() {
    FillRow(grid, 2, {"Large", "2.5"});
    FillRow(grid, 3, {"XL", "2.50.1"});
    ClickCell(grid, 3, 1);
    QTest::keyClick(grid->CellEditor(), Qt::Key_Down);
    QCOMPARE(grid->CurrentRow(), 2);
    QCOMPARE(grid->Cell(3, 2), QString("Large --Add $2.5"));
    QCOMPARE(grid->CellEditor()->text(), QString("Large --Add $2.5"));
    QTest::keyClick(grid->CellEditor(), Qt::Key_Down);
    QCOMPARE(grid->CurrentRow(), 2);
    QCOMPARE(Events(),
             (std::vector<std::string>{"message: '2.50.1' is not a valid floating point value."}));
  }

  void readableTextIsNotReplacedOnceSet() {
    FillRow(grid, 1, {"Large", "2", QString(), "Big one"});
    ClickCell(grid, 0, 1);
    TypeOver(grid, "Huge");
    ClickCell(grid, 3, 1);
    QCOMPARE(grid->Cell(3, 1), QString("Big one"));
    // No description: nothing is filled in.
    ClickCell(grid, 3, 2);
    QCOMPARE(grid->Cell(3, 2), QString(""));
  }

  void unconvertiblePriceRefusesTheMove_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("byTab");
    QTest::newRow("two points, click") << "2.50.1" << false;
    QTest::newRow("two points, tab") << "2.50.1" << true;
    QTest::newRow("emptied price, tab") << "" << true;
  }

  void unconvertiblePriceRefusesTheMove() {
    QFETCH(QString, price);
    QFETCH(bool, byTab);
    FillRow(grid, 1, {"XL", price, "1"});
    if (byTab) {
      Tab(grid);
    } else {
      ClickCell(grid, 3, 1);
    }
    QCOMPARE(Events(), (std::vector<std::string>{"message: '" + price.toStdString() +
                                                 "' is not a valid floating point value."}));
    QCOMPARE(grid->CurrentColumn(), 2);
    QCOMPARE(grid->CurrentRow(), 1);
    QVERIFY(grid->CellEditor());
    QCOMPARE(grid->CellEditor()->text(), QString("1"));
    const QStringList row = {"XL", price, "1", ""};
    for (int c = 0; c < 4; ++c) QCOMPARE(grid->Cell(c, 1), row[c]);
    // Typing goes on in the cell that stayed current.
    QTest::keyClick(grid->CellEditor(), Qt::Key_End);
    Type(grid, "2");
    QCOMPARE(grid->Cell(2, 1), QString("12"));
  }

  void badPriceIsResetBeforeTheReadableText() {
    FillRow(grid, 1, {"XL"});
    // Pasted text is not filtered by keys: only the number check sees it.
    ClickCell(grid, 1, 1);
    grid->CellEditor()->selectAll();
    grid->CellEditor()->insert("4x");  // as a paste would
    QCOMPARE(grid->Cell(1, 1), QString("00.00"));
    grid->SetCell(1, 1, "4x");  // a text no rule has seen yet
    ClickCell(grid, 3, 1);
    QCOMPARE(grid->Cell(1, 1), QString("00.00"));
    QCOMPARE(grid->Cell(3, 1), QString("XL"));
  }

  void okInsertsTheOptionList() {
    QTest::keyClicks(dialog->findChild<QLineEdit *>("Eopfor"), "Size");
    FillRow(grid, 1, {"Small"});
    Tab(grid, 3);  // Readable Text becomes "Small"
    FillRow(grid, 2, {"Moyenne", "2,50", "0.5"});
    Tab(grid);  // Readable Text becomes "Moyenne --Add $2.50"
    QTest::mouseClick(dialog->findChild<QPushButton *>("OKBut"), Qt::LeftButton);
    QCOMPARE(world->Inserted(), std::string("Size: <SELECT NAME=\"eop_Size\">\r\n"
                                            "<OPTION VALUE=\"Small^00.00^0\" SELECTED>Small\r\n"
                                            "<OPTION VALUE=\"Moyenne^2.50^05\">"
                                            "Moyenne --Add $2.50\r\n</SELECT>"));
    QVERIFY(Events().empty());
    QVERIFY(dialog->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
  }

  void longOptionNameIsKeptWhole() {
    const QString name(40000, QLatin1Char('n'));
    dialog->findChild<QLineEdit *>("Eopfor")->insert(name);  // as a paste would
    QTest::mouseClick(dialog->findChild<QPushButton *>("OKBut"), Qt::LeftButton);
    const std::string n = name.toStdString();
    QCOMPARE(world->Inserted(), n + ": <SELECT NAME=\"eop_" + n + "\">\r\n</SELECT>");
  }

  void okWithoutADocumentEndsTheProgram() {
    world->host->CloseAllDocuments();
    QTest::mouseClick(dialog->findChild<QPushButton *>("OKBut"), Qt::LeftButton);
    QCOMPARE(Events(), (std::vector<std::string>{"message: No document is open!", "end program"}));
    QVERIFY(world->host->Documents().empty());
  }

  void cancelInsertsNothing() {
    FillRow(grid, 1, {"Small"});
    QTest::mouseClick(dialog->findChild<QPushButton *>("Button1"), Qt::LeftButton);
    QVERIFY(dialog->isHidden());
    QCOMPARE(world->Inserted(), std::string());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
  }

  void columnTitlesAreNoCells() {
    FillRow(grid, 1, {"Small"});
    QHeaderView *titles = grid->horizontalHeader();
    for (int column = 0; column < 4; ++column) {
      const QPoint title(titles->sectionViewportPosition(column) + 5, titles->height() / 2);
      QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, title);
      QCOMPARE(grid->CurrentColumn(), 0);
      QCOMPARE(grid->CurrentRow(), 1);
    }
    QCOMPARE(grid->Cell(3, 1), QString(""));
    QVERIFY(Events().empty());
  }

  void columnsCanBeResizedByTheirTitles() {
    QHeaderView *titles = grid->horizontalHeader();
    QWidget *titleBar = titles->viewport();
    const int y = titles->height() / 2;
    const int border = titles->sectionViewportPosition(1) - 1;
    QTest::mousePress(titleBar, Qt::LeftButton, Qt::NoModifier, QPoint(border, y));
    QTest::mouseMove(titleBar, QPoint(border + 40, y));
    QTest::mouseRelease(titleBar, Qt::LeftButton, Qt::NoModifier, QPoint(border + 40, y));
    QCOMPARE(grid->columnWidth(0), 246);
    QCOMPARE(grid->CurrentColumn(), 0);
    QVERIFY(Events().empty());
  }

  void escapeInTheGridCancels() {
    FillRow(grid, 1, {"Small"});
    QTest::keyClick(grid->CellEditor(), Qt::Key_Escape);
    QVERIFY(dialog->isHidden());
    QCOMPARE(world->Inserted(), std::string());
  }
};

}  // namespace vendigo

QTEST_MAIN(vendigo::ExtendedOptionDialogTest)
#include "extended_option_dialog_test.moc"
