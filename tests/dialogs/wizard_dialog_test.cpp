#include "dialogs/wizard_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/settings.h"
#include "dialogs/string_grid.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::DialogWorld;
using testing::RecordingMessages;
using testing::TempFolder;

// One key sequence typed into a grid cell; a "\t" inside presses Tab and goes on typing in the
// cell that Tab moves to. Rows in these tests count from 0, the first data row.
struct Typing {
  int row;
  int column;
  QString keys;
};

Settings Shop(int generation) {
  Settings settings;
  settings.Company = "Tea House";
  settings.Currency = "$";
  settings.OrderButton = "Add to Cart";
  settings.CGI_BIN = "http://shop.example/cgi-bin/pellux.cgi";
  settings.ViewCart = "View Cart";
  settings.PelluxGeneration = generation;
  return settings;
}

void WritePicture(const std::filesystem::path &file, int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  QVERIFY(picture.save(QString::fromStdString(file.string())));
}

// A wizard over an in-memory editor with one open document, in a program folder of its own.
class Harness {
 public:
  explicit Harness(int generation = 4, const std::filesystem::path &programDir = {}) {
    world.settings = Shop(generation);
    if (!programDir.empty()) world.context.programDir = programDir.string();
  }
  ~Harness() { delete dialog; }

  // Creates and shows the wizard; template files must be written before.
  T_PelluxFP *Open() {
    dialog = world.Open<T_PelluxFP>();
    return dialog;
  }

  template <typename T>
  T *Find(const char *name) const {
    return testing::Child<T>(dialog, name);
  }
  StringGrid *Grid(const char *name) const { return Find<StringGrid>(name); }

  void WriteFile(const std::string &name, const std::string &bytes) {
    TempFolder::WriteBytes(folder.path() / name, bytes);
  }

  void ClickTemplate(const QString &name) {
    auto *list = Find<QListWidget>("FileListBox1");
    const QList<QListWidgetItem *> items = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
  }
  void Click(const char *button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
  void Type(const char *edit, const QString &keys) {
    QTest::keyClicks(Find<QLineEdit>(edit), keys);
  }

  // Makes the cell current, as the keyboard would, and types the keys into its editor.
  void TypeInGrid(StringGrid *grid, const Typing &typing) {
    grid->setCurrentCell(typing.row, typing.column);
    QVERIFY(grid->CellEditor() != nullptr);
    for (const QChar key : typing.keys) {
      if (key == '\t') {
        testing::Tab(grid);
        QVERIFY(grid->CellEditor() != nullptr);
      } else {
        testing::Type(grid, QString(key));
      }
    }
  }
  void ShowPage(int page) { Find<QStackedWidget>("Notebook1")->setCurrentIndex(page); }

  // "page 1: back on, next off, finish off"
  QString ButtonStates() const {
    auto state = [this](const char *name) {
      return Find<QPushButton>(name)->isEnabled() ? QString("on") : QString("off");
    };
    return QString("page %1: back %2, next %3, finish %4")
        .arg(dialog->CurrentPage())
        .arg(state("BackBut"), state("nextBut"), state("FinBut"));
  }

  std::string InsertedText() const { return world.Inserted(); }
  MemoryEditorHost &Host() { return *world.host; }

  DialogWorld world;
  TempFolder &folder = world.programDir;
  RecordingMessages &messages = world.messages;
  QPointer<T_PelluxFP> dialog;
};

QStringList RowTexts(const StringGrid *grid, int row) {
  QStringList cells;
  for (int column = 0; column < grid->columnCount(); ++column) cells << grid->Cell(column, row + 1);
  return cells;
}

// Lets the deferred deletion of a closed wizard happen.
void ProcessDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const char kPlainTemplate[] = "<p>%zf_description%</p>";

}  // namespace
}  // namespace vendigo

Q_DECLARE_METATYPE(vendigo::Typing)
Q_DECLARE_METATYPE(QList<vendigo::Typing>)
Q_DECLARE_METATYPE(std::string)

namespace vendigo {

class WizardTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsOnTheTemplatePage();
  void GridShape_data();
  void GridShape();
  void NavigationAndButtons();
  void EditKeyFilters_data();
  void EditKeyFilters();
  void GridRules_data();
  void GridRules();
  void OptionGridsShowWhileNamed();
  void TemplateChosenByMouseRelease();
  void KeyboardSelectionLoadsTheTemplate();
  void ImageChoiceAndCancel();
  void ImagePreviewThatCannotBeWritten();
  void InstalledCopyUsesTheUsersFolders();
  void FinishWithoutTemplate();
  void FinishInsertsThePage_data();
  void FinishInsertsThePage();
  void FinishWithoutOpenDocumentEndsTheProgram();
  void TheLastPageNamesWhatTheTemplateWillNotShow();
  void ShippedTemplates_data();
  void ShippedTemplates();
  void CancelClosesWithoutInserting_data();
  void CancelClosesWithoutInserting();
};

