// The editor link against a real vendigo-pageeditor on a private session bus.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "editorlink/automation_failure.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_link.h"
#include "pageeditor/new_page.h"
#include "support/page_editor_session.h"
#include "support/recording_messages.h"

using vendigo::AutomationFailure;
using vendigo::ConnectDBusEditorHost;
using vendigo::EditorLink;
using vendigo::FailurePolicy;
using vendigo::InsertOutcome;
using vendigo::testing::PageEditorSession;
using vendigo::testing::RecordingMessages;
using Events = std::vector<std::string>;

Q_DECLARE_METATYPE(FailurePolicy)
Q_DECLARE_METATYPE(InsertOutcome)
Q_DECLARE_METATYPE(Events)

namespace {

const std::string kCannotConnect =
    "message: Cannot connect to Microsoft FrontPage.\r\nFrontPage is not configured properly, "
    "this is a FrontPage error and can be easily fixed!";
const std::string kDetectAndRepair =
    "message: Start Microsoft FrontPage then Click \"Help\" -> \"Detect and Repair\" this will fix "
    "many errors in FrontPage, not just the Vendigo issue at hand!";
const std::string kNoDocument = "message: No document is open!";
const std::string kCouldNotConnect = "message: Could not connect to document.";
const std::string kEnd = "end program";

QString ActivationFileOfTheBus() {
  return qEnvironmentVariable("VENDIGO_TEST_BUS_SERVICES") + "/FrontPage.Editor.service";
}

}  // namespace

class DBusEditorLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    // No editor can be started by the bus unless a test asks for it.
    QFile::remove(ActivationFileOfTheBus());
  }
  void cleanup() { QFile::remove(ActivationFileOfTheBus()); }

  void insertArrivesByteForByte_data() {
    QTest::addColumn<QByteArray>("fileBytes");  // empty: an empty page
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray mixed =
        "<input type=\"hidden\" name='pelluxadd' value=\"Caf\xC3\xA9 "
        "M\xC3\xBCsli\xE2\x84\xA2^12.50^0^1^\">\r\n<p>&amp; <br></p>\r\n";
    // The editor writes the line breaks of what it is given as the page's own line ends (an
    // empty page has LF); every other byte arrives as it was sent.
    QByteArray mixedLf = mixed;
    mixedLf.replace("\r\n", "\n");
    QTest::newRow("quotes and angle brackets")
        << QByteArray() << QByteArray(R"(<a href="x.cgi?a=1&b='2'">"Buy" <now></a>)")
        << QByteArray(R"(<a href="x.cgi?a=1&b='2'">"Buy" <now></a>)");
    QTest::newRow("e acute, u umlaut, trade mark")
        << QByteArray() << QByteArray("\xC3\xA9\xC3\xBC\xE2\x84\xA2")
        << QByteArray("\xC3\xA9\xC3\xBC\xE2\x84\xA2");
    QTest::newRow("CR LF, lone CR and lone LF")
        << QByteArray() << QByteArray("a\r\nb\rc\nd\r\n") << QByteArray("a\nb\nc\nd\n");
    QTest::newRow("everything at once") << QByteArray() << mixed << mixedLf;
    QTest::newRow("at the cursor of a CR LF file, which is at its start")
        << QByteArray("<html>\r\n<body></body>\r\n</html>\r\n") << mixed
        << mixed + "<html>\r\n<body></body>\r\n</html>\r\n";
    QTest::newRow("at the cursor of an LF file")
        << QByteArray("<p>one</p>\n<p>two</p>\n") << mixed << mixedLf + "<p>one</p>\n<p>two</p>\n";
  }
  void insertArrivesByteForByte() {
    QFETCH(QByteArray, fileBytes);
    QFETCH(QByteArray, html);
    QFETCH(QByteArray, expected);

    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    // The page is the editor's only document: the new one it started with is closed.
    QVERIFY2(editor.CloseActiveDocument(), qPrintable(editor.LastError()));
    const QString document = editor.WriteFile("page.html", fileBytes);
    QVERIFY2(editor.OpenDocument(document), qPrintable(editor.LastError()));

    RecordingMessages messages;
    EditorLink link(messages, ConnectDBusEditorHost);
    QVERIFY(link.Connect());
    QCOMPARE(link.ListOpenDocs(), document.toStdString());
    QCOMPARE(link.InsertFragment(html.toStdString(), FailurePolicy::EndProgram),
             InsertOutcome::Inserted);

    QCOMPARE(messages.events, Events{});
    QCOMPARE(editor.ActiveDocumentText().toUtf8(), expected);
    // The cursor is right after the inserted text: the next insertion follows it.
    QCOMPARE(link.InsertFragment("|", FailurePolicy::KeepRunning), InsertOutcome::Inserted);
    QCOMPARE(editor.ActiveDocumentText().toUtf8(),
             expected.insert(expected.size() - fileBytes.size(), "|"));
  }

  void noOpenDocumentEndsTheProgram_data() {
    QTest::addColumn<FailurePolicy>("policy");
    QTest::newRow("EndProgram") << FailurePolicy::EndProgram;
    QTest::newRow("KeepRunning") << FailurePolicy::KeepRunning;
  }
  void noOpenDocumentEndsTheProgram() {
    QFETCH(FailurePolicy, policy);
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    QVERIFY2(editor.CloseActiveDocument(), qPrintable(editor.LastError()));
    RecordingMessages messages;
    EditorLink link(messages, ConnectDBusEditorHost);
    QVERIFY(link.Connect());

    QCOMPARE(link.ListOpenDocs(), std::string());
    QCOMPARE(link.InsertFragment("<b>x</b>", policy), InsertOutcome::ProgramEnded);
    QCOMPARE(messages.events, (Events{kNoDocument, kEnd}));
    // The editor is still there and got nothing.
    QCOMPARE(editor.ListOpenDocs(), QString());
    QVERIFY2(editor.LastError().isEmpty(), qPrintable(editor.LastError()));
  }

  void editorGoneAfterConnect_data() {
    QTest::addColumn<FailurePolicy>("policy");
    QTest::addColumn<bool>("anotherEditorStarts");
    QTest::addColumn<InsertOutcome>("outcome");
    QTest::addColumn<Events>("events");
    QTest::newRow("EndProgram") << FailurePolicy::EndProgram << false << InsertOutcome::ProgramEnded
                                << Events{kCouldNotConnect, kEnd};
    QTest::newRow("KeepRunning") << FailurePolicy::KeepRunning << false
                                 << InsertOutcome::FailedKeptRunning << Events{kCouldNotConnect};
    // The link follows the editor's name to whichever editor owns it now.
    QTest::newRow("EndProgram, another editor runs by now")
        << FailurePolicy::EndProgram << true << InsertOutcome::Inserted << Events{};
    QTest::newRow("KeepRunning, another editor runs by now")
        << FailurePolicy::KeepRunning << true << InsertOutcome::Inserted << Events{};
  }
  void editorGoneAfterConnect() {
    QFETCH(FailurePolicy, policy);
    QFETCH(bool, anotherEditorStarts);
    QFETCH(InsertOutcome, outcome);
    QFETCH(Events, events);

    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    QVERIFY(editor.NewDocument());
    RecordingMessages messages;
    EditorLink link(messages, ConnectDBusEditorHost);
    QVERIFY(link.Connect());
    QVERIFY(editor.Quit());

    PageEditorSession another;
    if (anotherEditorStarts) QVERIFY2(another.Start(), qPrintable(another.LastError()));
    QCOMPARE(link.InsertFragment("<b>x</b>", policy), outcome);
    QCOMPARE(messages.events, events);
    if (anotherEditorStarts) {
      QCOMPARE(another.ActiveDocumentText(),
               QString(vendigo::kNewPageBeforeCursor) + "<b>x</b>" + vendigo::kNewPageAfterCursor);
    }
  }

  void anEditorThatDoesNotAnswerIsAFailure_data() {
    QTest::addColumn<bool>("stopBeforeConnect");
    QTest::addColumn<Events>("events");
    QTest::newRow("at Connect") << true << Events{kCannotConnect, kDetectAndRepair, kEnd};
    QTest::newRow("at an insertion") << false << Events{kCouldNotConnect};
  }
  void anEditorThatDoesNotAnswerIsAFailure() {
    QFETCH(bool, stopBeforeConnect);
    QFETCH(Events, events);
    PageEditorSession editor;
    QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
    QVERIFY(editor.NewDocument());
    RecordingMessages messages;
    EditorLink link(messages, ConnectDBusEditorHost);
    const auto stop = [&editor] { ::kill(static_cast<pid_t>(editor.ProcessId()), SIGSTOP); };
    const auto resume =
        qScopeGuard([&editor] { ::kill(static_cast<pid_t>(editor.ProcessId()), SIGCONT); });

    QElapsedTimer waited;
    if (stopBeforeConnect) {
      stop();
      waited.start();
      QVERIFY(!link.Connect());
    } else {
      QVERIFY(link.Connect());
      stop();
      waited.start();
      QCOMPARE(link.InsertFragment("<b>x</b>", FailurePolicy::KeepRunning),
               InsertOutcome::FailedKeptRunning);
    }
    QCOMPARE(messages.events, events);
    // The failure comes from the time-out, not from an error reply at once. Timers may fire a
    // little early, and more so on a loaded machine, so the lower bound leaves room.
    const qint64 elapsed = waited.elapsed();
    const QByteArray waitedText = "waited " + QByteArray::number(elapsed) + " ms";
    QVERIFY2(elapsed >= vendigo::DBusEditorHost::kCallTimeoutMs / 2, waitedText);
    QVERIFY2(elapsed < 3 * vendigo::DBusEditorHost::kCallTimeoutMs, waitedText);
  }

  void noEditorAtAll() {
    RecordingMessages messages;
    EditorLink link(messages, ConnectDBusEditorHost);
    QVERIFY(!link.Connect());
    QVERIFY(!link.IsConnected());
    QCOMPARE(messages.events, (Events{kCannotConnect, kDetectAndRepair, kEnd}));
  }

  // No session bus at all: the same two messages as when no editor runs. The test runs
  // noEditorAtAll again in a process of its own whose bus address leads nowhere.
  void noBusAtAll() {
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder.filePath("no-bus"));
    QProcess run;
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(), {"-platform", "offscreen", "noEditorAtAll"});
    QVERIFY(run.waitForFinished(30000));
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
             run.readAll().constData());
  }

  void everyCallToAnEditorThatIsGoneFails() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    vendigo::DBusEditorHost host(bus, ":1.99999");
    QVERIFY_THROWS_EXCEPTION(AutomationFailure, host.BringToTop());
    QVERIFY_THROWS_EXCEPTION(AutomationFailure, host.ListOpenDocs());
    QVERIFY_THROWS_EXCEPTION(AutomationFailure, host.InsertHTML("x"));
  }

  void connectStartsTheRegisteredEditor() {
    // A first start writes the activation file into the folder the bus reads.
    {
      PageEditorSession first(
          QFileInfo(qEnvironmentVariable("VENDIGO_TEST_BUS_SERVICES") + "/../..")
              .absoluteFilePath());
      QVERIFY2(first.Start(), qPrintable(first.LastError()));
      QVERIFY(first.Quit());
    }
    QVERIFY(QFile::exists(ActivationFileOfTheBus()));

    RecordingMessages messages;
    EditorLink link(messages, ConnectDBusEditorHost);
    QVERIFY(link.Connect());
    QCOMPARE(messages.events, Events{});
    // Started without files, the editor has one new document.
    QCOMPARE(link.ListOpenDocs(), std::string("Untitled 1"));

    // End the editor the bus started.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto pid = bus.interface()->servicePid(vendigo::kEditorBusName);
    QVERIFY(pid.isValid());
    ::kill(static_cast<pid_t>(pid.value()), SIGTERM);
    QVERIFY(vendigo::testing::WaitUntilNameIsFree(bus, vendigo::kEditorBusName));
    // Closed, the editor is started again by the next fragment, which goes into its new document.
    QCOMPARE(link.InsertFragment("<b>x</b>", FailurePolicy::EndProgram), InsertOutcome::Inserted);
    QCOMPARE(link.ListOpenDocs(), std::string("Untitled 1"));
    QCOMPARE(messages.events, Events{});
    ::kill(static_cast<pid_t>(bus.interface()->servicePid(vendigo::kEditorBusName).value()),
           SIGTERM);
    QVERIFY(vendigo::testing::WaitUntilNameIsFree(bus, vendigo::kEditorBusName));
  }
};

QTEST_MAIN(DBusEditorLinkTest)
#include "dbus_editor_link_test.moc"
