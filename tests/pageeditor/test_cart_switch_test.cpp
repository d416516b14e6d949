// With Test Cart on, an order placed in the rendered view reaches the test cart, form and all,
// wherever the page's cart program is.
#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/page_script.h"
#include "support/scripted_editor_prompts.h"

namespace vendigo {

class TestCartSwitchTest : public QObject {
  Q_OBJECT

 private slots:
  void OrderInThePreviewReachesTheTestCart() {
    constexpr int kEngineMs = 60000;
    QProcess cart;
    cart.start(VENDIGO_CART_PATH, {"--port", "8765"});
    QVERIFY(cart.waitForReadyRead(10000));
    testing::ScriptedEditorPrompts prompts;
    PageEditorWindow window(prompts);
    auto *testCart = window.findChild<QAction *>("ViewTestCart");
    auto *indicator = window.findChild<QLabel *>("TestCartIndicator");
    QVERIFY(testCart && !testCart->isChecked() && indicator->isHidden());
    testCart->trigger();
    QVERIFY(testCart->isChecked() && !indicator->isHidden());

    window.show();
    EditorDocument *document = window.NewDocument();
    QSignalSpy rendered(document->Rendered(), &RenderedView::Rendered);
    document->InsertAtCursor(
        R"(<form method="POST" action="https://shop.example/cgi-bin/pellux.cgi">)"
        R"(<input type="hidden" name="pelluxadd" value="Blue Mug^4.50^2^^">)"
        R"(<input name="quantity" value="1"><input type="submit" value="Order!"></form>)");
    document->RefreshRendered();
    QVERIFY(rendered.wait(kEngineMs));
    testing::RunScript(*document->Rendered(),
                       "document.getElementsByName('quantity')[0].value = "
                       "'2'; document.querySelector('[type=submit]').click()");
    QTRY_COMPARE_WITH_TIMEOUT(document->Rendered()->Page()->url().path(), QString("/basket"),
                              kEngineMs);
    QTRY_VERIFY_WITH_TIMEOUT(testing::RunScript(*document->Rendered(), "document.body.innerText")
                                 .toString()
                                 .contains("Blue Mug\t\t\t$4.50\t2\t2\tnot stated\t\t$9.00"),
                             kEngineMs);
    testCart->trigger();
    QVERIFY(indicator->isHidden() && prompts.asked.isEmpty());
    cart.kill();
    cart.waitForFinished();
  }
};

}  // namespace vendigo

QTEST_MAIN(vendigo::TestCartSwitchTest)
#include "test_cart_switch_test.moc"
