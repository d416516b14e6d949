// A page's scripts, in the rendered view (Test Cart off and on) and in a fragment preview, read
// no file outside the page's folder, reach no server on this machine and take the view nowhere:
// only the merchant's click opens the desktop's browser, or, with Test Cart on, the test cart.
// It runs on an X server under a window manager, with a stand-in for xdg-open on PATH that writes
// down what it is asked to open, and a server on the test cart's port that keeps every request.
#include <QAction>
#include <QBoxLayout>
#include <QDialog>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "dialogs/fragment_preview.h"
#include "dialogs/web_engine_start.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/test_cart_redirect.h"
#include "support/page_script.h"
#include "support/scripted_editor_prompts.h"

namespace vendigo {
namespace {

constexpr int kEngineMs = 60000;

constexpr char kPicture[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="7" height="5"><rect width="7" height="5"/></svg>)";

enum class Where { View, ViewWithTestCart, Preview };

bool Write(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Read(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class HostilePageTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() {
    QStandardPaths::setTestModeEnabled(true);  // the preview keeps its fold there
    PrepareWebEngine("hostile_page_tests");
  }

 private slots:
  void initTestCase() {
    QVERIFY(Write(bin_.filePath("xdg-open"),
                  "#!/bin/sh\necho \"$@\" >> " + bin_.filePath("opened").toUtf8() + "\n"));
    QVERIFY(QFile::setPermissions(bin_.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    qputenv("PATH", bin_.path().toUtf8() + ":" + qgetenv("PATH"));
    QVERIFY(server_.listen(QHostAddress::LocalHost, TestCartRedirect::kPort));
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket *socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
          received_ += socket->readAll();
          socket->write("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nthere");
          socket->disconnectFromHost();
        });
      }
    });
  }

  void NothingLeavesButTheMerchantsClick_data() {
    QTest::addColumn<Where>("where");
    QTest::addColumn<QString>("opened");
    QTest::newRow("rendered view") << Where::View << "https://shop.example/about\n";
    QTest::newRow("rendered view, test cart on")
        << Where::ViewWithTestCart << "https://shop.example/about\n";
    QTest::newRow("fragment preview") << Where::Preview << "";
  }
  void NothingLeavesButTheMerchantsClick() {
    QFETCH(Where, where);
    QFETCH(QString, opened);
    QTemporaryDir folder;
    const QString site = folder.filePath("site");
    QVERIFY(QDir(folder.path()).mkdir("site"));
    QVERIFY(Write(folder.filePath("secret.txt"), "the merchant's secret"));
    QVERIFY(QFile::link(folder.filePath("secret.txt"), site + "/link.txt"));
    QVERIFY(Write(site + "/own.svg", kPicture));
    // It reads what it can, by every way a page has, and sends it out by every way a page has.
    QFile hostile(VENDIGO_HOSTILE_PAGE);
    QVERIFY(hostile.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(hostile.readAll())
                             .replace("SECRET", folder.filePath("secret.txt"))
                             .replace("FOLDER", folder.path());
    QVERIFY(Write(site + "/page.html", page.toUtf8()));
    QFile::remove(bin_.filePath("opened"));
    received_.clear();

    testing::ScriptedEditorPrompts prompts;
    PageEditorWindow window(prompts);
    QDialog dialog;
    QWebEnginePage *shown = nullptr;
    if (where == Where::Preview) {
      auto *row = new QHBoxLayout;
      (new QVBoxLayout(&dialog))->addLayout(row);
      auto *preview = new FragmentPreview(&dialog, row, [page] {
        return PreviewContent{page.toStdString(), {}};
      });
      dialog.findChild<QToolButton *>("PreviewToggle")->setChecked(true);
      dialog.show();
      QTRY_VERIFY(preview->findChild<QWebEngineView *>("PreviewView"));
      shown = preview->findChild<QWebEngineView *>("PreviewView")->page();
    } else {
      if (where == Where::ViewWithTestCart) window.findChild<QAction *>("ViewTestCart")->trigger();
      QString error;
      EditorDocument *document = window.OpenDocument(site + "/page.html", &error);
      QVERIFY2(document, qPrintable(error));
      window.show();
      QTRY_VERIFY_WITH_TIMEOUT(document->Rendered()->Page(), kEngineMs);
      shown = document->Rendered()->Page();
      QTRY_COMPARE_WITH_TIMEOUT(testing::RunScript(shown,
                                                   "document.getElementById('own')"
                                                   ".naturalWidth"),
                                QVariant(7), kEngineMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(shown->title() == "tried" || !received_.isEmpty(), kEngineMs);
    QTest::qWait(2000);  // for the refresh and the beacons
    QCOMPARE(received_, QByteArray());
    QCOMPARE(shown->title(), QString("tried"));  // the page is still there
    QVERIFY(testing::Click(shown, "#shop"));
    if (opened.isEmpty()) QTest::qWait(2000);
    QTRY_COMPARE_WITH_TIMEOUT(Read(bin_.filePath("opened")), opened.toUtf8(), 10000);
    if (where != Where::ViewWithTestCart) return;

    QVERIFY(testing::Click(shown, "#order"));
    QTRY_VERIFY_WITH_TIMEOUT(received_.contains("\r\n\r\n"), kEngineMs);
    const QList<QByteArray> head = received_.left(received_.indexOf("\r\n\r\n")).split('\n');
    QCOMPARE(head[0], "GET /cgi-bin/pellux.cgi?pelluxadd=Mug%5E1%5E1%5E%5E HTTP/1.1\r");
    QVERIFY2(head.contains("Sec-Fetch-Mode: navigate\r"), received_.constData());
  }

 private:
  QTemporaryDir bin_;
  QTcpServer server_;
  QByteArray received_;
};

}  // namespace vendigo

QTEST_MAIN(vendigo::HostilePageTest)
#include "hostile_page_test.moc"