void WizardTest::StartsOnTheTemplatePage() {
  Harness h;
  h.WriteFile("b.zft", kPlainTemplate);
  h.WriteFile("A.ZFT", kPlainTemplate);
  h.WriteFile("notes.txt", "not a template");
  T_PelluxFP *dialog = h.Open();

  QCOMPARE(dialog->windowTitle(), QString("Pellux Vendigo Product Page Wizard"));
  QCOMPARE(dialog->size(), QSize(567, 324));
  // A fixed dialog frame, centred on the screen, and not above every other window.
  QVERIFY(dialog->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
  QVERIFY(!(dialog->windowFlags() & Qt::WindowStaysOnTopHint));
  QCOMPARE(dialog->frameGeometry().center(), dialog->screen()->availableGeometry().center());
  QCOMPARE(h.Find<QStackedWidget>("Notebook1")->currentIndex(), 0);
  QCOMPARE(h.Find<QTabWidget>("PageControl1")->currentIndex(), 0);
  QCOMPARE(h.Find<QCheckBox>("CheckBox1")->checkState(), Qt::PartiallyChecked);
  QVERIFY(h.Find<QRadioButton>("RadioButton1")->isChecked());
  QVERIFY(!h.Grid("MultDesGrid")->isEnabled());
  QVERIFY(!h.Find<QToolButton>("Image1")->isEnabled());
  QCOMPARE(h.Find<QLineEdit>("Description")->maxLength(), 230);
  QCOMPARE(h.ButtonStates(), QString("page 0: back off, next off, finish off"));

  auto *list = h.Find<QListWidget>("FileListBox1");
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  QCOMPARE(names, QStringList({"A.ZFT", "b.zft"}));
  QVERIFY(h.messages.events.empty());
}

void WizardTest::GridShape_data() {
  QTest::addColumn<int>("generation");
  QTest::addColumn<QString>("grid");
  QTest::addColumn<int>("rows");
  QTest::addColumn<QStringList>("headers");
  QTest::addColumn<QList<int>>("widths");

  const QStringList description = {"Cart Description", "Price",     "Weight",
                                   "Taxable",          "Smart Tax", "Readable Text"};
  const QStringList option = {"Cart Description", "Price", "Weight", "Readable Text"};
  const QStringList related = {"Cart Description", "Price", "Weight", "Taxable", "Smart Tax"};
  QTest::newRow("descriptions, generation 4")
      << 4 << "MultDesGrid" << 29 << description << QList<int>{213, 70, 50, 61, 63, 307};
  QTest::newRow("descriptions, generation 3")
      << 3 << "MultDesGrid" << 29 << description.mid(0, 3) << QList<int>{213, 70, 50};
  QTest::newRow("related, generation 4")
      << 4 << "AddIt" << 29 << related << QList<int>{261, 64, 58, 64, 64};
  QTest::newRow("related, generation 3")
      << 3 << "AddIt" << 29 << related.mid(0, 3) << QList<int>{261, 64, 58};
  for (const char *grid : {"Eop1Grid", "eop2grid", "eop3grid"}) {
    for (int generation : {3, 4}) {
      QTest::addRow("%s, generation %d", grid, generation)
          << generation << grid << 49 << option << QList<int>{197, 67, 71, 184};
    }
  }
}

void WizardTest::GridShape() {
  QFETCH(int, generation);
  QFETCH(QString, grid);
  QFETCH(int, rows);
  QFETCH(QStringList, headers);
  QFETCH(QList<int>, widths);
  Harness h(generation);
  h.Open();
  const StringGrid *table = h.Grid(grid.toUtf8().constData());

  QCOMPARE(table->rowCount(), rows);
  QStringList shownHeaders;
  QList<int> shownWidths;
  for (int column = 0; column < table->columnCount(); ++column) {
    shownHeaders << table->horizontalHeaderItem(column)->text();
    shownWidths << table->columnWidth(column);
  }
  QCOMPARE(shownHeaders, headers);
  QCOMPARE(shownWidths, widths);
  QCOMPARE(table->rowHeight(0), 18);
  // The tax controls are there only for generation 4.
  for (const char *name : {"CheckBox1", "SmartTaxCodeLabel", "SmartTaxCode"}) {
    QCOMPARE(h.Find<QWidget>(name)->isHidden(), generation != 4);
  }
}

void WizardTest::NavigationAndButtons() {
  struct Step {
    const char *action;
    std::function<void(Harness &)> act;
    const char *expected;
  };
  const std::vector<Step> steps = {
      {"nothing yet", [](Harness &) {}, "page 0: back off, next off, finish off"},
      {"click a template", [](Harness &h) { h.ClickTemplate("shop.zft"); },
       "page 0: back off, next on, finish off"},
      {"next", [](Harness &h) { h.Click("nextBut"); }, "page 1: back on, next off, finish off"},
      {"description", [](Harness &h) { h.Type("Description", "Mug"); },
       "page 1: back on, next off, finish off"},
      {"price", [](Harness &h) { h.Type("Price", "4.50"); },
       "page 1: back on, next off, finish off"},
      {"weight", [](Harness &h) { h.Type("ProductWeight", "2"); },
       "page 1: back on, next on, finish on"},
      {"weight cleared",
       [](Harness &h) { QTest::keyClick(h.Find<QLineEdit>("ProductWeight"), Qt::Key_Backspace); },
       "page 1: back on, next off, finish off"},
      {"weight again", [](Harness &h) { h.Type("ProductWeight", "3"); },
       "page 1: back on, next on, finish on"},
      {"multiple mode", [](Harness &h) { h.Find<QRadioButton>("RadioButton2")->click(); },
       "page 1: back on, next off, finish off"},
      {"row 1 described",
       [](Harness &h) {
         h.TypeInGrid(h.Grid("MultDesGrid"), {0, 0, "Mug"});
       },
       "page 1: back on, next on, finish on"},
      {"row 1 emptied",
       [](Harness &h) {
         h.Grid("MultDesGrid")->setCurrentCell(0, 0);
         testing::TypeOver(h.Grid("MultDesGrid"), "");
       },
       "page 1: back on, next off, finish off"},
      {"single mode", [](Harness &h) { h.Find<QRadioButton>("RadioButton1")->click(); },
       "page 1: back on, next on, finish on"},
      {"next to the image", [](Harness &h) { h.Click("nextBut"); },
       "page 2: back on, next on, finish on"},
      // Away from page 1, Next only needs a template; Finish still needs the item.
      {"description cleared elsewhere",
       [](Harness &h) { h.Find<QLineEdit>("Description")->clear(); },
       "page 2: back on, next on, finish off"},
      {"description again", [](Harness &h) { h.Type("Description", "Cup"); },
       "page 2: back on, next on, finish on"},
      {"next to the long text", [](Harness &h) { h.Click("nextBut"); },
       "page 3: back on, next on, finish on"},
      {"next to the options", [](Harness &h) { h.Click("nextBut"); },
       "page 4: back on, next on, finish on"},
      {"next to the related products", [](Harness &h) { h.Click("nextBut"); },
       "page 5: back on, next off, finish on"},
      {"previous", [](Harness &h) { h.Click("BackBut"); }, "page 4: back on, next on, finish on"},
      {"previous", [](Harness &h) { h.Click("BackBut"); }, "page 3: back on, next on, finish on"},
      {"previous", [](Harness &h) { h.Click("BackBut"); }, "page 2: back on, next on, finish on"},
      {"previous", [](Harness &h) { h.Click("BackBut"); }, "page 1: back on, next on, finish on"},
      {"previous", [](Harness &h) { h.Click("BackBut"); }, "page 0: back off, next on, finish on"},
  };

  Harness h;
  h.WriteFile("shop.zft", kPlainTemplate);
  h.Open();
  for (const Step &step : steps) {
    step.act(h);
    QVERIFY2(h.ButtonStates() == step.expected,
             qPrintable(QString("%1 gives %2").arg(step.action, h.ButtonStates())));
    QCOMPARE(h.Find<QStackedWidget>("Notebook1")->currentIndex(), h.dialog->CurrentPage());
  }
}

void WizardTest::EditKeyFilters_data() {
  QTest::addColumn<QString>("edit");
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("expected");
  QTest::newRow("price takes digits and points") << "Price"
                                                 << "12a.5"
                                                 << "12.5";
  QTest::newRow("price refuses signs and blanks") << "Price"
                                                  << "-1, 2$"
                                                  << "1.2";
  QTest::newRow("price keeps backspace") << "Price"
                                         << "12\b3"
                                         << "13";
  QTest::newRow("weight refuses the point") << "ProductWeight"
                                            << "1.5"
                                            << "15";
  QTest::newRow("weight keeps backspace") << "ProductWeight"
                                          << "9\b7"
                                          << "7";
  QTest::newRow("description takes everything") << "Description"
                                                << "a^\"<b>"
                                                << "a^\"<b>";
  QTest::newRow("smart tax code takes everything") << "SmartTaxCode"
                                                   << "T.x^1"
                                                   << "T.x^1";
}

void WizardTest::EditKeyFilters() {
  QFETCH(QString, edit);
  QFETCH(QString, keys);
  QFETCH(QString, expected);
  Harness h;
  h.Open();
  h.ShowPage(1);
  auto *field = h.Find<QLineEdit>(edit.toUtf8().constData());
  for (const QChar key : keys) {
    if (key == '\b') {
      QTest::keyClick(field, Qt::Key_Backspace);
    } else {
      QTest::keyClicks(field, QString(key));
    }
  }
  QCOMPARE(field->text(), expected);
}

void WizardTest::GridRules_data() {
  QTest::addColumn<QString>("grid");
  QTest::addColumn<QList<Typing>>("typings");
  QTest::addColumn<int>("row");
  QTest::addColumn<QStringList>("expected");

  const QString multi = "MultDesGrid";
  QTest::newRow("price column refuses a letter")
      << multi << QList<Typing>{{0, 1, "12a.5"}} << 0 << QStringList{"", "12.5", "", "", "", ""};
  QTest::newRow("weight column refuses the point")
      << multi << QList<Typing>{{0, 2, "1.5"}} << 0 << QStringList{"", "", "15", "", "", ""};
  QTest::newRow("description fills price and weight")
      << multi << QList<Typing>{{2, 0, "Mug"}} << 2 << QStringList{"Mug", "00.00", "0", "", "", ""};
  QTest::newRow("a typed price stays") << multi << QList<Typing>{{0, 1, "4.50"}, {0, 0, "Mug"}} << 0
                                       << QStringList{"Mug", "4.50", "0", "", "", ""};
  QTest::newRow("tab moves on to the next cell") << multi << QList<Typing>{{0, 0, "Mug\t7\t3"}} << 0
                                                 << QStringList{"Mug", "7", "3", "", "", ""};
  QTest::newRow("taxable 2 is emptied")
      << multi << QList<Typing>{{0, 3, "2"}} << 0 << QStringList{"", "", "", "", "", ""};
  QTest::newRow("taxable 10 is emptied")
      << multi << QList<Typing>{{0, 3, "10"}} << 0 << QStringList{"", "", "", "", "", ""};
  QTest::newRow("taxable 1 stays")
      << multi << QList<Typing>{{0, 3, "1"}} << 0 << QStringList{"", "", "", "1", "", ""};
  QTest::newRow("taxable 0 stays")
      << multi << QList<Typing>{{0, 3, "0"}} << 0 << QStringList{"", "", "", "0", "", ""};
  QTest::newRow("taxable drops a key that cannot belong")
      << multi << QList<Typing>{{0, 3, "1x"}} << 0 << QStringList{"", "", "", "1", "", ""};
  QTest::newRow("smart tax and readable text take any key")
      << multi << QList<Typing>{{0, 4, "T^\"1"}, {0, 5, "a.b<"}} << 0
      << QStringList{"", "", "", "", "T^\"1", "a.b<"};
  QTest::newRow("readable text with a price")
      << multi << QList<Typing>{{0, 1, "4.50"}, {0, 0, "Mug"}, {0, 5, ""}} << 0
      << QStringList{"Mug", "4.50", "0", "", "", "Mug -- $4.50"};
  QTest::newRow("readable text with the default price")
      << multi << QList<Typing>{{0, 0, "Mug"}, {0, 5, ""}} << 0
      << QStringList{"Mug", "00.00", "0", "", "", "Mug"};
  QTest::newRow("readable text with a price that is no number")
      << multi << QList<Typing>{{0, 1, "1.2.3"}, {0, 0, "Mug"}, {0, 5, ""}} << 0
      << QStringList{"Mug", "1.2.3", "0", "", "", "Mug"};
  QTest::newRow("readable text of an empty row stays empty")
      << multi << QList<Typing>{{0, 5, ""}} << 0 << QStringList{"", "", "", "", "", ""};
  QTest::newRow("readable text typed is never overwritten")
      << multi << QList<Typing>{{0, 5, "Own"}, {0, 1, "3"}, {0, 0, "Cup"}, {0, 5, ""}} << 0
      << QStringList{"Cup", "3", "0", "", "", "Own"};

  QTest::newRow("option readable text with a price")
      << "Eop1Grid" << QList<Typing>{{1, 1, "2"}, {1, 0, "Large"}, {1, 3, ""}} << 1
      << QStringList{"Large", "2", "0", "Large -- Add $2"};
  QTest::newRow("option readable text with the default price")
      << "eop2grid" << QList<Typing>{{0, 0, "Small"}, {0, 3, ""}} << 0
      << QStringList{"Small", "00.00", "0", "Small"};
  QTest::newRow("option price and weight filters")
      << "eop3grid" << QList<Typing>{{0, 1, "x9.5"}, {0, 2, "2.5"}} << 0
      << QStringList{"", "9.5", "25", ""};
  QTest::newRow("option readable text is no taxable cell")
      << "Eop1Grid" << QList<Typing>{{0, 3, "10"}} << 0 << QStringList{"", "", "", "10"};

  QTest::newRow("related description fills price and weight")
      << "AddIt" << QList<Typing>{{4, 0, "Tray"}} << 4 << QStringList{"Tray", "00.00", "0", "", ""};
  QTest::newRow("related taxable 5 is emptied")
      << "AddIt" << QList<Typing>{{0, 3, "5"}} << 0 << QStringList{"", "", "", "", ""};
  // The "x" is dropped as it is typed, so the "1" after it stands alone.
  QTest::newRow("related taxable x1 keeps the 1")
      << "AddIt" << QList<Typing>{{0, 3, "x1"}} << 0 << QStringList{"", "", "", "1", ""};
  QTest::newRow("related taxable 1 stays")
      << "AddIt" << QList<Typing>{{0, 3, "1"}} << 0 << QStringList{"", "", "", "1", ""};
  QTest::newRow("related taxable drops a key that cannot belong")
      << "AddIt" << QList<Typing>{{0, 3, "0-"}} << 0 << QStringList{"", "", "", "0", ""};
  QTest::newRow("related price filter")
      << "AddIt" << QList<Typing>{{0, 1, "3,5"}} << 0 << QStringList{"", "3.5", "", "", ""};
}

void WizardTest::GridRules() {
  QFETCH(QString, grid);
  QFETCH(QList<Typing>, typings);
  QFETCH(int, row);
  QFETCH(QStringList, expected);
  Harness h;
  h.Open();
  if (grid == "MultDesGrid") {
    h.ShowPage(1);
    h.Find<QRadioButton>("RadioButton2")->click();
  } else if (grid == "AddIt") {
    h.ShowPage(5);
  } else {
    // An option grid shows once its tab has a name.
    const int group = grid == "Eop1Grid" ? 0 : (grid == "eop2grid" ? 1 : 2);
    h.ShowPage(4);
    h.Find<QTabWidget>("PageControl1")->setCurrentIndex(group);
    h.Type(QString("eop%1text").arg(group + 1).toUtf8().constData(), "Size");
  }
  StringGrid *table = h.Grid(grid.toUtf8().constData());
  QVERIFY(table->isVisible());
  for (const Typing &typing : typings) h.TypeInGrid(table, typing);
  QCOMPARE(RowTexts(table, row), expected);
  QVERIFY(h.messages.events.empty());
}

void WizardTest::OptionGridsShowWhileNamed() {
  Harness h;
  h.Open();
  h.ShowPage(4);
  const char *const names[][2] = {
      {"eop1text", "Eop1Grid"}, {"eop2text", "eop2grid"}, {"eop3text", "eop3grid"}};
  auto *tabs = h.Find<QTabWidget>("PageControl1");
  for (int group = 0; group < 3; ++group) {
    tabs->setCurrentIndex(group);
    auto *name = h.Find<QLineEdit>(names[group][0]);
    StringGrid *grid = h.Grid(names[group][1]);
    QVERIFY(grid->isHidden());
    QTest::keyClicks(name, "Hue");
    QVERIFY(!grid->isHidden());
    h.TypeInGrid(grid, {0, 0, "Red"});
    for (int i = 0; i < 3; ++i) QTest::keyClick(name, Qt::Key_Backspace);
    QVERIFY(grid->isHidden());
    QTest::keyClicks(name, "H");
    QVERIFY(!grid->isHidden());
    QCOMPARE(RowTexts(grid, 0), QStringList({"Red", "00.00", "0", ""}));
  }
}

void WizardTest::TemplateChosenByMouseRelease() {
  struct Step {
    const char *click;
    QStringList shown;  // Author, License, E-mail
    bool promptsClickable;
    QSize picture;
    std::vector<std::string> messages;
    std::string text;
  };
  Harness h;
  const auto &dir = h.folder.path();
  WritePicture(dir / "a.bmp", 10, 7);
  WritePicture(dir / "no_pre.bmp", 4, 3);
  h.WriteFile("broken.bmp", "not a picture");
  h.WriteFile("a.zft", "<p>A</p>\n<p>%zf_price%</p>");
  h.WriteFile("a.inf",
              "[PROFILE]\nAuthor=Ann\nLicense=\"GPL\"\nEmail = ann@example.com \n"
              "prompt1=Fill in the price.\nprompt2=Then pick options.\nimage=a.bmp\n");
  h.WriteFile("b.ZFT", "B\r\nB2\rB3");
  h.WriteFile("c.zft", "C");
  h.WriteFile("c.inf", "[profile]\nauthor=Cy\nprompt2=Only two\nimage=missing.bmp\n");
  h.WriteFile("d.zft", "D");
  h.WriteFile("d.inf", "[PROFILE]\nimage=broken.bmp\n");
  const std::vector<Step> steps = {
      {"a.zft",
       {"Ann", "GPL", "ann@example.com"},
       true,
       {10, 7},
       {},
       "<p>A</p>\r\n<p>%zf_price%</p>"},
      // No profile: the defaults, and the picture of the template before stays.
      {"b.ZFT", {"Anonymous", "Unknown", "Unknown!"}, false, {10, 7}, {}, "B\r\nB2\r\nB3"},
      {"c.zft", {"Cy", "Unknown", "Unknown!"}, true, {4, 3}, {}, "C"},
      {"d.zft",
       {"Anonymous", "Unknown", "Unknown!"},
       false,
       {4, 3},
       {"message: Page Preview Error"},
       "D"},
  };
  h.Open();
  for (const Step &step : steps) {
    h.messages.events.clear();
    h.ClickTemplate(step.click);
    const QStringList shown = {h.Find<QLabel>("Author")->text(), h.Find<QLabel>("License")->text(),
                               h.Find<QLabel>("email")->text()};
    QCOMPARE(shown, step.shown);
    QCOMPARE(h.Find<QToolButton>("Image1")->isEnabled(), step.promptsClickable);
    QCOMPARE(h.Find<QLabel>("Image2")->pixmap().size(), step.picture);
    QCOMPARE(h.messages.events, step.messages);
    QCOMPARE(h.dialog->TemplateText(), step.text);
  }

  // The prompts: both with two carriage returns between them, or only the second one.
  h.messages.events.clear();
  h.ClickTemplate("a.zft");
  QTest::mouseClick(h.Find<QToolButton>("Image1"), Qt::LeftButton);
  h.ClickTemplate("c.zft");
  QTest::mouseClick(h.Find<QToolButton>("Image1"), Qt::LeftButton);
  QCOMPARE(h.messages.events,
           (std::vector<std::string>{"message: Fill in the price.\r\rThen pick options.",
                                     "message: \r\rOnly two"}));
}

void WizardTest::KeyboardSelectionLoadsTheTemplate() {
  Harness h;
  h.WriteFile("a.zft", "A %zf_description%");
  h.WriteFile("a.inf", "[PROFILE]\nAuthor=Ann\nprompt1=Hi\n");
  h.WriteFile("b.zft", "B %zf_description%");
  h.WriteFile("b.inf", "[PROFILE]\nAuthor=Bo\n");
  h.Open();
  auto *list = h.Find<QListWidget>("FileListBox1");

  // Arrow keys select an entry and load its profile and text, as a click does.
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(list->selectedItems().first()->text(), QString("b.zft"));
  QCOMPARE(h.Find<QLabel>("Author")->text(), QString("Bo"));
  QTest::keyClick(list, Qt::Key_Up);
  QCOMPARE(h.Find<QLabel>("Author")->text(), QString("Ann"));
  QVERIFY(h.Find<QToolButton>("Image1")->isEnabled());

  // A click on a, then Down to b: Finish builds b's page.
  h.ClickTemplate("a.zft");
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(list->selectedItems().first()->text(), QString("b.zft"));
  QCOMPARE(h.Find<QLabel>("Author")->text(), QString("Bo"));
  h.ShowPage(1);
  h.Type("Description", "Mug");
  h.Type("Price", "1");
  h.Type("ProductWeight", "1");
  h.Click("FinBut");
  QVERIFY(h.messages.events.empty());
  QCOMPARE(h.InsertedText(), std::string("B Mug"));
}

void WizardTest::ImageChoiceAndCancel() {
  Harness h;
  const std::filesystem::path pictures = h.folder.path() / "pictures";
  std::filesystem::create_directory(pictures);
  WritePicture(pictures / "photo.JPG", 8, 8);
  WritePicture(pictures / "photo.png", 8, 8);
  WritePicture(pictures / "photo.jpeg", 8, 8);
  const std::filesystem::path previewFile = h.folder.path() / "img~.html";
  auto previewOf = [](const std::string &path, const std::string &name) {
    return "<HTML>\r\n<BODY BGCOLOR=\"white\" TEXT=\"BLACK\"><CENTER><img src=\"file://" + path +
           "\"><p><TABLE BORDER=\"1\" CELLPADDING=\"5\" CELLSPACING=\"0\"><TR><TD "
           "ALIGN=\"CENTER\" COLSPAN=\"2\"><B>" +
           name + "</B></TD></TR></TABLE></BODY></HTML>\r\n\r\n";
  };
  auto tagOf = [](const std::string &path) {
    return "<IMG SRC=\"file://" + path + "\" ALT=\"[PRODUCT IMAGE]\" BORDER=\"0\">";
  };
  const std::string jpg = (pictures / "photo.JPG").string();
  const std::string png = (pictures / "photo.png").string();

  struct Step {
    const char *action;
    QString chosen;  // the file the file dialog gives; empty: cancelled; "-": Cancel Image
    std::string tag;
    std::string preview;  // img~.html; empty: not written
    bool browserShown;
  };
  const std::vector<Step> steps = {
      {"cancelled file dialog", "", "", "", true},
      {"upper-case extension", QString::fromStdString(jpg), tagOf(jpg), previewOf(jpg, "photo.JPG"),
       true},
      {"jpeg is not offered", QString::fromStdString((pictures / "photo.jpeg").string()),
       tagOf(jpg), previewOf(jpg, "photo.JPG"), true},
      {"cancel image", "-", "", previewOf(jpg, "photo.JPG"), false},
      {"cancelled file dialog shows the browser again", "", "", previewOf(jpg, "photo.JPG"), true},
      {"png", QString::fromStdString(png), tagOf(png), previewOf(png, "photo.png"), true},
  };

  h.Open();
  QString chosen;
  h.dialog->SetImageFileChooser([&chosen](QWidget *) { return chosen; });
  h.ShowPage(2);
  auto *browser = h.Find<QTextBrowser>("WebBrowser1");
  for (const Step &step : steps) {
    if (step.chosen == "-") {
      h.dialog->findChild<QAction *>("CancelImage1")->trigger();
    } else {
      chosen = step.chosen;
      h.dialog->findChild<QAction *>("SelectImage1")->trigger();
    }
    QVERIFY2(h.dialog->ProductImageTag() == step.tag, step.action);
    QVERIFY2(TempFolder::ReadBytes(previewFile) == step.preview, step.action);
    QVERIFY2(browser->isVisible() == step.browserShown, step.action);
    if (!step.preview.empty()) {
      QCOMPARE(browser->source(),
               QUrl::fromLocalFile(QString::fromStdString(previewFile.string())));
    }
  }
  QVERIFY(h.messages.events.empty());
}

void WizardTest::ImagePreviewThatCannotBeWritten() {
  TempFolder base;
  const std::filesystem::path missing = base.path() / "gone";
  Harness h(4, missing);
  h.Open();
  h.dialog->SetImageFileChooser(
      [&base](QWidget *) { return QString::fromStdString((base.path() / "mug.gif").string()); });
  h.ShowPage(2);
  auto *browser = h.Find<QTextBrowser>("WebBrowser1");
  // The failed choice leaves the browser as it was, shown or hidden by "Cancel Image".
  for (const bool cancelledBefore : {false, true}) {
    h.messages.events.clear();
    if (cancelledBefore) h.dialog->findChild<QAction *>("CancelImage1")->trigger();
    h.dialog->findChild<QAction *>("SelectImage1")->trigger();
    QCOMPARE(h.messages.events, std::vector<std::string>{"message: Unable to write to " +
                                                         (missing / "img~.html").string()});
    QCOMPARE(h.dialog->ProductImageTag(), std::string());
    QCOMPARE(browser->isHidden(), cancelledBefore);
  }
}

// The program folder, the merchant's own templates and the installed ones are all listed, a name
// only once; a template's picture comes from its own folder and the preview page goes to the cache.
void WizardTest::InstalledCopyUsesTheUsersFolders() {
  Harness h;
  TempFolder own, installed, home;
  h.WriteFile("shop.zft", kPlainTemplate);
  TempFolder::WriteBytes(own.path() / "shop.zft", "hidden by the program folder's shop.zft");
  TempFolder::WriteBytes(own.path() / "mine.zft", kPlainTemplate);
  TempFolder::WriteBytes(own.path() / "mine.inf", "[PROFILE]\nimage=mine.png\n");
  WritePicture(own.path() / "mine.png", 3, 2);
  TempFolder::WriteBytes(installed.path() / "basic.zft", kPlainTemplate);
  const std::filesystem::path cache = home.path() / "cache" / "vendigo";
  h.world.context.folders = {home.path(), cache, {h.folder.path(), own.path(), installed.path()}};
  WritePicture(home.path() / "mug.png", 4, 4);
  h.Open();

  auto *list = h.Find<QListWidget>("FileListBox1");
  QStringList names;
  for (int row = 0; row < list->count(); ++row) names << list->item(row)->text();
  QCOMPARE(names, QStringList({"basic.zft", "mine.zft", "shop.zft"}));
  h.ClickTemplate("mine.zft");
  QCOMPARE(h.Find<QLabel>("Image2")->pixmap().size(), QSize(3, 2));

  h.dialog->SetImageFileChooser(
      [&home](QWidget *) { return QString::fromStdString((home.path() / "mug.png").string()); });
  h.dialog->findChild<QAction *>("SelectImage1")->trigger();
  QVERIFY(TempFolder::ReadBytes(cache / "img~.html").find("mug.png") != std::string::npos);
  QVERIFY(!std::filesystem::exists(h.folder.path() / "img~.html"));
  QVERIFY(h.messages.events.empty());
}

void WizardTest::FinishWithoutTemplate() {
  Harness h;
  h.WriteFile("shop.zft", kPlainTemplate);
  h.Open();
  h.ShowPage(1);
  h.Type("Description", "Mug");
  h.Type("Price", "4");
  h.Type("ProductWeight", "1");
  QVERIFY(h.Find<QPushButton>("FinBut")->isEnabled());
  h.Click("FinBut");
  ProcessDeletes();
  QCOMPARE(h.messages.events,
           std::vector<std::string>{
               "message: This product cannot be added because you have not selected a template."});
  QVERIFY(h.dialog != nullptr);
  QCOMPARE(h.Find<QLineEdit>("Description")->text(), QString("Mug"));
  QCOMPARE(h.InsertedText(), std::string());
}

namespace {

// The template of the Finish tests: every placeholder and an "image" block with an else part.
const char kShopTemplate[] =
    "<h1>%zf_company_name%</h1>\n"
    "<zf_if=\"image\">%zf_product_image%<zf_else=\"image\">No picture</zf_if=\"image\">\n"
    "<form method=\"POST\" action=\"%zf_pellux_location%\">%zf_description% "
    "%zf_currency%%zf_price%%zf_pelluxaddh%%zf_pelluxadds%\n"
    "%zf_all_options%%zf_addcart_button%</form>\n"
    "%zf_upsells%\n"
    "<pre>%zf_long_text%</pre>";

}  // namespace

void WizardTest::FinishInsertsThePage_data() {
  QTest::addColumn<int>("generation");
  QTest::addColumn<bool>("multiple");
  QTest::addColumn<bool>("withImage");
  QTest::addColumn<std::string>("expected");  // "@IMG@" stands for the product image tag

  QTest::newRow("single item with image, options, related products and long text")
      << 4 << false << true
      << std::string(
             "<h1>Tea House</h1>\r\n"
             "@IMG@\r\n"
             R"(<form method="POST" action="http://shop.example/cgi-bin/pellux.cgi">Green Tea $1,234.50)"
             R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!&lt;/FONT&gt;" StartSpan -->)"
             R"(<INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Green Tea^1234.5^2^1^TX1">)"
             R"(<!--WEBBOT bot="HTMLMarkup" EndSpan -->)"
             "\r\n"
             R"(<TABLE><TR><TD>Size</TD><TD><SELECT NAME="eop_Size">)"
             "\r\n"
             R"(<OPTION VALUE="Small^00.00^0" SELECTED>Small)"
             "\r\n"
             R"(<OPTION VALUE="Large^2^0">Large -- Add $2)"
             "\r\n"
             R"(</SELECT></TD></TR></TABLE><input TYPE="SUBMIT" VALUE="Add to Cart"></form>)"
             "\r\n"
             R"(<div align="center"><center><TABLE BORDER="1" CELLPADDING="5" CELLSPACING="0" WIDTH="456">)"
             R"(<TR><TD ALIGN="CENTER">BUY</TD><TD ALIGN="CENTER">Description</TD><TD ALIGN="CENTER">Price</TD></TR>)"
             R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Mug^3.5^0^^"></TD><TD>Mug</TD><TD>$3.5</TD></TR>)"
             "\r\n"
             "</TABLE></center></div>\r\n"
             "<pre>Line one\r\nLine two</pre>");
  QTest::newRow("several descriptions, generation 4")
      << 4 << true << false
      << std::string(
             "<h1>Tea House</h1>\r\n"
             "No picture\r\n"
             R"(<form method="POST" action="http://shop.example/cgi-bin/pellux.cgi"> )"
             R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^0^1^TX" SELECTED>Mug -- $4.50)"
             "\r\n"
             R"(<OPTION VALUE="Cup^00.00^0^^">Cup)"
             "\r\n"
             "</SELECT>\r\n"
             R"(<input TYPE="SUBMIT" VALUE="Add to Cart"></form>)"
             "\r\n\r\n"
             "<pre></pre>");
  // Without the tax and Readable Text columns every row with a description and a price is
  // offered, with the text its Readable Text would have got.
  QTest::newRow("several descriptions, generation 3")
      << 3 << true << false
      << std::string(
             "<h1>Tea House</h1>\r\n"
             "No picture\r\n"
             R"(<form method="POST" action="http://shop.example/cgi-bin/pellux.cgi"> )"
             R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^0^^" SELECTED>Mug -- $4.50)"
             "\r\n"
             R"(<OPTION VALUE="Cup^00.00^0^^">Cup)"
             "\r\n"
             "</SELECT>\r\n"
             R"(<input TYPE="SUBMIT" VALUE="Add to Cart"></form>)"
             "\r\n\r\n"
             "<pre></pre>");
}

