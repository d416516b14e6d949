// The quick link dialog, driven with real keys and clicks on the offscreen platform.

#include "dialogs/quick_link_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/dialog_world.h"

using vendigo::TQuickLink;
using vendigo::testing::Child;
using vendigo::testing::Clear;
using vendigo::testing::DialogWorld;
using vendigo::testing::IsGone;
using vendigo::testing::Q;
using vendigo::testing::TempFolder;
using vendigo::testing::Type;

// Declared before the test data: moc reads this file and stumbles over raw strings that hold
// apostrophes, so the class comes first.
class QuickLinkDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsWithItsCaptionsAndTexts();
  void CaptionListComesFromTheButtonTexts();
  void UnreadableButtonTextsAreReportedAndTheListStaysEmpty();
  void TabGoesThroughTheControlsInOrder();
  void OKNeedsDescriptionPriceAndCaption();
  void KeyFiltersDiscardRefusedKeys();
  void OKInsertsTheLinkAndCloses();
  void ConversionErrorKeepsTheDialogOpen();
  void OpenDocumentIsCheckedBeforeThePrice();
  void EditorGoneEndsTheProgram();
  void CancelAndEscapeCloseWithoutOutput();
};

namespace {

QStringList Items(const QComboBox *combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

void TypeItem(QWidget *dialog, const QString &description, const QString &price) {
  Type(Child<QLineEdit>(dialog, "Edit1"), description);
  Type(Child<QLineEdit>(dialog, "Edit2"), price);
}

void ClickOK(QWidget *dialog) {
  QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
}

// Ticks a plain check box from the keyboard.
void Tick(QWidget *dialog, const char *name) {
  auto *box = Child<QCheckBox>(dialog, name);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
}

const char kDefaultAnchor[] =
    R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>)";

}  // namespace

void QuickLinkDialogTest::StartsWithItsCaptionsAndTexts() {
  DialogWorld world;
  auto *dialog = world.Open<TQuickLink>();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Quick Link!"));
  QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
  QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
  QCOMPARE(dialog->frameGeometry().center(), dialog->screen()->availableGeometry().center());
  for (const char *edit : {"Edit1", "Edit2", "Edit3", "SmartTaxCode"}) {
    QCOMPARE(Child<QLineEdit>(dialog, edit)->text(), QString());
  }
  QCOMPARE(Child<QLabel>(dialog, "Label7")->text(),
           QStringLiteral(" Applies to 4.0 Generation Pellux Only "));
  QCOMPARE(Child<QCheckBox>(dialog, "CheckBox1")->checkState(), Qt::PartiallyChecked);
  auto *caption = Child<QComboBox>(dialog, "orderbuttonText");
  QVERIFY(caption->isEditable());
  QCOMPARE(caption->currentText(), QStringLiteral("BUY!"));
  QCOMPARE(caption->count(), 0);
  auto *status = Child<QComboBox>(dialog, "ComboBox1");
  QCOMPARE(status->currentText(),
           QStringLiteral("Clicking this link will add this item to your shopping cart."));
  QCOMPARE(
      Items(status),
      (QStringList{"Place item in shopping cart.", "Order Now!",
                   "Clicking this link will add this item to your shopping cart.", "Buy It!"}));
  QCOMPARE(Child<QCheckBox>(dialog, "includeInfo")->text(), QStringLiteral("Insert Product Info"));
  QVERIFY(!Child<QCheckBox>(dialog, "includeInfo")->isChecked());
  QCOMPARE(Child<QCheckBox>(dialog, "Brackets")->text(), QStringLiteral("Use [Brackets]"));
  QVERIFY(!Child<QCheckBox>(dialog, "Brackets")->isChecked());
  QVERIFY(!Child<QPushButton>(dialog, "Button1")->isEnabled());
  QVERIFY(world.messages.events.empty());
  delete dialog;
}

void QuickLinkDialogTest::CaptionListComesFromTheButtonTexts() {
  DialogWorld world;
  TempFolder::WriteBytes(world.programDir.path() / "buttons.slu",
                         "Order Now\r\n\r\nAdd to Cart\rBuy \xE9t\xE9\n");
  auto *dialog = world.Open<TQuickLink>();
  auto *caption = Child<QComboBox>(dialog, "orderbuttonText");
  QCOMPARE(Items(caption),
           (QStringList{"Order Now", "", "Add to Cart", QStringLiteral("Buy \u00e9t\u00e9")}));
  QCOMPARE(caption->currentText(), QStringLiteral("BUY!"));
  delete dialog;
}

