// With Test Cart on, an order placed in the rendered view reaches the test cart, form and all.
#include <sys/prctl.h>

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>
#include <csignal>

#include "dialogs/web_engine_start.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/test_cart_redirect.h"
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
    // A cart outliving a test that ends halfway (a sanitizer halts it) would hold the port, and
    // every later cart would fail to listen.
    cart.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    // The sign is given, so the settings of build/bin cannot change the basket's prices.
    cart.start(VENDIGO_CART_PATH, {"--port", "8765", "--currency", "$"});
    QVERIFY2(cart.waitForReadyRead(10000), cart.readAllStandardError().constData());
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

  // The cart the editor started ends with the editor, even when the editor is killed. The editor
  // is this test, run again from a folder where vendigo-cart lies beside it.
  void TheCartEndsWithTheEditorThatStartedIt() {
    if (qEnvironmentVariableIsSet("VENDIGO_TEST_EDITOR_TO_KILL")) {
      testing::ScriptedEditorPrompts prompts;
      PageEditorWindow window(prompts);
      window.findChild<QAction *>("ViewTestCart")->trigger();
      QTest::qWait(120000);
      return;
    }
    const auto cartAnswers = [] {
      QTcpSocket socket;
      socket.connectToHost("127.0.0.1", TestCartRedirect::kPort);
      return socket.waitForConnected(500);
    };
    if (cartAnswers()) QSKIP("another program listens on the test cart's port");
    const QTemporaryDir folder;
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder.filePath("editor")));
    QVERIFY(QFile::link(VENDIGO_CART_PATH, folder.filePath("vendigo-cart")));
    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VENDIGO_TEST_EDITOR_TO_KILL", "1");
    editor.setProcessEnvironment(environment);
    editor.start(folder.filePath("editor"), {QTest::currentTestFunction()});
    QTRY_VERIFY_WITH_TIMEOUT(cartAnswers(), 30000);
    editor.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!cartAnswers(), 10000);
  }
};

}  // namespace vendigo

QTEST_MAIN(vendigo::TestCartSwitchTest)
#include "test_cart_switch_test.moc"
