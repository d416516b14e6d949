// The text option dialog, driven with real keys and clicks on the offscreen platform.

#include "dialogs/text_option_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/up_down_arrows.h"
#include "support/dialog_world.h"

using vendigo::TTextAdd;
using vendigo::UpDownArrows;
using vendigo::testing::Child;
using vendigo::testing::Clear;
using vendigo::testing::DialogWorld;
using vendigo::testing::IsGone;
using vendigo::testing::Q;
using vendigo::testing::Type;

// Declared before the test data, which moc need not read.
class TextOptionDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsWithSizesAtTwenty();
  void TabGoesThroughTheControlsInOrder();
  void OKNeedsCaptionAndPrice();
  void PriceKeyFilterAndUnfilteredSizes();
  void ArrowsStepBetweenZeroAndSixtyWithoutWrapping();
  void OKInsertsTheOptionAndCloses();
  void NoOpenDocumentEndsTheProgram();
  void CancelClosesWithoutOutput();
};

namespace {

void ClickArrow(QWidget *dialog, const char *arrows, const char *which, int times = 1) {
  auto *button = Child<UpDownArrows>(dialog, arrows)->findChild<QToolButton *>(which);
  for (int i = 0; i < times; ++i) QTest::mouseClick(button, Qt::LeftButton);
}

void TypeOption(QWidget *dialog, const QString &caption, const QString &price) {
  Type(Child<QLineEdit>(dialog, "Edit3"), caption);
  Type(Child<QLineEdit>(dialog, "Edit4"), price);
}

}  // namespace

void TextOptionDialogTest::StartsWithSizesAtTwenty() {
  DialogWorld world;
  auto *dialog = world.Open<TTextAdd>();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Text Option"));
  QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
  QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
  QCOMPARE(dialog->frameGeometry().center(), dialog->screen()->availableGeometry().center());
  QCOMPARE(Child<QLineEdit>(dialog, "Edit3")->text(), QString());
  QCOMPARE(Child<QLineEdit>(dialog, "Edit4")->text(), QString());
  QCOMPARE(Child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("20"));
  QCOMPARE(Child<QLineEdit>(dialog, "Edit2")->text(), QStringLiteral("20"));
  QCOMPARE(Child<UpDownArrows>(dialog, "UpDown1")->Position(), 20);
  QCOMPARE(Child<UpDownArrows>(dialog, "UpDown2")->Position(), 20);
  QCOMPARE(Child<QPushButton>(dialog, "OKBUT")->text(), QStringLiteral("&OK"));
  QVERIFY(!Child<QPushButton>(dialog, "OKBUT")->isEnabled());
  QCOMPARE(Child<QPushButton>(dialog, "Button1")->text(), QStringLiteral("&Cancel"));
  delete dialog;
}