void WizardTest::FinishInsertsThePage() {
  QFETCH(int, generation);
  QFETCH(bool, multiple);
  QFETCH(bool, withImage);
  QFETCH(std::string, expected);
  Harness h(generation);
  h.WriteFile("shop.zft", kShopTemplate);
  const std::string image = (h.folder.path() / "tea.png").string();
  WritePicture(image, 6, 6);
  h.Open();
  h.dialog->SetImageFileChooser([&image](QWidget *) { return QString::fromStdString(image); });

  h.ClickTemplate("shop.zft");
  h.Click("nextBut");
  if (multiple) {
    h.Find<QRadioButton>("RadioButton2")->click();
    StringGrid *grid = h.Grid("MultDesGrid");
    h.TypeInGrid(grid, {0, 1, "4.50"});
    h.TypeInGrid(grid, {0, 0, "Mug"});
    if (generation == 4) {
      h.TypeInGrid(grid, {0, 3, "1"});
      h.TypeInGrid(grid, {0, 4, "TX"});
      h.TypeInGrid(grid, {0, 5, ""});
      h.TypeInGrid(grid, {1, 0, "Cup"});
      h.TypeInGrid(grid, {1, 5, ""});
    } else {
      h.TypeInGrid(grid, {1, 0, "Cup"});
    }
  } else {
    h.Type("Description", "Green Tea");
    h.Type("Price", "1234.5");
    h.Type("ProductWeight", "2");
    QTest::keyClick(h.Find<QCheckBox>("CheckBox1"), Qt::Key_Space);  // grayed to checked
    h.Type("SmartTaxCode", "TX1");
  }
  h.Click("nextBut");
  if (withImage) h.dialog->findChild<QAction *>("SelectImage1")->trigger();
  h.Click("nextBut");
  if (!multiple) {
    auto *longText = h.Find<QPlainTextEdit>("LongText");
    QTest::keyClicks(longText, "Line one");
    QTest::keyClick(longText, Qt::Key_Return);
    QTest::keyClicks(longText, "Line two");
  }
  h.Click("nextBut");
  if (!multiple) {
    h.Type("eop1text", "Size");
    StringGrid *grid = h.Grid("Eop1Grid");
    h.TypeInGrid(grid, {0, 0, "Small"});
    h.TypeInGrid(grid, {0, 3, ""});
    h.TypeInGrid(grid, {1, 1, "2"});
    h.TypeInGrid(grid, {1, 0, "Large"});
    h.TypeInGrid(grid, {1, 3, ""});
  }
  h.Click("nextBut");
  if (!multiple) {
    h.TypeInGrid(h.Grid("AddIt"), {0, 1, "3.5"});
    h.TypeInGrid(h.Grid("AddIt"), {0, 0, "Mug"});
  }
  QCOMPARE(h.dialog->CurrentPage(), 5);
  h.Click("FinBut");
  ProcessDeletes();

  const std::string tag = "<IMG SRC=\"file://" + image + "\" ALT=\"[PRODUCT IMAGE]\" BORDER=\"0\">";
  if (const auto at = expected.find("@IMG@"); at != std::string::npos) {
    expected.replace(at, 5, tag);
  }
  QCOMPARE(QString::fromStdString(h.InsertedText()), QString::fromStdString(expected));
  QVERIFY(h.messages.events.empty());
  QVERIFY(h.dialog == nullptr);
}

