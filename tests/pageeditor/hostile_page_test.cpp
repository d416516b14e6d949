// A hostile page (hostile_page.html) in the rendered view, Test Cart off and on, and in a fragment
// preview reads no file outside its folder, reaches no server here and takes the view nowhere: only
// a click opens the desktop's browser (a stand-in xdg-open on PATH writes down what it opens), or,
// Test Cart on, the test cart (a server on its port keeps every request). On Xvfb under openbox.
#include <QAction>
#include <QBoxLayout>
#include <QDialog>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <QtTest>

#include "dialogs/fragment_preview.h"
#include "dialogs/web_engine_start.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/page_script.h"
#include "support/scripted_editor_prompts.h"
#include "support/temp_folder.h"

namespace vendigo {

QByteArray Read(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
void Write(const QString &path, const QString &text) {
  testing::TempFolder::WriteBytes(path.toStdString(), text.toStdString());
}

class HostilePageTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { PrepareWebEngine("hostile_page_tests"); }

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);  // the preview keeps its fold there
    Write(bin_.filePath("xdg-open"), "#!/bin/sh\necho \"$@\" >>" + opened_);
    QVERIFY(QFile::setPermissions(bin_.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    qputenv("PATH", bin_.path().toUtf8() + ":" + qgetenv("PATH"));
    QVERIFY(server_.listen(QHostAddress::LocalHost, 8765));
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      QTcpSocket *socket = server_.nextPendingConnection();
      connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        received_ += socket->readAll();
        // A page that names its icon, so the browser asks no /favicon.ico of this server after
        // the order, which would arrive in the next row's count.
        const QByteArray page = "<link rel=\"icon\" href=\"data:,\">ok";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                      QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
        socket->disconnectFromHost();
      });
    });
  }

  void NothingLeavesButTheMerchantsClick_data() {
    QTest::addColumn<int>("testCart");  // -1: the page in a fragment preview
    QTest::addColumn<QString>("opened");
    QTest::newRow("rendered view") << 0 << "https://shop.example/about\n";
    QTest::newRow("rendered view, test cart on") << 1 << "https://shop.example/about\n";
    QTest::newRow("fragment preview") << -1 << "";
  }
  void NothingLeavesButTheMerchantsClick() {
    QFETCH(int, testCart);
    QFETCH(QString, opened);
    QTemporaryDir folder;
    const QString site = folder.filePath("site/"), secret = folder.filePath("secret.txt");
    QVERIFY(QDir(folder.path()).mkdir("site") && QFile::link(secret, site + "link.txt"));
    Write(secret, "secret");
    Write(site + "own.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='7'/>");
    const QString page = QString(Read(VENDIGO_HOSTILE_PAGE))
                             .replace("SECRET", secret)
                             .replace("FOLDER", folder.path());
    Write(site + "page.html", page);
    QFile::remove(opened_);
    received_.clear();

    testing::ScriptedEditorPrompts prompts;
    PageEditorWindow window(prompts);
    QDialog dialog;
    QWebEnginePage *shown = nullptr;
    if (testCart < 0) {
      auto *row = new QHBoxLayout;
      (new QVBoxLayout(&dialog))->addLayout(row);
      new FragmentPreview(&dialog, row, [page] { return PreviewContent{page.toStdString(), {}}; });
      dialog.findChild<QToolButton *>("PreviewToggle")->setChecked(true);
      dialog.show();
      QTRY_VERIFY(shown = dialog.findChild<QWebEnginePage *>());
    } else {
      if (testCart) window.findChild<QAction *>("ViewTestCart")->trigger();
      QString error;
      EditorDocument *document = window.OpenDocument(site + "page.html", &error);
      QVERIFY2(document, qPrintable(error));
      window.show();
      QTRY_VERIFY_WITH_TIMEOUT(shown = document->Rendered()->Page(), 60000);
      QTRY_COMPARE_WITH_TIMEOUT(testing::RunScript(shown, "document.images[0].naturalWidth"),
                                QVariant(7), 60000);  // its own picture shows
    }
    QTRY_VERIFY_WITH_TIMEOUT(shown->title() == "tried" || !received_.isEmpty(), 60000);
    QTest::qWait(2000);  // for the refresh and the beacons
    QCOMPARE(received_, QByteArray());
    QCOMPARE(shown->title(), QString("tried"));  // the page is still there
    QVERIFY(testing::Click(shown, "#shop"));
    QTest::qWait(opened.isEmpty() ? 2000 : 0);
    QTRY_COMPARE_WITH_TIMEOUT(Read(opened_), opened.toUtf8(), 10000);
    if (testCart != 1) return;
    QVERIFY(testing::Click(shown, "#order"));
    QTRY_VERIFY_WITH_TIMEOUT(received_.contains("\r\n\r\n"), 60000);
    QCOMPARE(received_.left(received_.indexOf("\r\n")),
             "GET /cgi-bin/pellux.cgi?pelluxadd=Mug%5E1%5E1%5E%5E HTTP/1.1");
    QVERIFY2(received_.contains("\r\nSec-Fetch-Mode: navigate\r\n"), received_.constData());
  }

 private:
  QTemporaryDir bin_;
  const QString opened_ = bin_.filePath("opened");
  QTcpServer server_;
  QByteArray received_;
};

}  // namespace vendigo

QTEST_MAIN(vendigo::HostilePageTest)
#include "hostile_page_test.moc"