void TextOptionDialogTest::TabGoesThroughTheControlsInOrder() {
  DialogWorld world;
  auto *dialog = world.Open<TTextAdd>();
  TypeOption(dialog, "Name", "1");
  Child<QLineEdit>(dialog, "Edit3")->setFocus();
  for (const char *next : {"Edit4", "Edit1", "UpDown1", "Edit2", "UpDown2", "OKBUT", "Button1"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
  }
  delete dialog;
}

void TextOptionDialogTest::OKNeedsCaptionAndPrice() {
  struct Case {
    const char *name;
    QString caption;
    QString price;
    bool enabled;
  };
  const std::vector<Case> cases = {
      {"caption only", "Name", "", false},
      {"price only", "", "5", false},
      {"price 0 is enough", "Name", "0", true},
      {"price of refused keys", "Name", "free", false},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    auto *dialog = world.Open<TTextAdd>();
    TypeOption(dialog, c.caption, c.price);
    QVERIFY2(Child<QPushButton>(dialog, "OKBUT")->isEnabled() == c.enabled, c.name);
    delete dialog;
  }
  DialogWorld world;
  auto *dialog = world.Open<TTextAdd>();
  TypeOption(dialog, "N", "5");
  QTest::keyClick(Child<QLineEdit>(dialog, "Edit3"), Qt::Key_Backspace);
  QVERIFY(!Child<QPushButton>(dialog, "OKBUT")->isEnabled());
  delete dialog;
}

void TextOptionDialogTest::PriceKeyFilterAndUnfilteredSizes() {
  DialogWorld world;
  auto *dialog = world.Open<TTextAdd>();
  TypeOption(dialog, "Name \"x\"_1^", "$2,5.0x");
  Clear(Child<QLineEdit>(dialog, "Edit1"));
  Type(Child<QLineEdit>(dialog, "Edit1"), "wide");
  Type(Child<QLineEdit>(dialog, "Edit2"), "-7");
  QCOMPARE(Child<QLineEdit>(dialog, "Edit3")->text(), QStringLiteral("Name \"x\"_1^"));
  QCOMPARE(Child<QLineEdit>(dialog, "Edit4")->text(), QStringLiteral("2.5.0"));  // "," is "."
  QCOMPARE(Child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("wide"));
  QCOMPARE(Child<QLineEdit>(dialog, "Edit2")->text(), QStringLiteral("20-7"));
  QVERIFY(world.messages.events.empty());
  delete dialog;
}

void TextOptionDialogTest::ArrowsStepBetweenZeroAndSixtyWithoutWrapping() {
  struct Case {
    const char *name;
    std::function<void(QWidget *)> act;
    QString size;
    QString maxLength;
  };
  const auto edit = [](QWidget *d, const char *name) { return Child<QLineEdit>(d, name); };
  const std::vector<Case> cases = {
      {"up three times", [](QWidget *d) { ClickArrow(d, "UpDown1", "up", 3); }, "23", "20"},
      {"down once on the second", [](QWidget *d) { ClickArrow(d, "UpDown2", "down"); }, "20", "19"},
      {"up stops at 60", [](QWidget *d) { ClickArrow(d, "UpDown1", "up", 45); }, "60", "20"},
      {"down stops at 0", [](QWidget *d) { ClickArrow(d, "UpDown2", "down", 25); }, "20", "0"},
      {"typed number is the start",
       [&](QWidget *d) {
         Clear(edit(d, "Edit1"));
         Type(edit(d, "Edit1"), "33");
         ClickArrow(d, "UpDown1", "down");
       },
       "32", "20"},
      {"typed number beyond the range is brought into it",
       [&](QWidget *d) {
         Type(edit(d, "Edit2"), "0");
         ClickArrow(d, "UpDown2", "up");
       },
       "20", "60"},
      {"typed text that is no number: the last position",
       [&](QWidget *d) {
         ClickArrow(d, "UpDown1", "up");
         Clear(edit(d, "Edit1"));
         Type(edit(d, "Edit1"), "abc");
         ClickArrow(d, "UpDown1", "up");
       },
       "22", "20"},
      {"arrow keys in the edit",
       [&](QWidget *d) {
         edit(d, "Edit1")->setFocus();
         QTest::keyClick(edit(d, "Edit1"), Qt::Key_Up);
         QTest::keyClick(edit(d, "Edit1"), Qt::Key_Up);
         QTest::keyClick(edit(d, "Edit1"), Qt::Key_Down);
       },
       "21", "20"},
      {"arrow keys on the focused arrows",
       [](QWidget *d) {
         auto *arrows = Child<UpDownArrows>(d, "UpDown2");
         arrows->setFocus();
         QTest::keyClick(arrows, Qt::Key_Down);
         QTest::keyClick(arrows, Qt::Key_Down);
       },
       "20", "18"},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    auto *dialog = world.Open<TTextAdd>();
    c.act(dialog);
    QVERIFY2(edit(dialog, "Edit1")->text() == c.size, c.name);
    QVERIFY2(edit(dialog, "Edit2")->text() == c.maxLength, c.name);
    delete dialog;
  }
}

void TextOptionDialogTest::OKInsertsTheOptionAndCloses() {
  struct Case {
    const char *name;
    QString caption;
    QString price;
    std::function<void(QWidget *)> act;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"defaults", "Name on shirt", "5.00", [](QWidget *) {},
       R"(Name on shirt: <INPUT TYPE="TEXT" NAME="textadd_Name on shirt_5.00" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$5.00</FONT>)"},
      {"price 0 and stepped sizes", "Initials", "0",
       [](QWidget *d) {
         ClickArrow(d, "UpDown1", "down", 17);
         ClickArrow(d, "UpDown2", "down", 17);
       },
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_0" SIZE="3" MAXLENGTH="3"><BR><FONT SIZE="1">Maximum 3 Characters</FONT>)"},
      {"price 2.5 as typed, quotes in the caption", "12\" Logo", "2.5", [](QWidget *) {},
       R"(12" Logo: <INPUT TYPE="TEXT" NAME="textadd_12&quot; Logo_2.5" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$2.5</FONT>)"},
      {"price 1.2.3 gives no price, typed sizes as typed", "Name", "1.2.3",
       [](QWidget *d) {
         Type(Child<QLineEdit>(d, "Edit1"), "0");
         Clear(Child<QLineEdit>(d, "Edit2"));
         Type(Child<QLineEdit>(d, "Edit2"), "lots");
       },
       R"(Name: <INPUT TYPE="TEXT" NAME="textadd_Name_1.2.3" SIZE="200" MAXLENGTH="lots"><BR><FONT SIZE="1">Maximum lots Characters</FONT>)"},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    QPointer<QWidget> dialog = world.Open<TTextAdd>();
    TypeOption(dialog, c.caption, c.price);
    c.act(dialog);
    QTest::mouseClick(Child<QPushButton>(dialog, "OKBUT"), Qt::LeftButton);
    QCOMPARE(Q(world.host->ActiveText()), Q("<p>" + c.expected));
    QVERIFY(world.messages.events.empty());
    QVERIFY2(IsGone(dialog), c.name);
  }
}

void TextOptionDialogTest::NoOpenDocumentEndsTheProgram() {
  DialogWorld world;
  world.host->CloseAllDocuments();
  auto *dialog = world.Open<TTextAdd>();
  TypeOption(dialog, "Name", "1");
  QTest::mouseClick(Child<QPushButton>(dialog, "OKBUT"), Qt::LeftButton);
  QCOMPARE(world.messages.events,
           (std::vector<std::string>{"message: No document is open!", "end program"}));
  delete dialog;
}

void TextOptionDialogTest::CancelClosesWithoutOutput() {
  for (const bool escape : {false, true}) {
    DialogWorld world;
    QPointer<QWidget> dialog = world.Open<TTextAdd>();
    TypeOption(dialog, "Name", "1");
    if (escape) {
      QTest::keyClick(Child<QLineEdit>(dialog, "Edit4"), Qt::Key_Escape);
    } else {
      QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    }
    QVERIFY(IsGone(dialog));
    QCOMPARE(Q(world.host->ActiveText()), QStringLiteral("<p>"));
    QVERIFY(world.messages.events.empty());
  }
}

QTEST_MAIN(TextOptionDialogTest)
#include "text_option_dialog_test.moc"