void WizardTest::FinishWithoutOpenDocumentEndsTheProgram() {
  Harness h;
  h.WriteFile("shop.zft", kPlainTemplate);
  h.Host().CloseAllDocuments();
  h.Open();
  h.ClickTemplate("shop.zft");
  h.ShowPage(1);
  h.Type("Description", "Mug");
  h.Type("Price", "4");
  h.Type("ProductWeight", "1");
  h.Click("FinBut");
  QCOMPARE(h.messages.events,
           (std::vector<std::string>{"message: No document is open!", "end program"}));
}

void WizardTest::TheLastPageNamesWhatTheTemplateWillNotShow() {
  Harness h;
  h.WriteFile("plain.zft", "<p>%zf_description% %zf_price%</p>%zf_pelluxaddh%");
  h.WriteFile("upsells.zft", "<p>%zf_description% %zf_price%</p>%zf_pelluxaddh%%zf_upsells%");
  h.Open();
  h.ClickTemplate("plain.zft");
  h.Click("nextBut");
  h.Type("Description", "Mug");
  h.Type("Price", "4");
  h.Type("ProductWeight", "1");
  for (int page = 2; page <= 5; ++page) h.Click("nextBut");
  auto *line = h.Find<QLabel>("NotShown");
  QVERIFY(line->isHidden());
  h.TypeInGrid(h.Grid("AddIt"), {0, 0, "Cup\t2"});
  QCOMPARE(line->text(), QString("This template does not show your related products."));
  QVERIFY(line->isVisible());

  for (int page = 5; page >= 1; --page) h.Click("BackBut");
  h.ClickTemplate("upsells.zft");
  for (int page = 1; page <= 5; ++page) h.Click("nextBut");
  QVERIFY(line->isHidden());
}

