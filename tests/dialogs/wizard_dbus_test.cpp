// The product page wizard, driven with the mouse and real keys, puts the finished page at the
// cursor of a real page editor over D-Bus.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "dialogs/wizard_dialog.h"
#include "support/editor_dialog_world.h"

using vendigo::testing::EditorDialogWorld;
using vendigo::testing::TempFolder;

class WizardDBusTest : public QObject {
  Q_OBJECT

 private slots:
  void finishPutsThePageAtTheEditorsCursor() {
    EditorDialogWorld world;
    TempFolder::WriteBytes(world.programDir.path() / "mug.zft",
                           "<p>%zf_description% %zf_price%</p>\n%zf_pelluxaddh%\n");
    QVERIFY2(world.Start(), qPrintable(world.Error()));

    QPointer<vendigo::T_PelluxFP> wizard = world.Open<vendigo::T_PelluxFP>();
    auto *list = EditorDialogWorld::Find<QListWidget>(wizard, "FileListBox1");
    const QList<QListWidgetItem *> items = list->findItems("mug.zft", Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(items.first()).center());
    QTest::mouseClick(EditorDialogWorld::Find<QPushButton>(wizard, "nextBut"), Qt::LeftButton);
    QTest::keyClicks(EditorDialogWorld::Find<QLineEdit>(wizard, "Description"), "Mug");
    QTest::keyClicks(EditorDialogWorld::Find<QLineEdit>(wizard, "Price"), "1234.5");
    QTest::keyClicks(EditorDialogWorld::Find<QLineEdit>(wizard, "ProductWeight"), "2");
    QTest::mouseClick(EditorDialogWorld::Find<QPushButton>(wizard, "FinBut"), Qt::LeftButton);

    QCOMPARE(
        world.editor.ActiveDocumentText().toStdString(),
        std::string(
            "<p>Mug 1,234.50</p>\n"
            R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Mug^1234.5^2^^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"
            "\n"));
    QCOMPARE(world.messages.events, std::vector<std::string>{});
    QTRY_VERIFY(wizard.isNull());
  }
};

QTEST_MAIN(WizardDBusTest)
#include "wizard_dbus_test.moc"