void QuickLinkDialogTest::UnreadableButtonTextsAreReportedAndTheListStaysEmpty() {
  DialogWorld world;
  const std::filesystem::path file = world.programDir.path() / "buttons.slu";
  std::filesystem::create_directory(file);
  auto *dialog = world.Open<TQuickLink>();
  QCOMPARE(world.messages.events, std::vector<std::string>{"message: Cannot open file \"" +
                                                           file.string() + "\". Is a directory"});
  QCOMPARE(Child<QComboBox>(dialog, "orderbuttonText")->count(), 0);
  QCOMPARE(Child<QComboBox>(dialog, "orderbuttonText")->currentText(), QStringLiteral("BUY!"));
  delete dialog;
}

void QuickLinkDialogTest::TabGoesThroughTheControlsInOrder() {
  DialogWorld world;
  auto *dialog = world.Open<TQuickLink>();
  TypeItem(dialog, "Mug", "1");
  Child<QLineEdit>(dialog, "Edit1")->setFocus();
  // The combo boxes take the focus in their edit part.
  const auto owner = [](QWidget *focus) {
    return qobject_cast<QComboBox *>(focus->parentWidget()) ? focus->parentWidget() : focus;
  };
  for (const char *next : {"Edit2", "Edit3", "CheckBox1", "SmartTaxCode", "orderbuttonText",
                           "ComboBox1", "Button1", "Button2", "includeInfo", "Brackets"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(owner(QApplication::focusWidget())->objectName(), QString::fromLatin1(next));
  }
  delete dialog;
}

void QuickLinkDialogTest::OKNeedsDescriptionPriceAndCaption() {
  struct Case {
    const char *name;
    std::function<void(QWidget *)> act;
    bool enabled;
  };
  const auto caption = [](QWidget *d) { return Child<QComboBox>(d, "orderbuttonText"); };
  const std::vector<Case> cases = {
      {"description only", [](QWidget *d) { Type(Child<QLineEdit>(d, "Edit1"), "Mug"); }, false},
      {"description and price", [](QWidget *d) { TypeItem(d, "Mug", "4"); }, true},
      {"caption cleared",
       [&](QWidget *d) {
         TypeItem(d, "Mug", "4");
         Clear(caption(d)->lineEdit());
       },
       false},
      {"caption cleared, then any caption typed",
       [&](QWidget *d) {
         TypeItem(d, "Mug", "4");
         Clear(caption(d)->lineEdit());
         Type(caption(d)->lineEdit(), "x");
       },
       true},
      {"status text cleared does not matter",
       [](QWidget *d) {
         TypeItem(d, "Mug", "4");
         Clear(Child<QComboBox>(d, "ComboBox1")->lineEdit());
       },
       true},
      {"price refused entirely", [](QWidget *d) { TypeItem(d, "Mug", "four"); }, false},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    auto *dialog = world.Open<TQuickLink>();
    c.act(dialog);
    QVERIFY2(Child<QPushButton>(dialog, "Button1")->isEnabled() == c.enabled, c.name);
    delete dialog;
  }
}

void QuickLinkDialogTest::KeyFiltersDiscardRefusedKeys() {
  DialogWorld world;
  auto *dialog = world.Open<TQuickLink>();
  TypeItem(dialog, "Salt & \"Pepper\"^", "$1,234.5a");
  Type(Child<QLineEdit>(dialog, "Edit3"), "1.5 lb");
  QCOMPARE(Child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("Salt & \"Pepper\"^"));
  // The comma is taken as the decimal point.
  QCOMPARE(Child<QLineEdit>(dialog, "Edit2")->text(), QStringLiteral("1.234.5"));
  QCOMPARE(Child<QLineEdit>(dialog, "Edit3")->text(), QStringLiteral("15"));
  QVERIFY(world.messages.events.empty());
  delete dialog;
}

void QuickLinkDialogTest::OKInsertsTheLinkAndCloses() {
  struct Case {
    const char *name;
    std::function<void(QWidget *)> act;
    std::string expected;
  };
  const auto status = [](QWidget *d) { return Child<QComboBox>(d, "ComboBox1")->lineEdit(); };
  const std::vector<Case> cases = {
      {"defaults", [](QWidget *) {}, kDefaultAnchor},
      {"brackets and product info",
       [](QWidget *d) {
         Tick(d, "includeInfo");
         Tick(d, "Brackets");
       },
       std::string(R"(<b>Blue Mug</b> -- <b><font color="#FF0000">$4.50</font></b> [)") +
           kDefaultAnchor + "]"},
      {"status text with apostrophe and quote",
       [&](QWidget *d) {
         Clear(status(d));
         Type(status(d), "It's \"here\"");
       },
       "<A HREF=\"/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^\" "
       "onMouseOver=\"self.status='It\\'s &quot;here&quot;';  return true\""
       "onMouseOut=\"self.status=''; return true\">BUY!</A>"},
      {"status text emptied, caption changed, taxable with code",
       [&](QWidget *d) {
         Clear(status(d));
         auto *caption = Child<QComboBox>(d, "orderbuttonText")->lineEdit();
         Clear(caption);
         Type(caption, "Order <b>now</b>");
         Tick(d, "CheckBox1");
         Type(Child<QLineEdit>(d, "SmartTaxCode"), "TX 1");
       },
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^1^TX+1" onMouseOver="self.status='';  return true">Order <b>now</b></A>)"},
      {"status text chosen from the list",
       [](QWidget *d) { Child<QComboBox>(d, "ComboBox1")->setCurrentIndex(1); },
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Order Now!';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    QPointer<QWidget> dialog = world.Open<TQuickLink>();
    TypeItem(dialog, "Blue Mug", "4.50");
    Type(Child<QLineEdit>(dialog, "Edit3"), "2");
    c.act(dialog);
    ClickOK(dialog);
    QCOMPARE(Q(world.host->ActiveText()), Q("<p>" + c.expected));
    QVERIFY(world.messages.events.empty());
    QVERIFY2(IsGone(dialog), c.name);
  }
}

void QuickLinkDialogTest::ConversionErrorKeepsTheDialogOpen() {
  DialogWorld world;
  QPointer<QWidget> dialog = world.Open<TQuickLink>();
  TypeItem(dialog, "Mug", "1.2.3");
  Tick(dialog, "includeInfo");
  ClickOK(dialog);
  QCOMPARE(world.messages.events,
           std::vector<std::string>{R"(message: Currency conversion error "1.2.3")"});
  QCOMPARE(Q(world.host->ActiveText()), QStringLiteral("<p>"));
  QVERIFY(!IsGone(dialog));
  QVERIFY(dialog->isVisible());
  QCOMPARE(Child<QLineEdit>(dialog, "Edit2")->text(), QStringLiteral("1.2.3"));

  // Without the product info the price is not converted and goes into the link as typed.
  Tick(dialog, "includeInfo");
  ClickOK(dialog);
  QCOMPARE(
      Q(world.host->ActiveText()),
      QStringLiteral(
          R"(<p><A HREF="/cgi-bin/pellux.cgi?pelluxadd=Mug^1.2.3^^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"));
  QVERIFY(IsGone(dialog));
}

void QuickLinkDialogTest::OpenDocumentIsCheckedBeforeThePrice() {
  DialogWorld world;
  world.host->CloseAllDocuments();
  auto *dialog = world.Open<TQuickLink>();
  TypeItem(dialog, "Mug", "1.2.3");
  Tick(dialog, "includeInfo");
  ClickOK(dialog);
  QCOMPARE(world.messages.events,
           (std::vector<std::string>{"message: No document is open!", "end program"}));
  delete dialog;
}

void QuickLinkDialogTest::EditorGoneEndsTheProgram() {
  DialogWorld world;
  world.host->Quit();
  auto *dialog = world.Open<TQuickLink>();
  TypeItem(dialog, "Mug", "1");
  ClickOK(dialog);
  QCOMPARE(world.messages.events,
           (std::vector<std::string>{"message: Could not connect to document.", "end program"}));
  delete dialog;
}

void QuickLinkDialogTest::CancelAndEscapeCloseWithoutOutput() {
  struct Case {
    const char *name;
    std::function<void(QWidget *)> close;
  };
  const auto escapeIn = [](QWidget *control) { QTest::keyClick(control, Qt::Key_Escape); };
  const std::vector<Case> cases = {
      {"Cancel clicked",
       [](QWidget *d) { QTest::mouseClick(Child<QPushButton>(d, "Button2"), Qt::LeftButton); }},
      {"Escape in the price", [&](QWidget *d) { escapeIn(Child<QLineEdit>(d, "Edit2")); }},
      {"Escape in the link caption",
       [&](QWidget *d) { escapeIn(Child<QComboBox>(d, "orderbuttonText")->lineEdit()); }},
      {"Escape in the status text",
       [&](QWidget *d) { escapeIn(Child<QComboBox>(d, "ComboBox1")->lineEdit()); }},
      {"Escape on a check box", [&](QWidget *d) { escapeIn(Child<QCheckBox>(d, "Brackets")); }},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    QPointer<QWidget> dialog = world.Open<TQuickLink>();
    TypeItem(dialog, "Mug", "1");
    c.close(dialog);
    QVERIFY2(IsGone(dialog), c.name);
    QCOMPARE(Q(world.host->ActiveText()), QStringLiteral("<p>"));
    QVERIFY(world.messages.events.empty());
  }
}

QTEST_MAIN(QuickLinkDialogTest)
#include "quick_link_dialog_test.moc"