void WizardTest::ShippedTemplates_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("multiple");
  QTest::newRow("single product") << "single_product.zft" << false;
  QTest::newRow("product range") << "product_range.zft" << true;
}

// The templates we ship load with their profile and picture and leave no markup of their own in
// the page.
void WizardTest::ShippedTemplates() {
  QFETCH(QString, name);
  QFETCH(bool, multiple);
  Harness h;
  for (const auto &file : std::filesystem::directory_iterator(VENDIGO_TEMPLATE_SOURCE_DIR)) {
    std::filesystem::copy_file(file.path(), h.folder.path() / file.path().filename());
  }
  const std::string image = (h.folder.path() / "cup.png").string();
  WritePicture(image, 6, 6);
  h.Open();
  h.dialog->SetImageFileChooser([&image](QWidget *) { return QString::fromStdString(image); });
  h.ClickTemplate(name);
  QCOMPARE(h.Find<QLabel>("Author")->text(), QString("The Vendigo developers"));
  QVERIFY(!h.Find<QLabel>("Image2")->pixmap().isNull());
  QVERIFY(h.Find<QToolButton>("Image1")->isEnabled());
  h.Click("nextBut");
  if (multiple) {
    h.Find<QRadioButton>("RadioButton2")->click();
    h.TypeInGrid(h.Grid("MultDesGrid"), {0, 1, "4.50"});
    h.TypeInGrid(h.Grid("MultDesGrid"), {0, 0, "Mug\t\t\t\t\t"});
  } else {
    h.Type("Description", "Mug");
    h.Type("Price", "4.50");
    h.Type("ProductWeight", "1");
  }
  h.Click("nextBut");
  h.dialog->findChild<QAction *>("SelectImage1")->trigger();
  h.Click("FinBut");
  const std::string page = h.InsertedText();
  QVERIFY(h.messages.events.empty());
  QVERIFY(page.find("<IMG SRC=\"file://" + image + "\"") != std::string::npos);
  QVERIFY(page.find("pelluxadd") != std::string::npos);
  for (const char *markup : {"%zf_", "%ZF_", "zf_if", "zf_else"}) {
    QVERIFY2(page.find(markup) == std::string::npos, markup);
  }
}

void WizardTest::CancelClosesWithoutInserting_data() {
  QTest::addColumn<bool>("escape");
  QTest::newRow("Cancel button") << false;
  QTest::newRow("Escape key") << true;
}

void WizardTest::CancelClosesWithoutInserting() {
  QFETCH(bool, escape);
  Harness h;
  h.WriteFile("shop.zft", kPlainTemplate);
  h.Open();
  h.ClickTemplate("shop.zft");
  h.ShowPage(1);
  h.Type("Description", "Mug");
  if (escape) {
    QTest::keyClick(h.Find<QLineEdit>("Description"), Qt::Key_Escape);
  } else {
    h.Click("Cancel");
  }
  ProcessDeletes();
  QVERIFY(h.dialog == nullptr);
  QCOMPARE(h.InsertedText(), std::string());
  QVERIFY(h.messages.events.empty());
}

}  // namespace vendigo

QTEST_MAIN(vendigo::WizardTest)
#include "wizard_dialog_test.moc"
