// With Test Cart on, an order placed in the rendered view reaches the test cart, form and all.
#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include "dialogs/web_engine_start.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/page_script.h"
#include "support/scripted_editor_prompts.h"

namespace vendigo {

class TestCartSwitchTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { PrepareWebEngine("test_cart_switch_tests"); }

 private slots:
  void OrderInThePreviewReachesTheTestCart() {
    QProcess cart;
    // The sign is given, so the settings of build/bin cannot change the basket's prices.
    cart.start(VENDIGO_CART_PATH, {"--port", "8765", "--currency", "$"});
    QVERIFY(cart.waitForReadyRead(10000));
    testing::ScriptedEditorPrompts prompts;
    PageEditorWindow window(prompts);
    auto *testCart = window.findChild<QAction *>("ViewTestCart");
    auto *indicator = window.findChild<QLabel *>("TestCartIndicator");
    QVERIFY(!testCart->isChecked() && indicator->isHidden());
    testCart->trigger();
    QVERIFY(!indicator->isHidden());
    window.show();
    EditorDocument *document = window.NewDocument();
    QSignalSpy rendered(document->Rendered(), &RenderedView::Rendered);
    document->InsertAtCursor(
        R"(<form method="POST" action="https://shop.example/cgi-bin/pellux.cgi">)"
        R"(<input type="hidden" name="pelluxadd" value="Blue Mug^4.50^2^^">)"
        R"(<input name="quantity" value="2"><input type="submit"></form>)");
    document->RefreshRendered();
    QVERIFY(rendered.wait(60000));
    QVERIFY(testing::Click(*document->Rendered(), "[type=submit]"));
    QTRY_VERIFY_WITH_TIMEOUT(testing::RunScript(*document->Rendered(), "document.body.innerText")
                                 .toString()
                                 .contains("Blue Mug\t\t\t$4.50\t2\t2\tnot stated\t\t$9.00"),
                             60000);
    testCart->trigger();
    QVERIFY(indicator->isHidden() && prompts.asked.isEmpty());
  }
};

}  // namespace vendigo

QTEST_MAIN(vendigo::TestCartSwitchTest)
#include "test_cart_switch_test.moc"
