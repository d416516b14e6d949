// The page editor program on a private session bus: its service, its second start, its
// activation file.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

#include "editorlink/dbus_editor_host.h"
#include "support/page_editor_session.h"

using vendigo::testing::PageEditorSession;

namespace {

QByteArray ReadAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The error name of a call to the editor, or "" when it went through.
QString ErrorOf(const QString &method, const QVariantList &arguments = {}) {
  QDBusMessage message = QDBusMessage::createMethodCall(
      vendigo::kEditorBusName, vendigo::kEditorObjectPath, vendigo::kEditorInterface, method);
  message.setArguments(arguments);
  const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
  return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : QString();
}

}  // namespace

class PageEditorBusTest : public QObject {
  Q_OBJECT

 private slots:
  void filesOnTheCommandLineAreOpenedAndListed() {
    PageEditorSession editor;
    const QString first = editor.WriteFile("first.html", "<p>1</p>");
    const QString second = editor.WriteFile("second.html", "<p>2</p>\r\n");
    QVERIFY2(editor.Start({first, second}), qPrintable(editor.LastError()));
    QCOMPARE(editor.ListOpenDocs(), first + "\n" + second);
    QCOMPARE(editor.ActiveDocumentText(), QString("<p>2</p>\r\n"));
    QVERIFY(editor.NewDocument());
    QCOMPARE(editor.ListOpenDocs(), first + "\n" + second + "\nUntitled 1");
  }

  void aSecondStartHandsItsFilesToTheRunningEditor() {
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    const QString page = editor.WriteFile("page.html", "<p>\xC3\xA9</p>");

    QProcess second;
    second.setWorkingDirectory(editor.FilesFolder());
    second.start(PageEditorSession::Program(), {"page.html"});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QVERIFY(editor.IsRunning());
    // The first start had no files, so it opened one new document.
    QCOMPARE(editor.ListOpenDocs(), "Untitled 1\n" + page);
    QCOMPARE(editor.ActiveDocumentText(), QString::fromUtf8("<p>\xC3\xA9</p>"));
  }

  void callsThatCannotBeDoneAreErrorReplies() {
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    const QString noDocument = "FrontPage.Editor.Error.NoDocument";
    const QString fileError = "FrontPage.Editor.Error.File";
    QCOMPARE(ErrorOf("CloseActiveDocument"), QString());
    QCOMPARE(ErrorOf("CloseActiveDocument"), noDocument);
    QCOMPARE(ErrorOf("vtiInsertHTML", {"<b>x</b>"}), noDocument);
    QCOMPARE(ErrorOf("ActiveDocumentText"), noDocument);
    QCOMPARE(ErrorOf("SaveActiveDocument"), noDocument);
    QCOMPARE(ErrorOf("OpenDocument", {editor.FilesFolder() + "/missing.html"}), fileError);
    QCOMPARE(ErrorOf("NewDocument"), QString());
    QCOMPARE(ErrorOf("SaveActiveDocument"), fileError);  // an unsaved document has no file
    QCOMPARE(ErrorOf("vtiInsertHTML", {"<b>x</b>"}), QString());
    QCOMPARE(ErrorOf("CloseActiveDocument"), QString("FrontPage.Editor.Error.Modified"));
    QCOMPARE(ErrorOf("vtiBringToTop"), QString());
  }

  // What is no file to edit is refused with an error reply, at once, and the editor goes on.
  void openingWhatIsNoFileIsAnErrorReply() {
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    const QString fifo = editor.FilesFolder() + "/fifo.html";
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = editor.WriteFile("big.html", "<p>");
    QVERIFY(QFile::resize(big, (64 << 20) + 1));  // sparse: takes no room on the disk
    const QStringList refused = {"/dev/zero: Not a regular file", fifo + ": Not a regular file",
                                 big + ": Larger than 64 MB",
                                 editor.FilesFolder() + ": Is a directory", ": No file name given"};
    for (const QString &expected : refused) {
      const QString path = expected.section(": ", 0, 0);
      QDBusMessage message =
          QDBusMessage::createMethodCall(vendigo::kEditorBusName, vendigo::kEditorObjectPath,
                                         vendigo::kEditorInterface, "OpenDocument");
      message << path;
      const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 5000);
      QCOMPARE(reply.errorName(), QString("FrontPage.Editor.Error.File"));
      QCOMPARE(reply.errorMessage(), "Could not open " + expected);
      QCOMPARE(editor.ListOpenDocs(), QString("Untitled 1"));
    }
  }

  void saveWritesTheInsertedBytes() {
    PageEditorSession editor;
    const QString page = editor.WriteFile("page.html", "<body>\r\n</body>\r\n");
    QVERIFY2(editor.Start({page}), qPrintable(editor.LastError()));
    QCOMPARE(ErrorOf("vtiInsertHTML", {QString::fromUtf8("<p a=\"1\">\xE2\x84\xA2</p>\n")}),
             QString());
    QVERIFY2(editor.SaveActiveDocument(), qPrintable(editor.LastError()));
    // The inserted line break takes the page's CR LF.
    QCOMPARE(ReadAll(page), QByteArray("<p a=\"1\">\xE2\x84\xA2</p>\r\n<body>\r\n</body>\r\n"));
  }

  void theActivationFileIsWrittenAtStart() {
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    QCOMPARE(ReadAll(editor.DataHome() + "/dbus-1/services/FrontPage.Editor.service"),
             "[D-BUS Service]\nName=FrontPage.Editor\nExec=" +
                 QFile::encodeName(PageEditorSession::Program()) + "\n");
  }
};

QTEST_MAIN(PageEditorBusTest)
#include "page_editor_bus_test.moc"
