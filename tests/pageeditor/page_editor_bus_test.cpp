// The page editor program on a private session bus: its service, its second start, its
// activation file, its recovery copies.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <signal.h>
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

QStringList TemporaryFolders(qint64 pid) {
  return QDir(QDir::tempPath())
      .entryList({QStringLiteral("vendigo-pageeditor-%1-*").arg(pid)}, QDir::Dirs);
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

  // An insertion that would make a page the editor could not open again is refused, and the
  // editor answers the calls after it (a call of over 63 MiB once left it deaf).
  void anInsertionPastTheFileLimitIsAnErrorReply() {
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    QDBusMessage message =
        QDBusMessage::createMethodCall(vendigo::kEditorBusName, vendigo::kEditorObjectPath,
                                       vendigo::kEditorInterface, "vtiInsertHTML");
    message << QString(70 << 20, u'x');
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 60000);
    QCOMPARE(reply.errorName(), QString("FrontPage.Editor.Error.TooLarge"));
    QCOMPARE(reply.errorMessage(),
             QString("Could not insert into Untitled 1: Larger than 64 MB, more than the editor "
                     "opens"));
    QCOMPARE(ErrorOf("vtiInsertHTML", {"<b>x</b>"}), QString());
    QCOMPARE(editor.ListOpenDocs(), QString("Untitled 1"));
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

  void unsavedWorkOutlivesAKillAndAnEndBySignalLeavesNoTemporaryFolder() {
    PageEditorSession editor;
    // Windows-1252, which has no 杯: the copy keeps the character, a save its reference.
    const QString page = editor.WriteFile("page.html", "<p>\xE9</p>\r\n");
    QVERIFY2(editor.Start({page}), qPrintable(editor.LastError()));
    const QString typed = QString::fromUtf8("<b>\xE6\x9D\xAF</b>");
    QCOMPARE(ErrorOf("vtiInsertHTML", {typed}), QString());
    QVERIFY(editor.NewDocument());
    QCOMPARE(ErrorOf("vtiInsertHTML", {"<i>new</i>"}), QString());
    const QString untitled = editor.ActiveDocumentText();
    const auto copies = [&] {
      return QDir(editor.StateHome() + "/vendigo/recovery").entryList({"*.recovery"});
    };
    QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 2, 10000);
    const qint64 killed = editor.ProcessId();
    QCOMPARE(::kill(static_cast<pid_t>(killed), SIGKILL), 0);
    QVERIFY(editor.Quit());
    QVERIFY(!TemporaryFolders(killed).isEmpty());

    QVERIFY2(editor.Start({"--restore"}), qPrintable(editor.LastError()));
    QCOMPARE(editor.ListOpenDocs(), page + "\nUntitled 2");
    QCOMPARE(editor.ActiveDocumentText(), untitled);
    QVERIFY(editor.OpenDocument(page));  // the restored document, not the file
    QCOMPARE(editor.ActiveDocumentText(), typed + QString::fromUtf8("<p>\xC3\xA9</p>\r\n"));
    QVERIFY2(editor.SaveActiveDocument(), qPrintable(editor.LastError()));
    QCOMPARE(ReadAll(page), QByteArray("<b>&#26479;</b><p>\xE9</p>\r\n"));
    QCOMPARE(TemporaryFolders(killed), QStringList());

    // SIGTERM ends it as Quit does, minus the questions: the untitled document's copy stays.
    const qint64 ended = editor.ProcessId();
    QVERIFY(editor.Quit());
    QCOMPARE(TemporaryFolders(ended), QStringList());
    QCOMPARE(copies().size(), 1);
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
