// Failures and refusals are shown as errors (the programs mark them as warnings); information,
// such as what an inserted element is, is not.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "builders/key_filters.h"
#include "core/options_settings.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/string_grid.h"
#include "dialogs/wizard_dialog.h"
#include "editorlink/editor_link.h"
#include "pages/product_page.h"
#include "support/dialog_world.h"

namespace vendigo {

using testing::Child;
using testing::DialogWorld;

class MessageKindsTest : public QObject {
  Q_OBJECT

 private slots:
  void OnlyFailuresAndRefusalsAreErrors();
};

void MessageKindsTest::OnlyFailuresAndRefusalsAreErrors() {
  struct Case {
    const char *name;
    std::function<void(DialogWorld &)> act;
    std::vector<std::string> errors;
  };
  const auto click = [](QWidget *dialog, const char *button) {
    QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
  };
  const std::vector<Case> cases = {
      {"no document",
       [](DialogWorld &w) {
         w.host->CloseAllDocuments();
         w.link.InsertFragment("x", FailurePolicy::KeepRunning);
       },
       {kNoDocumentOpenMessage}},
      {"editor gone",
       [](DialogWorld &w) {
         w.host->Quit();
         w.link.InsertFragment("x", FailurePolicy::KeepRunning);
       },
       {kCouldNotConnectMessage}},
      {"location refused",
       [](DialogWorld &w) {
         SaveOptions(w.programDir.path(), w.settings, {"A", "$", "Buy", "x", "V"}, w.messages);
       },
       {kPelluxLocationMessage}},
      {"grid key refused",
       [](DialogWorld &w) {
         testing::Type(Child<StringGrid>(w.Open<TPelluxOptionsBuilder>(), "RadioGrid1"), "^");
       },
       {kKeyNotAllowedMessage}},
      {"no template",
       [&](DialogWorld &w) {
         auto *wizard = w.Open<T_PelluxFP>();
         for (const char *edit : {"Description", "Price", "ProductWeight"}) {
           QTest::keyClicks(Child<QLineEdit>(wizard, edit), "1");
         }
         click(wizard, "FinBut");
       },
       {kNoTemplateChosen}},
      {"what was inserted",
       [&](DialogWorld &w) {
         auto *dialog = w.Open<TPelluxAdd>();
         QTest::keyClicks(Child<QLineEdit>(dialog, "Edit1"), "Mug");
         QTest::keyClicks(Child<QLineEdit>(dialog, "Edit2"), "1");
         click(dialog, "Button1");
       },
       {}},
  };
  for (const Case &c : cases) {
    DialogWorld world;
    c.act(world);
    QVERIFY2(!world.messages.events.empty(), c.name);
    QVERIFY2(world.messages.errors == c.errors, c.name);
  }
}

}  // namespace vendigo

QTEST_MAIN(vendigo::MessageKindsTest)
#include "message_kinds_test.moc"
