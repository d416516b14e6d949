// Each builder dialog, driven with real keys, puts its fragment at the cursor of a real page
// editor over D-Bus.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/quick_link_dialog.h"
#include "dialogs/string_grid.h"
#include "dialogs/text_option_dialog.h"
#include "support/editor_dialog_world.h"

using vendigo::testing::EditorDialogWorld;

namespace {

using Edit = QLineEdit;

void Type(QWidget *dialog, const char *edit, const QString &text) {
  QTest::keyClicks(EditorDialogWorld::Find<Edit>(dialog, edit), text);
}

void Click(QWidget *dialog, const char *button) {
  QTest::mouseClick(EditorDialogWorld::Find<QAbstractButton>(dialog, button), Qt::LeftButton);
}

struct DialogCase {
  const char *name;
  std::function<QWidget *(EditorDialogWorld &)> open;
  std::function<void(QWidget *)> fill;
  const char *okButton;
  std::string expected;
  std::vector<std::string> events;
};

const std::string kHiddenElementMessage =
    "message: pelluxadd is a hidden form element. A hidden form element is not visible on your "
    "web page when published. These form elements are what communicate with Pellux.\r\rIf you "
    "are using FrontPage 98, this form element will be displayed in design view as \"!Pellux!\" "
    "You can click this text to change the value of the element.\r\rIn FrontPage 2000 you will "
    "need to click the \"Show All\" button to show the WebBots on the page. The \"Show All\" "
    "button looks like this: \u00b6";

const std::vector<DialogCase> &Cases() {
  static const std::vector<DialogCase> cases = {
      {"hidden item",
       [](EditorDialogWorld &w) { return w.Open<vendigo::TPelluxAdd>(); },
       [](QWidget *d) {
         Type(d, "Edit1", "Blue \"Mug\"");
         Type(d, "Edit2", "4.50");
         Type(d, "Edit3", "2");
         QTest::keyClick(EditorDialogWorld::Find<QCheckBox>(d, "CheckBox1"), Qt::Key_Space);
       },
       "Button1",
       R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Blue &quot;Mug&quot;^4.50^2^1^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)",
       {kHiddenElementMessage}},
      {"quick link",
       [](EditorDialogWorld &w) { return w.Open<vendigo::TQuickLink>(); },
       [](QWidget *d) {
         Type(d, "Edit1", "Salt & Pepper");
         Type(d, "Edit2", "4.50");
         Type(d, "Edit3", "2");
         QTest::keyClick(EditorDialogWorld::Find<QCheckBox>(d, "includeInfo"), Qt::Key_Space);
       },
       "Button1",
       R"(<b>Salt & Pepper</b> -- <b><font color="#FF0000">$4.50</font></b> <A HREF="<Enter the URL to the Pellux CGI Program here>?pelluxadd=Salt+%26+Pepper^4.50^2^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>)",
       {}},
      {"text option",
       [](EditorDialogWorld &w) { return w.Open<vendigo::TTextAdd>(); },
       [](QWidget *d) {
         Type(d, "Edit3", "Name on shirt");
         Type(d, "Edit4", "5.00");
       },
       "OKBUT",
       R"(Name on shirt: <INPUT TYPE="TEXT" NAME="textadd_Name on shirt_5.00" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$5.00</FONT>)",
       {}},
      {"extended option",
       [](EditorDialogWorld &w) { return w.Open<vendigo::TPelluxOptionsBuilder>(); },
       [](QWidget *d) {
         Type(d, "Eopfor", "Size");
         auto *grid = EditorDialogWorld::Find<vendigo::StringGrid>(d, "RadioGrid1");
         vendigo::testing::Type(grid, "Small");
         vendigo::testing::Tab(grid, 3);
       },
       "OKBut",
       "Size: <SELECT NAME=\"eop_Size\">\r\n<OPTION VALUE=\"Small^00.00^0\" "
       "SELECTED>Small\r\n</SELECT>",
       {}},
      {"addit select list",
       [](EditorDialogWorld &w) { return w.Open<vendigo::TAddBuilder>(); },
       [](QWidget *d) {
         Click(d, "SEBUT");
         auto *grid = EditorDialogWorld::Find<vendigo::StringGrid>(d, "RadioGrid1");
         vendigo::testing::ClickCell(grid, 0, 1);
         vendigo::testing::Type(grid, "Mug");
       },
       "OKBut",
       "<SELECT NAME=\"addit\">\r\n<OPTION VALUE=\"Mug^0.00^0^^\" SELECTED>Mug -- "
       "$0.00\r\n</SELECT><P> &nbsp;</P>",
       {}},
  };
  return cases;
}

}  // namespace

class BuilderDialogsDBusTest : public QObject {
  Q_OBJECT

 private slots:
  void okPutsTheFragmentAtTheEditorsCursor_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < Cases().size(); ++i) {
      QTest::newRow(Cases()[i].name) << static_cast<int>(i);
    }
  }

  void okPutsTheFragmentAtTheEditorsCursor() {
    QFETCH(int, index);
    const DialogCase &c = Cases()[static_cast<std::size_t>(index)];
    EditorDialogWorld world;
    QVERIFY2(world.Start(), qPrintable(world.Error()));

    QPointer<QWidget> dialog = c.open(world);
    c.fill(dialog);
    Click(dialog, c.okButton);

    QCOMPARE(world.editor.ActiveDocumentText().toStdString(), world.InLfDocument(c.expected));
    QCOMPARE(world.messages.events, c.events);
    QTRY_VERIFY(dialog.isNull());
  }
};

QTEST_MAIN(BuilderDialogsDBusTest)
#include "builder_dialogs_dbus_test.moc"
