// The hidden item dialog, driven with real keys and clicks on the offscreen platform.

#include "dialogs/hidden_item_dialog.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "builders/hidden_item.h"
#include "support/dialog_world.h"

using vendigo::TPelluxAdd;
using vendigo::testing::Child;
using vendigo::testing::Clear;
using vendigo::testing::DialogWorld;
using vendigo::testing::IsGone;
using vendigo::testing::Q;
using vendigo::testing::Type;

namespace {

const std::string kStart =
    R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE=")";
const std::string kEnd = R"("><!--WEBBOT bot="HTMLMarkup" EndSpan -->)";
const std::string kExplanation =
    "message: pelluxadd is a hidden form element. A hidden form element is not visible on your "
    "web page when published. These form elements are what communicate with Pellux.\r\rIf you "
    "are using FrontPage 98, this form element will be displayed in design view as \"!Pellux!\" "
    "You can click this text to change the value of the element.\r\rIn FrontPage 2000 you will "
    "need to click the \"Show All\" button to show the WebBots on the page. The \"Show All\" "
    "button looks like this: \xC2\xB6";

}  // namespace

class PelluxAddDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsEmptyWithTheBoxGrayed() {
    DialogWorld world;
    auto *dialog = world.Open<TPelluxAdd>();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("pelluxadd (Hidden)"));
    QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(
        !(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QCOMPARE(dialog->frameGeometry().center(), dialog->screen()->availableGeometry().center());
    for (const char *edit : {"Edit1", "Edit2", "Edit3", "SmartTaxCode"}) {
      QCOMPARE(Child<QLineEdit>(dialog, edit)->text(), QString());
    }
    QCOMPARE(Child<QLabel>(dialog, "Label5")->text(),
             QStringLiteral(" Applies To 4.0 Generation Pellux Only"));
    QVERIFY(Child<QLabel>(dialog, "Label5")->font().bold());
    auto *box = Child<QCheckBox>(dialog, "CheckBox1");
    QCOMPARE(box->text(), QStringLiteral("Item is Taxable"));
    QCOMPARE(box->checkState(), Qt::PartiallyChecked);
    QCOMPARE(Child<QPushButton>(dialog, "Button1")->text(), QStringLiteral("&OK"));
    QVERIFY(!Child<QPushButton>(dialog, "Button1")->isEnabled());
    QCOMPARE(Child<QPushButton>(dialog, "Button2")->text(), QStringLiteral("&Cancel"));
    delete dialog;
  }

  void TabGoesThroughTheControlsInOrder() {
    DialogWorld world;
    auto *dialog = world.Open<TPelluxAdd>();
    Type(Child<QLineEdit>(dialog, "Edit1"), "Mug");
    Type(Child<QLineEdit>(dialog, "Edit2"), "1");
    Child<QLineEdit>(dialog, "Edit1")->setFocus();
    for (const char *next : {"Edit2", "Edit3", "CheckBox1", "SmartTaxCode", "Button1", "Button2"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
    delete dialog;
  }

  void OKNeedsDescriptionAndPrice() {
    struct Case {
      const char *name;
      std::function<void(QWidget *)> act;
      bool enabled;
    };
    const auto edit = [](QWidget *dialog, const char *name) {
      return Child<QLineEdit>(dialog, name);
    };
    const std::vector<Case> cases = {
        {"description only", [&](QWidget *d) { Type(edit(d, "Edit1"), "Mug"); }, false},
        {"price only", [&](QWidget *d) { Type(edit(d, "Edit2"), "4"); }, false},
        {"description and one price digit",
         [&](QWidget *d) {
           Type(edit(d, "Edit1"), "Mug");
           Type(edit(d, "Edit2"), "4");
         },
         true},
        {"description deleted again",
         [&](QWidget *d) {
           Type(edit(d, "Edit1"), "M");
           Type(edit(d, "Edit2"), "4");
           QTest::keyClick(edit(d, "Edit1"), Qt::Key_Backspace);
         },
         false},
        {"price of refused keys only",
         [&](QWidget *d) {
           Type(edit(d, "Edit1"), "Mug");
           Type(edit(d, "Edit2"), "abc");
         },
         false},
        {"weight and tax data do not count",
         [&](QWidget *d) {
           Type(edit(d, "Edit3"), "2");
           Type(edit(d, "SmartTaxCode"), "TX");
         },
         false},
    };
    for (const Case &c : cases) {
      DialogWorld world;
      auto *dialog = world.Open<TPelluxAdd>();
      c.act(dialog);
      QVERIFY2(Child<QPushButton>(dialog, "Button1")->isEnabled() == c.enabled, c.name);
      delete dialog;
    }
  }

  void KeyFiltersDiscardRefusedKeys() {
    struct Case {
      const char *edit;
      QString typed;
      QString kept;
    };
    const std::vector<Case> cases = {
        {"Edit2", "4a.5,0-x $", "4.50"},
        {"Edit2", "1.2.3", "1.2.3"},
        {"Edit3", "2.5kg", "25"},
        {"Edit1", "12\" Mug^Red", "12\" Mug^Red"},
        {"SmartTaxCode", "T-X 1^\"", "T-X 1^\""},
    };
    for (const Case &c : cases) {
      DialogWorld world;
      auto *dialog = world.Open<TPelluxAdd>();
      auto *edit = Child<QLineEdit>(dialog, c.edit);
      Type(edit, c.typed);
      QCOMPARE(edit->text(), c.kept);
      QVERIFY(world.messages.events.empty());
      delete dialog;
    }
  }

  void ComposedCharactersAreFilteredOneByOne() {
    struct Case {
      const char *name;
      std::function<void(QLineEdit *)> type;
      QString kept;
    };
    const auto composed = [](const QString &text) {
      return [text](QLineEdit *edit) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(edit, &event);
      };
    };
    // One key press that types several characters, as some keyboard layouts do.
    const auto oneKey = [](const QString &text) {
      return [text](QLineEdit *edit) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &press);
      };
    };
    const std::vector<Case> cases = {
        {"input method commit", composed(QStringLiteral("\u00e95.\u00b2")), "5."},
        {"one key, refused and allowed characters", oneKey(QStringLiteral("4a5")), "45"},
        {"one key, refused characters only", oneKey(QStringLiteral("ab")), ""},
        {"one key, allowed characters only", oneKey(QStringLiteral("4.5")), "4.5"},
    };
    for (const Case &c : cases) {
      DialogWorld world;
      auto *dialog = world.Open<TPelluxAdd>();
      auto *price = Child<QLineEdit>(dialog, "Edit2");
      price->setFocus();
      c.type(price);
      QVERIFY2(price->text() == c.kept, c.name);
      delete dialog;
    }
  }

  void BackspaceStillDeletesInFilteredEdits() {
    DialogWorld world;
    auto *dialog = world.Open<TPelluxAdd>();
    auto *price = Child<QLineEdit>(dialog, "Edit2");
    Type(price, "4.55");
    QTest::keyClick(price, Qt::Key_Backspace);
    QCOMPARE(price->text(), QStringLiteral("4.5"));
    delete dialog;
  }

  void OKInsertsTheElementThenExplainsAndCloses() {
    struct Case {
      const char *name;
      int boxPresses;  // space on the box, from grayed: checked, unchecked, grayed again
      QString weight;
      QString taxCode;
      std::string value;
    };
    const std::vector<Case> cases = {
        {"box untouched", 0, "", "", "Blue Mug^4.50^^^"},
        {"checked once", 1, "2", "", "Blue Mug^4.50^2^1^"},
        {"unchecked", 2, "", "TX1", "Blue Mug^4.50^^0^TX1"},
        {"cycled back to grayed", 3, "2", "", "Blue Mug^4.50^2^^"},
    };
    for (const Case &c : cases) {
      DialogWorld world;
      QPointer<QWidget> dialog = world.Open<TPelluxAdd>();
      Type(Child<QLineEdit>(dialog, "Edit1"), "Blue Mug");
      Type(Child<QLineEdit>(dialog, "Edit2"), "4.50");
      Type(Child<QLineEdit>(dialog, "Edit3"), c.weight);
      Type(Child<QLineEdit>(dialog, "SmartTaxCode"), c.taxCode);
      auto *box = Child<QCheckBox>(dialog, "CheckBox1");
      box->setFocus();
      for (int i = 0; i < c.boxPresses; ++i) QTest::keyClick(box, Qt::Key_Space);
      QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);

      QCOMPARE(Q(world.host->ActiveText()), Q("<p>" + kStart + c.value + kEnd));
      QCOMPARE(world.messages.events, std::vector<std::string>{kExplanation});
      QVERIFY2(IsGone(dialog), c.name);
    }
  }

  void QuotesInTheFieldsAreWrittenAsEntities() {
    DialogWorld world;
    QPointer<QWidget> dialog = world.Open<TPelluxAdd>();
    Type(Child<QLineEdit>(dialog, "Edit1"), "12\" \"Vinyl\"");
    Type(Child<QLineEdit>(dialog, "Edit2"), "9");
    Type(Child<QLineEdit>(dialog, "SmartTaxCode"), "T\"X");
    QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(Q(world.host->ActiveText()),
             Q("<p>" + kStart + "12&quot; &quot;Vinyl&quot;^9^^^T&quot;X" + kEnd));
  }

  void NoOpenDocumentEndsTheProgramWithoutExplaining() {
    DialogWorld world;
    world.host->CloseAllDocuments();
    auto *dialog = world.Open<TPelluxAdd>();
    Type(Child<QLineEdit>(dialog, "Edit1"), "Mug");
    Type(Child<QLineEdit>(dialog, "Edit2"), "1");
    QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(world.messages.events,
             (std::vector<std::string>{"message: No document is open!", "end program"}));
    QVERIFY(world.host->Documents().empty());
    delete dialog;
  }

  void EditorGoneEndsTheProgram() {
    DialogWorld world;
    world.host->Quit();
    auto *dialog = world.Open<TPelluxAdd>();
    Type(Child<QLineEdit>(dialog, "Edit1"), "Mug");
    Type(Child<QLineEdit>(dialog, "Edit2"), "1");
    QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(world.messages.events,
             (std::vector<std::string>{"message: Could not connect to document.", "end program"}));
    QCOMPARE(Q(world.host->ActiveText()), QStringLiteral("<p>"));
    delete dialog;
  }

  void CancelAndEscapeCloseWithoutOutput() {
    for (const bool escape : {false, true}) {
      DialogWorld world;
      QPointer<QWidget> dialog = world.Open<TPelluxAdd>();
      Type(Child<QLineEdit>(dialog, "Edit1"), "Mug");
      Type(Child<QLineEdit>(dialog, "Edit2"), "1");
      if (escape) {
        QTest::keyClick(Child<QLineEdit>(dialog, "Edit2"), Qt::Key_Escape);
      } else {
        QTest::mouseClick(Child<QPushButton>(dialog, "Button2"), Qt::LeftButton);
      }
      QVERIFY(IsGone(dialog));
      QCOMPARE(Q(world.host->ActiveText()), QStringLiteral("<p>"));
      QVERIFY(world.messages.events.empty());
    }
  }
};

QTEST_MAIN(PelluxAddDialogTest)
#include "hidden_item_dialog_test.moc"
