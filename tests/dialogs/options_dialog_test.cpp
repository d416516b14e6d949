// The options dialog, driven with real keys and clicks on the offscreen platform.

#include "dialogs/options_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "support/dialog_world.h"

using vendigo::LoadSettings;
using vendigo::Settings;
using vendigo::TOptions;
using vendigo::testing::Child;
using vendigo::testing::Clear;
using vendigo::testing::DialogWorld;
using vendigo::testing::IsGone;
using vendigo::testing::Q;
using vendigo::testing::TempFolder;
using vendigo::testing::Type;

// Declared before the test data, which moc need not read.
class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void FirstRunShowsTheDefaultsAndRefusesOK();
  void ControlsStandWhereTheyBelong();
  void TypedOptionsAreSavedAndTheDialogCloses();
  void LongTextsAreNotCut();
  void RefusedLocationCanBeCorrected();
  void UnwritableFileKeepsTheDialogOpen();
  void TabGoesThroughTheControlsInOrder();
  void OtherGenerationShowsNoRadioAndIsWrittenBack();
  void RadioClickChangesTheGenerationAtOnce();
  void CancelAndEscapeCloseWithoutWriting();
  void ButtonTextsFillTheList();
};

namespace {

const std::string kLocationMessage =
    "message: The location of Pellux must end with pellux.exe or pellux.cgi\r\r- pellux.exe is "
    "for the NT Pellux system. \r- pellux.cgi is for the UNIX Pellux system.";

QLineEdit *Edit(QWidget *dialog, const char *name) {
  if (qstrcmp(name, "orderbuttonText") == 0) {
    return Child<QComboBox>(dialog, name)->lineEdit();
  }
  return Child<QLineEdit>(dialog, name);
}

// Clears the field and types text into it with real keys.
void Retype(QWidget *dialog, const char *name, const QString &text) {
  Clear(Edit(dialog, name));
  Type(Edit(dialog, name), text);
}

void Click(QWidget *dialog, const char *name) {
  QTest::mouseClick(Child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

QStringList Items(const QComboBox *combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// The label whose shortcut leads to field.
QLabel *LabelOf(QWidget *dialog, QWidget *field) {
  for (QLabel *label : dialog->findChildren<QLabel *>()) {
    if (label->buddy() == field) return label;
  }
  qFatal("no label for %s", qPrintable(field->objectName()));
}

std::filesystem::path SettingsFile(const DialogWorld &world) {
  return world.programDir.path() / "pelluxfp.ini";
}

// A world whose settings were read from its (empty) program folder, as at a first run.
struct FirstRunWorld : DialogWorld {
  FirstRunWorld() { settings = LoadSettings(programDir.path()); }
};

}  // namespace

void OptionsDialogTest::FirstRunShowsTheDefaultsAndRefusesOK() {
  FirstRunWorld world;
  QPointer<QWidget> dialog = world.Open<TOptions>();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Vendigo Options"));
  // Above the palette, which stays on top of other windows.
  QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
  QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QCOMPARE(dialog->minimumSize(), QSize(435, 264));
  QCOMPARE(dialog->maximumSize(), QSize(435, 264));
  QCOMPARE(dialog->frameGeometry().center(), dialog->screen()->availableGeometry().center());

  QCOMPARE(Edit(dialog, "CompanyName")->text(), QStringLiteral("Your Company Name"));
  QCOMPARE(Edit(dialog, "CurrencyForm")->text(), QStringLiteral("$"));
  QCOMPARE(Edit(dialog, "orderbuttonText")->text(), QStringLiteral("Order!"));
  QCOMPARE(Edit(dialog, "CGI_BIN_LOCATION")->text(),
           QStringLiteral("<Enter the URL to the Pellux CGI Program here>"));
  QCOMPARE(Edit(dialog, "Vcart")->text(), QStringLiteral("View Your Shopping Cart"));
  QVERIFY(Child<QRadioButton>(dialog, "RadioButton1")->isChecked());
  QVERIFY(!Child<QRadioButton>(dialog, "RadioButton2")->isChecked());
  QCOMPARE(Child<QComboBox>(dialog, "orderbuttonText")->count(), 0);
  QCOMPARE(QApplication::focusWidget(), Edit(dialog, "CompanyName"));

  Click(dialog, "Button1");
  QCOMPARE(world.messages.events, std::vector<std::string>{kLocationMessage});
  QVERIFY(!IsGone(dialog));
  QVERIFY(dialog->isVisible());
  QVERIFY(!std::filesystem::exists(SettingsFile(world)));
  QCOMPARE(world.settings, vendigo::DefaultSettings());
  delete dialog;
}

void OptionsDialogTest::ControlsStandWhereTheyBelong() {
  DialogWorld world;
  auto *dialog = world.Open<TOptions>();
  struct Field {
    const char *name;
    const char *label;
    QRect geometry;
  };
  const std::vector<Field> fields = {
      {"CompanyName", "Company Name:", {128, 20, 281, 21}},
      {"CurrencyForm", "Currency:", {128, 46, 89, 21}},
      {"orderbuttonText", "Default Button Text:", {128, 72, 281, 21}},
      {"CGI_BIN_LOCATION", "Pellux Location:", {128, 98, 281, 21}},
      {"Vcart", "View Cart Link:", {128, 124, 281, 21}},
  };
  for (const Field &field : fields) {
    auto *control = Child<QWidget>(dialog, field.name);
    QCOMPARE(control->geometry(), field.geometry);
    QLabel *label = LabelOf(dialog, control);
    QCOMPARE(label->text(), QString::fromLatin1(field.label));
    QCOMPARE(label->pos(), QPoint(24, field.geometry.top() + 4));
    // The whole caption shows, left of the field.
    QVERIFY(label->width() >= label->sizeHint().width());
    QVERIFY2(label->geometry().right() < 128, field.label);
  }
  struct Control {
    const char *name;
    QString caption;
    QRect geometry;
  };
  const std::vector<Control> controls = {
      {"Button1", "&OK", {12, 232, 75, 25}},
      {"Button2", "&Cancel", {100, 232, 75, 25}},
      {"RadioButton1", "Pellux UNIX 3.x and NT 3.x", {16, 24, 185, 17}},
      {"RadioButton2", "Pellux UNIX 4.x or newer", {232, 24, 145, 17}},
  };
  for (const Control &control : controls) {
    auto *button = Child<QAbstractButton>(dialog, control.name);
    QCOMPARE(button->text(), control.caption);
    QCOMPARE(button->geometry(), control.geometry);
    // The whole caption shows.
    const int needed =
        qobject_cast<QPushButton *>(button)
            ? button->fontMetrics().horizontalAdvance(QString(control.caption).remove('&')) + 8
            : button->sizeHint().width();
    QVERIFY2(needed <= control.geometry.width(), control.name);
  }
  auto *group = Child<QGroupBox>(dialog, "GroupBox1");
  QCOMPARE(group->title(), QStringLiteral("Operation Mode"));
  QCOMPARE(group->geometry(), QRect(8, 168, 417, 49));
  QCOMPARE(Child<QRadioButton>(dialog, "RadioButton1")->parentWidget(), group);
  QCOMPARE(Child<QRadioButton>(dialog, "RadioButton2")->parentWidget(), group);
  auto *bevel = Child<QFrame>(dialog, "Bevel1");
  QCOMPARE(bevel->geometry(), QRect(8, 8, 417, 153));
  QCOMPARE(bevel->frameShape(), QFrame::Box);
  QCOMPARE(bevel->frameShadow(), QFrame::Sunken);
  delete dialog;
}

void OptionsDialogTest::TypedOptionsAreSavedAndTheDialogCloses() {
  struct Case {
    const char *name;
    std::function<void(QWidget *)> act;
    Settings expected;
  };
  const std::vector<Case> cases = {
      {"every field typed, generation 4",
       [](QWidget *d) {
         Retype(d, "CompanyName", "Acme & Sons");
         Retype(d, "CurrencyForm", QStringLiteral("\u00a3"));
         Retype(d, "orderbuttonText", "<img src=\"buy.gif\">");
         Retype(d, "CGI_BIN_LOCATION", "http://acme.example/cgi-bin/pellux.cgi");
         Retype(d, "Vcart", "Your Cart");
         Click(d, "RadioButton2");
       },
       {"Acme & Sons", "\xC2\xA3", "<img src=\"buy.gif\">",
        "http://acme.example/cgi-bin/pellux.cgi", "Your Cart", 4}},
      {"blanks and empty texts kept, location exactly the program name",
       [](QWidget *d) {
         Retype(d, "CompanyName", "  Acme  ");
         Clear(Edit(d, "CurrencyForm"));
         Clear(Edit(d, "orderbuttonText"));
         Retype(d, "CGI_BIN_LOCATION", "pellux.exe");
       },
       {"  Acme  ", "", "", "pellux.exe", "View Your Shopping Cart", 3}},
      {"OK by its accelerator",
       [](QWidget *d) {
         Retype(d, "CGI_BIN_LOCATION", "/pellux.cgi");
         QTest::keyClick(d, Qt::Key_O, Qt::AltModifier);
       },
       {"Your Company Name", "$", "Order!", "/pellux.cgi", "View Your Shopping Cart", 3}},
  };
  for (const Case &c : cases) {
    FirstRunWorld world;
    QPointer<QWidget> dialog = world.Open<TOptions>();
    c.act(dialog);
    if (dialog) Click(dialog, "Button1");
    QVERIFY2(IsGone(dialog), c.name);
    QCOMPARE(world.messages.events, std::vector<std::string>{});
    QCOMPARE(world.settings, c.expected);
    QCOMPARE(LoadSettings(world.programDir.path()), c.expected);
  }
}

void OptionsDialogTest::LongTextsAreNotCut() {
  DialogWorld world;
  const std::string longText(40000, 'x');
  world.settings = {longText + "C",           longText + "$", longText + "O",
                    longText + "/pellux.cgi", longText + "V", 3};
  QPointer<QWidget> dialog = world.Open<TOptions>();
  QCOMPARE(Edit(dialog, "CGI_BIN_LOCATION")->text().size(), qsizetype(longText.size() + 11));
  for (const char *name : {"CompanyName", "CurrencyForm", "orderbuttonText", "Vcart"}) {
    QLineEdit *edit = Edit(dialog, name);
    QCOMPARE(edit->text().size(), qsizetype(longText.size() + 1));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Y);
  }
  Click(dialog, "Button1");
  QVERIFY(IsGone(dialog));
  const Settings expected = {longText + "Cy",          longText + "$y", longText + "Oy",
                             longText + "/pellux.cgi", longText + "Vy", 3};
  QVERIFY(world.settings == expected);
}

void OptionsDialogTest::RefusedLocationCanBeCorrected() {
  const QStringList refused = {"/cgi-bin/PELLUX.CGI", "/cgi-bin/pellux.cgi ", "/cgi-bin/pellux.cg",
                               ""};
  for (const QString &location : refused) {
    DialogWorld world;
    QPointer<QWidget> dialog = world.Open<TOptions>();
    Retype(dialog, "CompanyName", "Acme");
    Retype(dialog, "CGI_BIN_LOCATION", location);
    QTest::keyClick(Edit(dialog, "CGI_BIN_LOCATION"), Qt::Key_Return);  // presses OK
    QCOMPARE(world.messages.events, std::vector<std::string>{kLocationMessage});
    QVERIFY2(!IsGone(dialog), qPrintable(location));
    QCOMPARE(world.settings.Company, std::string("Your Company Name"));
    QVERIFY(!std::filesystem::exists(SettingsFile(world)));

    Retype(dialog, "CGI_BIN_LOCATION", "/scripts/pellux.exe");
    Click(dialog, "Button1");
    QVERIFY(IsGone(dialog));
    QCOMPARE(world.messages.events.size(), size_t(1));
    QCOMPARE(world.settings.Company, std::string("Acme"));
    QCOMPARE(LoadSettings(world.programDir.path()).CGI_BIN, std::string("/scripts/pellux.exe"));
  }
}

void OptionsDialogTest::UnwritableFileKeepsTheDialogOpen() {
  // The settings file is a folder: nobody can write it, not even the superuser.
  DialogWorld world;
  std::filesystem::create_directory(SettingsFile(world));
  const Settings before = world.settings;
  QPointer<QWidget> dialog = world.Open<TOptions>();
  Retype(dialog, "CompanyName", "Acme");
  Click(dialog, "RadioButton2");
  Click(dialog, "Button1");
  QCOMPARE(world.messages.events,
           std::vector<std::string>{"message: Unable to write to " + SettingsFile(world).string()});
  QVERIFY(!IsGone(dialog));
  Settings expected = before;
  expected.PelluxGeneration = 4;
  QCOMPARE(world.settings, expected);
  QCOMPARE(Edit(dialog, "CompanyName")->text(), QStringLiteral("Acme"));
  delete dialog;
}

void OptionsDialogTest::TabGoesThroughTheControlsInOrder() {
  const std::vector<std::pair<int, const char *>> cases = {
      {3, "RadioButton1"}, {4, "RadioButton2"}, {7, "RadioButton1"}};
  for (const auto &[generation, radio] : cases) {
    DialogWorld world;
    world.settings.PelluxGeneration = generation;
    auto *dialog = world.Open<TOptions>();
    QCOMPARE(QApplication::focusWidget(), Edit(dialog, "CompanyName"));
    // The combo box takes the focus in its edit part.
    const auto owner = [](QWidget *focus) {
      return qobject_cast<QComboBox *>(focus->parentWidget()) ? focus->parentWidget() : focus;
    };
    for (const char *next :
         {"CurrencyForm", "CurrencyCodeForm", "orderbuttonText", "CGI_BIN_LOCATION", "Vcart",
          "Button1", "Button2", radio, "CompanyName"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(owner(QApplication::focusWidget())->objectName(), QString::fromLatin1(next));
    }
    QCOMPARE(world.settings.PelluxGeneration, generation);
    delete dialog;
  }
}

void OptionsDialogTest::OtherGenerationShowsNoRadioAndIsWrittenBack() {
  DialogWorld world;
  TempFolder::WriteBytes(SettingsFile(world), "[CONFIGS]\r\nPelluxGeneration=7\r\n");
  world.settings = LoadSettings(world.programDir.path());
  world.settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  QPointer<QWidget> dialog = world.Open<TOptions>();
  QVERIFY(!Child<QRadioButton>(dialog, "RadioButton1")->isChecked());
  QVERIFY(!Child<QRadioButton>(dialog, "RadioButton2")->isChecked());
  Click(dialog, "Button1");
  QVERIFY(IsGone(dialog));
  QCOMPARE(Q(TempFolder::ReadBytes(SettingsFile(world))),
           QStringLiteral("[CONFIGS]\r\nPelluxGeneration=7\r\nCompany=Your Company Name\r\n"
                          "Currency=$\r\nOrderButton=Order!\r\nCGI_BIN=/cgi-bin/pellux.cgi\r\n"
                          "ViewCart=View Your Shopping Cart\r\n"));
  QCOMPARE(world.settings.PelluxGeneration, 7);
}

void OptionsDialogTest::RadioClickChangesTheGenerationAtOnce() {
  struct Case {
    int stored;
    std::vector<const char *> clicks;
    int generation;
    bool radio1;
    bool radio2;
  };
  const std::vector<Case> cases = {
      {3, {"RadioButton2"}, 4, false, true},
      {4, {"RadioButton1"}, 3, true, false},
      {7, {"RadioButton2"}, 4, false, true},
      {7, {"RadioButton1", "RadioButton2"}, 4, false, true},
      {7, {"RadioButton2", "RadioButton1"}, 3, true, false},
      {4, {"RadioButton2"}, 4, false, true},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    world.settings.PelluxGeneration = c.stored;
    auto *dialog = world.Open<TOptions>();
    for (const char *radio : c.clicks) Click(dialog, radio);
    QCOMPARE(world.settings.PelluxGeneration, c.generation);
    QCOMPARE(Child<QRadioButton>(dialog, "RadioButton1")->isChecked(), c.radio1);
    QCOMPARE(Child<QRadioButton>(dialog, "RadioButton2")->isChecked(), c.radio2);
    delete dialog;
  }

  // The arrow keys move the selection inside the group and count as a click.
  DialogWorld world;
  auto *dialog = world.Open<TOptions>();
  auto *radio1 = Child<QRadioButton>(dialog, "RadioButton1");
  radio1->setFocus();
  QTest::keyClick(radio1, Qt::Key_Right);
  QVERIFY(Child<QRadioButton>(dialog, "RadioButton2")->isChecked());
  QCOMPARE(world.settings.PelluxGeneration, 4);
  delete dialog;
}

void OptionsDialogTest::CancelAndEscapeCloseWithoutWriting() {
  struct Case {
    const char *name;
    std::function<void(QWidget *)> close;
  };
  const auto escapeIn = [](QWidget *control) { QTest::keyClick(control, Qt::Key_Escape); };
  const std::vector<Case> cases = {
      {"Cancel clicked", [](QWidget *d) { Click(d, "Button2"); }},
      {"Escape in an edit", [&](QWidget *d) { escapeIn(Edit(d, "Vcart")); }},
      {"Escape in the button text", [&](QWidget *d) { escapeIn(Edit(d, "orderbuttonText")); }},
      {"Escape on a radio button",
       [&](QWidget *d) { escapeIn(Child<QRadioButton>(d, "RadioButton2")); }},
      {"window closed", [](QWidget *d) { d->close(); }},
  };
  const std::string file = "[CONFIGS]\nCompany=Old\nPelluxGeneration=3\n";
  for (const Case &c : cases) {
    DialogWorld world;
    TempFolder::WriteBytes(SettingsFile(world), file);
    const Settings before = world.settings;
    QPointer<QWidget> dialog = world.Open<TOptions>();
    Retype(dialog, "CompanyName", "Acme");
    Retype(dialog, "CGI_BIN_LOCATION", "/pellux.exe");
    Click(dialog, "RadioButton2");
    c.close(dialog);
    QVERIFY2(IsGone(dialog), c.name);
    QCOMPARE(Q(TempFolder::ReadBytes(SettingsFile(world))), Q(file));
    Settings expected = before;
    expected.PelluxGeneration = 4;
    QCOMPARE(world.settings, expected);
    QCOMPARE(world.messages.events, std::vector<std::string>{});
  }
}

void OptionsDialogTest::ButtonTextsFillTheList() {
  struct Case {
    const char *name;
    std::function<void(const std::filesystem::path &)> prepare;
    QStringList items;
    bool reported;
  };
  const auto write = [](const std::string &bytes) {
    return [bytes](const std::filesystem::path &file) { TempFolder::WriteBytes(file, bytes); };
  };
  const std::vector<Case> cases = {
      {"no file", [](const std::filesystem::path &) {}, {}, false},
      {"lines in file order, blank lines included",
       write("Add to Cart\r\n\r\nBuy \xE9t\xE9\nOrder!"),
       {"Add to Cart", "", QStringLiteral("Buy \u00e9t\u00e9"), "Order!"},
       false},
      {"unreadable",
       [](const std::filesystem::path &file) { std::filesystem::create_directory(file); },
       {},
       true},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    world.settings.OrderButton = "Buy It";
    const std::filesystem::path file = world.programDir.path() / "buttons.slu";
    c.prepare(file);
    auto *dialog = world.Open<TOptions>();
    auto *combo = Child<QComboBox>(dialog, "orderbuttonText");
    QCOMPARE(Items(combo), c.items);
    QCOMPARE(combo->currentText(), QStringLiteral("Buy It"));
    const std::vector<std::string> expected =
        c.reported ? std::vector<std::string>{"message: Cannot open file \"" + file.string() +
                                              "\". Is a directory"}
                   : std::vector<std::string>{};
    QCOMPARE(world.messages.events, expected);
    delete dialog;
  }

  // A text chosen from the list is what OK saves.
  DialogWorld world;
  TempFolder::WriteBytes(world.programDir.path() / "buttons.slu", "Add to Cart\nBuy Now\n");
  QPointer<QWidget> dialog = world.Open<TOptions>();
  auto *combo = Child<QComboBox>(dialog, "orderbuttonText");
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  QTest::keyClick(combo, Qt::Key_Down);
  QCOMPARE(combo->currentText(), QStringLiteral("Buy Now"));
  Click(dialog, "Button1");
  QVERIFY(IsGone(dialog));
  QCOMPARE(world.settings.OrderButton, std::string("Buy Now"));
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
