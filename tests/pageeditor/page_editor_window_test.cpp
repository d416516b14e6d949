// The editor window: documents in tabs, the File menu, closing with unsaved changes.
#include "pageeditor/page_editor_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "pageeditor/editor_document.h"
#include "pageeditor/editor_prompts.h"
#include "support/scripted_editor_prompts.h"
#include "support/small_disk.h"

using vendigo::EditorDocument;
using vendigo::EditorPrompts;
using vendigo::PageEditorWindow;
using SaveAnswer = EditorPrompts::SaveAnswer;
using ScriptedPrompts = vendigo::testing::ScriptedEditorPrompts;

Q_DECLARE_METATYPE(SaveAnswer)

namespace {

QByteArray ReadAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void WriteAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

void Trigger(PageEditorWindow &window, const char *action) {
  QAction *found = window.findChild<QAction *>(action);
  QVERIFY2(found, action);
  found->trigger();
}

// A stand-in for xdg-open, alone in PATH while it lives: script runs with the file as $1.
struct FakeLauncher {
  explicit FakeLauncher(const QByteArray &script) {
    if (!script.isEmpty()) WriteAll(folder.filePath("xdg-open"), "#!/bin/sh\n" + script + "\n");
    QFile::setPermissions(folder.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(folder.path()));
  }
  ~FakeLauncher() { qputenv("PATH", path); }
  QByteArray path = qgetenv("PATH");
  QTemporaryDir folder;
};

QStringList ListNames(const PageEditorWindow &window) {
  QStringList names;
  for (const EditorDocument *document : window.Documents()) names << document->ListName();
  return names;
}

}  // namespace

class PageEditorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(folder_.isValid()); }

  void theTitleNamesTheActiveDocument() {
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    QCOMPARE(window.windowTitle(), QString("Vendigo Page Editor"));
    QVERIFY(!window.findChild<QAction *>("FileSave")->isEnabled());

    Trigger(window, "FileNew");
    QCOMPARE(window.windowTitle(), QString("Untitled 1[*] - Vendigo Page Editor"));
    QVERIFY(!window.isWindowModified());
    window.ActiveDocument()->InsertAtCursor("<p>x</p>");
    QVERIFY(window.isWindowModified());
    QCOMPARE(window.findChild<QTabWidget *>("Documents")->tabText(0), QString("Untitled 1*"));

    const QString path = folder_.filePath("shop.html");
    WriteAll(path, "<p>shop</p>");
    QString error;
    QVERIFY(window.OpenDocument(path, &error));
    QCOMPARE(window.windowTitle(), QString("shop.html[*] - Vendigo Page Editor"));
    QVERIFY(!window.isWindowModified());
    QCOMPARE(ListNames(window), (QStringList{"Untitled 1", path}));

    // The tab shows the file name as it is: a single "&" would mark a shortcut letter instead.
    const QString ampersand = folder_.filePath("R&D.html");
    WriteAll(ampersand, "<p>rd</p>");
    QVERIFY(window.OpenDocument(ampersand, &error));
    QCOMPARE(window.findChild<QTabWidget *>("Documents")->tabText(2), QString("R&&D.html"));
    QCOMPARE(window.windowTitle(), QString("R&D.html[*] - Vendigo Page Editor"));
  }

  void openingAnOpenFileShowsItsTab() {
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    const QString path = folder_.filePath("a.html");
    WriteAll(path, "a");
    prompts.openPaths = {path, folder_.filePath("missing.html")};
    Trigger(window, "FileOpen");
    window.NewDocument();
    QString error;
    QCOMPARE(window.OpenDocument(folder_.filePath("./a.html"), &error), window.Documents()[0]);
    QCOMPARE(window.ActiveDocument(), window.Documents()[0]);
    QCOMPARE(ListNames(window), (QStringList{path, "Untitled 1"}));
    QCOMPARE(prompts.asked,
             (QStringList{"open", "error: Could not open " + folder_.filePath("missing.html") +
                                      ": No such file or directory"}));
  }

  // Two tabs of one file would each save over the other's changes.
  void anotherNameOfAnOpenFileShowsItsTab() {
    const QTemporaryDir folder;
    const QString path = folder.filePath("a.html");
    WriteAll(path, "a");
    QVERIFY(QFile::link(path, folder.filePath("symbolic.html")));
    QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(folder.filePath("hard.html"))), 0);
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    QString error;
    EditorDocument *opened = window.OpenDocument(path, &error);
    for (const char *name : {"symbolic.html", "hard.html"}) {
      window.NewDocument();
      QCOMPARE(window.OpenDocument(folder.filePath(name), &error), opened);
      QCOMPARE(window.ActiveDocument(), opened);
    }
    QCOMPARE(window.RecoverDocument(folder.filePath("hard.html"), "b", {}), opened);
    QCOMPARE(opened->Text(), QString("b"));
    QCOMPARE(ListNames(window), (QStringList{path, "Untitled 1", "Untitled 2"}));
  }

  void saveAsksForAFileOnlyWhenThereIsNone() {
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    // A new document is a small HTML5 page that declares its encoding, with LF line ends, which
    // the inserted text takes, and the cursor in its body.
    const auto page = [](const QByteArray &body) {
      return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>New Page</title>\n"
             "</head>\n<body>\n" +
             body + "\n</body>\n</html>\n";
    };
    QCOMPARE(window.NewDocument()->Text().toUtf8(), page(""));
    window.ActiveDocument()->InsertAtCursor("<p>\xC3\xA9</p>\r\n");
    prompts.savePath = folder_.filePath("new.html");
    Trigger(window, "FileSave");
    QCOMPARE(ReadAll(prompts.savePath), page("<p>\xC3\xA9</p>\n"));
    QCOMPARE(window.windowTitle(), QString("new.html[*] - Vendigo Page Editor"));

    window.ActiveDocument()->InsertAtCursor("more");
    Trigger(window, "FileSave");
    QCOMPARE(ReadAll(prompts.savePath), page("<p>\xC3\xA9</p>\nmore"));

    prompts.savePath = folder_.filePath("copy.html");
    Trigger(window, "FileSaveAs");
    QCOMPARE(ReadAll(prompts.savePath), page("<p>\xC3\xA9</p>\nmore"));
    QCOMPARE(prompts.asked,
             (QStringList{"save as: Untitled 1.html", "save as: " + folder_.filePath("new.html")}));
    QCOMPARE(ListNames(window), QStringList{prompts.savePath});
  }

  // A save that runs out of room fails as a whole: the file stays as it was, the document stays
  // modified, and File Save says why.
  void aSaveOnAFullDiskKeepsTheOldFile() {
    const vendigo::testing::SmallDisk disk("2m");
    if (!disk.Mounted()) QSKIP(disk.Why().c_str());
    const QString path = QDir(disk.path()).filePath("page.html");
    const QByteArray page = QByteArray("<p>0123456789</p>\n").repeated(70000);  // 1.26 MB
    WriteAll(path, page);
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    QString error;
    QVERIFY(window.OpenDocument(path, &error));
    window.ActiveDocument()->InsertAtCursor("<p>new</p>");
    Trigger(window, "FileSave");
    QCOMPARE(prompts.asked,
             QStringList{"error: Could not save " + path + ": No space left on device"});
    QCOMPARE(ReadAll(path), page);
    QVERIFY(window.ActiveDocument()->IsModified());
    QCOMPARE(QDir(disk.path()).entryList(QDir::NoDotAndDotDot | QDir::Files | QDir::Hidden),
             QStringList{"page.html"});
  }

  // A file past what the editor opens, counted after encoding, is not written at all.
  void aSaveTooLargeToOpenAgainWritesNothing_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("UTF-8, one byte over")
        << QByteArray("<p>\xC3\xA9</p>") << QString((64 << 20) - 8, u'x');
    // 杯 is written as "&#26479;".
    QTest::newRow("Windows-1252") << QByteArray("<p>\xE9</p>") << QString(8 << 20, u'\u676F');
  }

  void aSaveTooLargeToOpenAgainWritesNothing() {
    QFETCH(QByteArray, file);
    QFETCH(QString, inserted);
    const QTemporaryDir folder;
    const QString path = folder.filePath("page.html");
    WriteAll(path, file);
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    QString error;
    QVERIFY(window.OpenDocument(path, &error));
    window.ActiveDocument()->InsertAtCursor(inserted);
    prompts.savePath = folder.filePath("copy.html");
    Trigger(window, "FileSave");
    Trigger(window, "FileSaveAs");
    const QString reason = ": Larger than 64 MB, more than the editor opens";
    QCOMPARE(prompts.asked,
             (QStringList{"error: Could not save " + path + reason, "save as: " + path,
                          "error: Could not save " + prompts.savePath + reason}));
    QCOMPARE(ReadAll(path), file);
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::Files | QDir::Hidden),
             QStringList{"page.html"});
    QVERIFY(window.ActiveDocument()->IsModified());
  }

  void closingAModifiedDocumentAsksFirst_data() {
    QTest::addColumn<SaveAnswer>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::newRow("Save") << SaveAnswer::Save << true << QByteArray("<p>new</p><p>old</p>");
    QTest::newRow("Discard") << SaveAnswer::Discard << true << QByteArray("<p>old</p>");
    QTest::newRow("Cancel") << SaveAnswer::Cancel << false << QByteArray("<p>old</p>");
  }
  void closingAModifiedDocumentAsksFirst() {
    QFETCH(SaveAnswer, answer);
    QFETCH(bool, closed);
    QFETCH(QByteArray, fileAfter);
    for (const char *how : {"File Close", "window close"}) {
      ScriptedPrompts prompts;
      prompts.saveAnswers = {answer};
      PageEditorWindow window(prompts);
      window.show();
      const QString path = folder_.filePath("page.html");
      WriteAll(path, "<p>old</p>");
      QString error;
      window.OpenDocument(path, &error)->InsertAtCursor("<p>new</p>");

      if (QByteArray(how) == "File Close") {
        Trigger(window, "FileClose");
        QCOMPARE(window.Documents().isEmpty(), closed);
      } else {
        QCOMPARE(window.close(), closed);
      }
      QCOMPARE(prompts.asked, QStringList{"save changes: page.html"});
      QCOMPARE(ReadAll(path), fileAfter);
    }
  }

  void anUnmodifiedDocumentClosesWithoutAQuestion() {
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    window.show();
    window.NewDocument();
    window.NewDocument();
    QVERIFY(window.close());
    QVERIFY(window.Documents().isEmpty());
    QCOMPARE(prompts.asked, QStringList{});
  }

  // The browser reads the file, so a modified or never saved document is saved first. xdg-open
  // starts the browser; its quick error status means that the browser did not start.
  void previewInBrowserShowsTheSavedFile_data() {
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<SaveAnswer>("answer");
    QTest::addColumn<QByteArray>("launcher");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("opened");
    const QByteArray opens = "echo \"$1\" >> \"${0%/*}/opened\"";
    const QStringList askPage{"save before preview: page.html"};
    const QString notOpened = "error: Could not open %1 in the browser: ";
    QTest::newRow("saved") << false << "" << SaveAnswer::Save << opens << QStringList{} << true;
    QTest::newRow("modified, Save")
        << false << "<p>new</p>" << SaveAnswer::Save << opens << askPage << true;
    QTest::newRow("modified, Cancel")
        << false << "<p>new</p>" << SaveAnswer::Cancel << opens << askPage << false;
    QTest::newRow("never saved, Save")
        << true << "<p>new</p>" << SaveAnswer::Save << opens
        << QStringList{"save before preview: Untitled 1", "save as: Untitled 1.html"} << true;
    QTest::newRow("browser that refuses to run as root")
        << false << "" << SaveAnswer::Save
        << QByteArray(
               "echo '[9:9:1207/165905.626670:ERROR:zygote_host_impl_linux.cc:103] Running "
               "as root without --no-sandbox is not supported.' >&2; exit 4")
        << QStringList{notOpened + "Running as root without --no-sandbox is not supported."}
        << false;
    QTest::newRow("no launcher") << false << "" << SaveAnswer::Save << QByteArray()
                                 << QStringList{notOpened +
                                                "no program to open web pages was found."}
                                 << false;
  }
  void previewInBrowserShowsTheSavedFile() {
    QFETCH(bool, untitled);
    QFETCH(QString, inserted);
    QFETCH(SaveAnswer, answer);
    QFETCH(QByteArray, launcher);
    QFETCH(QStringList, asked);
    QFETCH(bool, opened);
    ScriptedPrompts prompts;
    prompts.saveAnswers = {answer};
    prompts.savePath = folder_.filePath("page.html");
    WriteAll(prompts.savePath, "<p>old</p>");
    PageEditorWindow window(prompts);
    QString error;
    EditorDocument *document =
        untitled ? window.NewDocument() : window.OpenDocument(prompts.savePath, &error);
    document->InsertAtCursor(inserted);
    const FakeLauncher fake(launcher);
    Trigger(window, "FilePreviewInBrowser");
    QTRY_COMPARE(prompts.asked, asked.replaceInStrings("%1", prompts.savePath));
    QTRY_VERIFY(window.findChildren<QProcess *>().isEmpty());
    QCOMPARE(ReadAll(fake.folder.filePath("opened")),
             opened ? QFile::encodeName(prompts.savePath) + "\n" : "(unreadable)");
    QCOMPARE(ReadAll(prompts.savePath) == document->Text().toUtf8(), answer == SaveAnswer::Save);
  }

  // Documents closed, and the editor ended, at random moments while their pages render.
  void closingWhileRenderingLeavesTheEditorRunning() {
    bool given = false;
    int seed = qEnvironmentVariableIntValue("VENDIGO_STRESS_SEED", &given);
    if (!given) seed = QRandomGenerator::global()->bounded(1 << 30);
    qInfo("VENDIGO_STRESS_SEED=%d repeats this run", seed);
    QRandomGenerator random(seed);
    ScriptedPrompts prompts;
    auto window = std::make_unique<PageEditorWindow>(prompts);
    for (int round = 0; round < 300; ++round) {
      window->show();
      if (window->Documents().size() < 3) window->NewDocument();
      window->ActiveDocument()->RefreshRendered();
      QTest::qWait(static_cast<int>(random.bounded(120)));
      const quint32 what = random.bounded(10);
      if (what < 6) QVERIFY(window->CloseDocument(window->ActiveDocument()));
      // As the program ends: the window goes, its documents closed first or still open.
      if (what == 6) QVERIFY(window->close());
      if (what == 6 || what == 7) window = std::make_unique<PageEditorWindow>(prompts);
    }
  }

 private:
  QTemporaryDir folder_;
};

QTEST_MAIN(PageEditorWindowTest)
#include "page_editor_window_test.moc"
