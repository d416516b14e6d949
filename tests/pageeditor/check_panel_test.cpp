// The Check panel through the editor window: View > Check Page, a finding's place in the source,
// refreshing on save, and File > Check Site... with its progress and Cancel.
#include "pageeditor/check_panel.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <optional>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/scripted_editor_prompts.h"

using vendigo::EditorDocument;
using vendigo::PageEditorWindow;
using ScriptedPrompts = vendigo::testing::ScriptedEditorPrompts;

namespace {

const QByteArray kHead =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>t</title>"
    "</head>\n<body>\n";

void WriteAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Each row of the list as "severity|file|place|message|rule".
QStringList Rows(const PageEditorWindow &window) {
  QStringList rows;
  const auto *list = window.findChild<QTreeWidget *>("CheckFindings");
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QStringList cells;
    for (int column = 0; column < 5; ++column) cells << list->topLevelItem(i)->text(column);
    rows << cells.join('|');
  }
  return rows;
}

QString Summary(const PageEditorWindow &window) {
  return window.findChild<QLabel *>("CheckSummary")->text();
}

// Activates the row as Enter does.
void Activate(PageEditorWindow &window, int row) {
  auto *list = window.findChild<QTreeWidget *>("CheckFindings");
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(row));
  QTest::keyClick(list, Qt::Key_Return);
}

QString TextAtCursor(const EditorDocument &document, int length) {
  const QPlainTextEdit *source = document.Source();
  return source->document()->toRawText().mid(source->textCursor().position(), length);
}

}  // namespace

class CheckPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_.emplace();
    QVERIFY(folder_->isValid());
  }

  void aFindingShowsItsPlaceInTheSource_data() {
    QTest::addColumn<QByteArray>("before");  // what stands before the mistake in its line
    QTest::addColumn<QString>("place");
    QTest::newRow("first line of the body") << QByteArray("<p>") << "4:13";
    QTest::newRow("a character beyond the first plane counts as one")
        << QByteArray("<p>\xF0\x9F\x98\x80 ") << "4:15";
    // The source view shows a line this long as rows of 1,024 characters.
    QTest::newRow("far into a long line") << QByteArray(3000, 'x') << "4:3010";
    QTest::newRow("the line after a long one") << QByteArray(3000, 'x') + "\n<p>"
                                               << "5:13";
  }
  void aFindingShowsItsPlaceInTheSource() {
    QFETCH(QByteArray, before);
    QFETCH(QString, place);
    const QString path = folder_->filePath("page.html");
    WriteAll(path, kHead + before + "<img src=\"file:///home/m/mug.png\">\n</body></html>\n");
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QString error;
    EditorDocument *document = window.OpenDocument(path, &error);
    QVERIFY2(document, qPrintable(error));
    window.NewDocument();  // the finding brings its document back to the front

    window.ShowDocument(document);
    window.findChild<QAction *>("ViewCheckPage")->trigger();
    QTRY_COMPARE(Summary(window), QString("page.html: 1 error, 0 warnings."));
    QCOMPARE(Rows(window), QStringList{"error||" + place +
                                       "|\"file:///home/m/mug.png\" is a file on this computer, "
                                       "which visitors' browsers cannot load|file-address"});
    window.ShowDocument(window.Documents()[1]);
    Activate(window, 0);
    QCOMPARE(window.ActiveDocument(), document);
    QTRY_VERIFY(document->Source()->hasFocus());
    QCOMPARE(TextAtCursor(*document, 9), QString("\"file:///"));
    QVERIFY(prompts.asked.isEmpty());
  }

  void aSaveChecksTheDocumentAgain() {
    const QString path = folder_->filePath("page.html");
    WriteAll(path, kHead + "<a href=\"later.html\">soon</a>\n</body></html>\n");
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    QString error;
    EditorDocument *document = window.OpenDocument(path, &error);
    QVERIFY(document);
    window.findChild<QAction *>("ViewCheckPage")->trigger();
    QTRY_COMPARE(Rows(window),
                 QStringList{"warning||4:9|the link goes to \"later.html\", which does not "
                             "exist|missing-link"});

    document->ShowPlace(4, 1);
    document->InsertAtCursor("<img src=\"mug.png\">");
    QCOMPARE(Rows(window).size(), 1);  // not before the save
    window.findChild<QAction *>("FileSave")->trigger();
    QTRY_COMPARE(Summary(window), QString("page.html: 1 error, 1 warning."));
    QCOMPARE(Rows(window),
             (QStringList{"error||4:10|the picture \"mug.png\" does not exist|missing-picture",
                          "warning||4:28|the link goes to \"later.html\", which does not "
                          "exist|missing-link"}));

    // Refresh sees what changed on disk since.
    WriteAll(folder_->filePath("later.html"), kHead);
    WriteAll(folder_->filePath("mug.png"), "png");
    window.findChild<QPushButton *>("CheckRefresh")->click();
    QTRY_COMPARE(Summary(window), QString("page.html: no findings."));
    QCOMPARE(Rows(window), QStringList());
  }

  // Its folder is unknown, so no address can be looked up; the text is checked as it would be
  // saved.
  void anUnsavedDocumentIsCheckedWithoutItsFolder() {
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    window.NewDocument()->InsertAtCursor("<img src=\"mug.png\"><p>%zf_price%</p>");
    window.findChild<QAction *>("ViewCheckPage")->trigger();
    QTRY_COMPARE(Summary(window),
                 QString("Untitled 1: 1 error, 0 warnings. It is not saved, so its folder is "
                         "unknown and the files it names were not looked for."));
    QCOMPARE(Rows(window), QStringList{"error||8:23|the template placeholder \"%zf_price%\" was "
                                       "never filled in|template-leftover"});
  }

  void checkSiteListsTheFindingsOfEachPage() {
    WriteAll(folder_->filePath("a.html"), kHead + "<img src=\"none.png\">\n");
    QVERIFY(QDir(folder_->path()).mkdir("more"));
    WriteAll(folder_->filePath("more/b.html"), kHead + "<p>\n<link rel=stylesheet href=x.css>\n");
    WriteAll(folder_->filePath("c.htm"), kHead + "<p>%zf_description%</p>\n");
    ScriptedPrompts prompts;
    prompts.siteFolder = folder_->path();
    PageEditorWindow window(prompts);
    window.findChild<QAction *>("FileCheckSite")->trigger();
    QTRY_COMPARE(Summary(window),
                 "Checked 3 pages in " + folder_->path() + ": 3 errors, 0 warnings.");
    QCOMPARE(prompts.asked, QStringList{"site folder: "});
    QCOMPARE(
        Rows(window),
        (QStringList{
            "error|a.html|4:10|the picture \"none.png\" does not exist|missing-picture",
            "error|c.htm|4:4|the template placeholder \"%zf_description%\" was never filled "
            "in|template-leftover",
            "error|more/b.html|5:27|the stylesheet \"x.css\" does not exist|missing-stylesheet"}));
    QVERIFY(!window.findChild<QProgressDialog *>("CheckSiteProgress"));

    Activate(window, 2);
    EditorDocument *opened = window.ActiveDocument();
    QVERIFY(opened);
    QCOMPARE(opened->Path(), folder_->filePath("more/b.html"));
    QCOMPARE(TextAtCursor(*opened, 6), QString("x.css>"));

    // The next check starts in the active document's folder.
    window.findChild<QAction *>("FileCheckSite")->trigger();
    QCOMPARE(prompts.asked.last(), "site folder: " + folder_->filePath("more"));
  }

  void cancelStopsTheSiteCheck() {
    // Pages large enough that the check cannot end before the window hears of its first page.
    QByteArray page = kHead;
    for (int i = 0; i < 1000; ++i) page += "<p class=\"row\">a line of the product's text</p>\n";
    for (int i = 0; i < 500; ++i)
      WriteAll(folder_->filePath(QStringLiteral("p%1.html").arg(i)), page);
    ScriptedPrompts prompts;
    prompts.siteFolder = folder_->path();
    PageEditorWindow window(prompts);
    window.findChild<QAction *>("FileCheckSite")->trigger();
    auto *progress = window.findChild<QProgressDialog *>("CheckSiteProgress");
    QVERIFY(progress);
    progress->findChild<QPushButton *>()->click();
    QTRY_VERIFY(Summary(window).startsWith("Stopped after "));
    const QRegularExpressionMatch stopped =
        QRegularExpression("^Stopped after (\\d+) of 500 pages in .*: no findings\\.$")
            .match(Summary(window));
    QVERIFY2(stopped.hasMatch(), qPrintable(Summary(window)));
    QVERIFY(stopped.captured(1).toInt() < 500);
  }

 private:
  std::optional<QTemporaryDir> folder_;
};

QTEST_MAIN(CheckPanelTest)
#include "check_panel_test.moc"
