// The Check panel through the editor window: View > Check Page, File > Check Site... and Cancel.
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

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/scripted_editor_prompts.h"

using vendigo::EditorDocument;
using vendigo::PageEditorWindow;
using ScriptedPrompts = vendigo::testing::ScriptedEditorPrompts;

namespace {

const QByteArray kHead = "<!DOCTYPE html>\n<html><head><meta charset=utf-8></head>\n<body>\n";

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

void Activate(PageEditorWindow &window, int row) {
  auto *list = window.findChild<QTreeWidget *>("CheckFindings");
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(row));
  QTest::keyClick(list, Qt::Key_Return);
}

void Trigger(PageEditorWindow &window, const char *action) {
  window.findChild<QAction *>(action)->trigger();
}

QString TextAtCursor(const EditorDocument &document, int length) {
  const QPlainTextEdit *source = document.Source();
  return source->document()->toRawText().mid(source->textCursor().position(), length);
}

}  // namespace

class CheckPanelTest : public QObject {
  Q_OBJECT

 private slots:
  // Never saved, a document's folder is unknown and no file it names is looked for; a save
  // checks it again in its folder, and a finding brings back its document at its place.
  void aSaveChecksTheDocumentAgain() {
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    PageEditorWindow window(prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    EditorDocument *document = window.NewDocument();
    document->InsertAtCursor("<img src=\"mug.png\"><p>%zf_price%</p>");
    Trigger(window, "ViewCheckPage");
    QTRY_COMPARE(Summary(window), QString("Untitled 1: 1 error, 0 warnings. It is not saved, so "
                                          "its folder is unknown and the files it names were not "
                                          "looked for."));
    const QString leftover =
        "error||8:23|the template placeholder \"%zf_price%\" was never filled in|template-leftover";
    QCOMPARE(Rows(window), QStringList{leftover});

    prompts.savePath = folder.filePath("page.html");
    Trigger(window, "FileSave");
    QTRY_COMPARE(Summary(window), QString("page.html: 2 errors, 0 warnings."));
    QCOMPARE(Rows(window),
             (QStringList{"error||8:10|the picture \"mug.png\" does not exist|missing-picture",
                          leftover}));
    window.NewDocument();
    Activate(window, 0);
    QCOMPARE(window.ActiveDocument(), document);
    QTRY_VERIFY(document->Source()->hasFocus());
    QCOMPARE(TextAtCursor(*document, 9), QString("\"mug.png\""));

    // Refresh sees what changed on disk since.
    WriteAll(folder.filePath("mug.png"), "png");
    window.findChild<QPushButton *>("CheckRefresh")->click();
    QTRY_COMPARE(Summary(window), QString("page.html: 1 error, 0 warnings."));
    QCOMPARE(Rows(window), QStringList{leftover});
    QVERIFY(prompts.asked == QStringList{"save as: Untitled 1.html"});
  }

  void checkSiteListsTheFindingsOfEachPageAndCancelStopsIt() {
    QTemporaryDir folder;
    WriteAll(folder.filePath("a.html"), kHead + "<img src=\"none.png\">\n");
    QVERIFY(QDir(folder.path()).mkdir("more"));
    // The source view shows lines this long as rows of 1,024 characters; a character beyond the
    // first plane is one column.
    const QByteArray longLine(3000, 'x');
    WriteAll(folder.filePath("more/b.html"), kHead + longLine + "\n\xF0\x9F\x98\x80" + longLine +
                                                 "<link rel=stylesheet href=x.css>");
    WriteAll(folder.filePath("c.htm"), kHead + "<p>%zf_description%</p>\n");
    ScriptedPrompts prompts;
    prompts.siteFolder = folder.path();
    PageEditorWindow window(prompts);
    Trigger(window, "FileCheckSite");
    QTRY_COMPARE(Summary(window),
                 "Checked 3 pages in " + folder.path() + ": 3 errors, 0 warnings.");
    QCOMPARE(prompts.asked, QStringList{"site folder: "});
    QCOMPARE(Rows(window),
             (QStringList{
                 "error|a.html|4:10|the picture \"none.png\" does not exist|missing-picture",
                 "error|c.htm|4:4|the template placeholder \"%zf_description%\" was never filled "
                 "in|template-leftover",
                 "error|more/b.html|5:3028|the stylesheet \"x.css\" does not "
                 "exist|missing-stylesheet"}));
    QVERIFY(!window.findChild<QProgressDialog *>("CheckSiteProgress"));
    Activate(window, 2);
    EditorDocument *opened = window.ActiveDocument();
    QVERIFY(opened);
    QCOMPARE(opened->Path(), folder.filePath("more/b.html"));
    QCOMPARE(TextAtCursor(*opened, 6), QString("x.css>"));

    // The next check starts in the active document's folder; Cancel stops it, on pages large
    // enough that it cannot end before the window hears of its first page.
    QByteArray page = kHead;
    for (int i = 0; i < 1000; ++i) page += "<p class=\"row\">a line of the product's text</p>\n";
    for (int i = 0; i < 500; ++i) WriteAll(folder.filePath(QString("more/p%1.html").arg(i)), page);
    prompts.siteFolder = folder.filePath("more");
    Trigger(window, "FileCheckSite");
    QCOMPARE(prompts.asked.last(), "site folder: " + folder.filePath("more"));
    window.findChild<QProgressDialog *>("CheckSiteProgress")->findChild<QPushButton *>()->click();
    QTRY_VERIFY(Summary(window).startsWith("Stopped after "));
    const QRegularExpressionMatch stopped =
        QRegularExpression(
            "^Stopped after (\\d+) of 501 pages in .*/more: (no findings|1 error, 0 warnings)\\.$")
            .match(Summary(window));
    QVERIFY2(stopped.hasMatch() && stopped.captured(1).toInt() < 501, qPrintable(Summary(window)));
  }
};

QTEST_MAIN(CheckPanelTest)
#include "check_panel_test.moc"
