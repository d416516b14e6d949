// Enter in a one-line edit, a list or on a radio button presses the dialog's OK (the wizard's
// Next) while it is enabled, and nothing while it is not; grid cells and multi-line edits keep it.

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/quick_link_dialog.h"
#include "dialogs/text_option_dialog.h"
#include "dialogs/wizard_dialog.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::Child;
using testing::DialogWorld;

template <typename Dialog>
QDialog *Opened(DialogWorld &world) {
  testing::TempFolder::WriteBytes(world.programDir.path() / "t.zft", "<p>%zf_description%</p>");
  return world.Open<Dialog>();
}

// Where the keys of a control go: a combo box's edit, a grid's cell editor, the control itself.
QWidget *KeyTarget(QWidget *control) {
  if (auto *combo = qobject_cast<QComboBox *>(control)) return combo->lineEdit();
  if (auto *grid = qobject_cast<StringGrid *>(control)) return grid->CellEditor();
  return control;
}

}  // namespace

class EnterKeyTest : public QObject {
  Q_OBJECT

 private slots:
  void EnterPressesTheEnabledOk() {
    const QStringList item = {"FileListBox1", "nextBut", "Description=T", "Price=4",
                              "ProductWeight=1"};
    const struct {
      QDialog *(*open)(DialogWorld &);
      QStringList acts;
      const char *control;  // where Enter is pressed
      const char *button;
      bool pressed;
    } cases[] = {
        // clang-format off
        {Opened<TPelluxAdd>, {"Edit1=Mug"}, "Edit3", "Button1", false},
        {Opened<TPelluxAdd>, {"Edit1=Mug", "Edit2=4"}, "Edit3", "Button1", true},
        {Opened<TQuickLink>, {"Edit2=4"}, "Edit1", "Button1", false},
        {Opened<TQuickLink>, {"Edit1=Mug", "Edit2=4"}, "ComboBox1", "Button1", true},
        {Opened<TTextAdd>, {"Edit3=N"}, "Edit1", "OKBUT", false},
        {Opened<TTextAdd>, {"Edit3=N", "Edit4=2"}, "Edit1", "OKBUT", true},
        {Opened<TPelluxOptionsBuilder>, {}, "Eopfor", "OKBut", true},
        {Opened<TPelluxOptionsBuilder>, {"RadioGrid1=S"}, "RadioGrid1", "OKBut", false},
        {Opened<TAddBuilder>, {}, "SEBUT", "OKBut", true},
        {Opened<TOptions>, {}, "orderbuttonText", "Button1", true},
        {Opened<T_PelluxFP>, {"FileListBox1"}, "FileListBox1", "nextBut", true},
        {Opened<T_PelluxFP>, {"FileListBox1", "nextBut"}, "Description", "nextBut", false},
        {Opened<T_PelluxFP>, item, "ProductWeight", "nextBut", true},
        {Opened<T_PelluxFP>, item + QStringList{"nextBut", "nextBut"}, "LongText", "nextBut", false},
        // clang-format on
    };
    for (const auto &c : cases) {
      DialogWorld world;
      QPointer<QDialog> dialog = c.open(world);
      testing::Act(dialog, c.acts);
      QSignalSpy pressed(Child<QPushButton>(dialog, c.button), &QPushButton::clicked);
      QWidget *target = KeyTarget(Child<QWidget>(dialog, c.control));
      target->setFocus();
      QTest::keyClick(target, Qt::Key_Return);
      QVERIFY2(pressed.count() == int(c.pressed), c.control);
      delete dialog;
    }
  }
};

}  // namespace vendigo

QTEST_MAIN(vendigo::EnterKeyTest)
#include "enter_key_test.moc"
