// One document: files in and out byte for byte, insertion at the cursor, the rendered view.
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/rendered_view.h"
#include "pageeditor/source_edit.h"

#include <malloc.h>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include "support/page_script.h"
#include "support/scripted_editor_prompts.h"

using vendigo::EditorDocument;

namespace {

QByteArray ReadAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void WriteAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

constexpr int kEngineMs = 30000;

// What script evaluates to in the document's rendered view.
QString Shown(const EditorDocument &document, const QString &script) {
  return vendigo::testing::RunScript(*document.Rendered(), script).toString();
}

void PutCursorAt(EditorDocument &document, int position) {
  QTextCursor cursor = document.Source()->textCursor();
  cursor.setPosition(position);
  document.Source()->setTextCursor(cursor);
}

constexpr int kRow = vendigo::SourceEdit::kRowLength;

// One line of three rows and a bit, and its line end.
QString LongLine() {
  QString line;
  for (int i = 0; i < 3 * kRow + 10; ++i) line += QChar('a' + i % 26);
  return line + "\r\n";
}

}  // namespace

class EditorDocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(folder_.isValid()); }

  void loadAndSaveKeepTheBytes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");   // what the document holds
    QTest::addColumn<QByteArray>("saved");  // what Save As writes
    const QByteArray page = "<html>\r\n<p title=\"\xC3\xA9\">\xE2\x84\xA2</p>\r\n</html>\r\n";
    QTest::newRow("UTF-8, CR LF") << page << page << page;
    QTest::newRow("byte order mark kept") << "\xEF\xBB\xBF" + page << page << "\xEF\xBB\xBF" + page;
    QTest::newRow("mixed line ends, no end at the end")
        << QByteArray("a\nb\r\nc\rd") << QByteArray("a\nb\r\nc\rd") << QByteArray("a\nb\r\nc\rd");
    QTest::newRow("no-break space and line separator") << QByteArray(
                                                              "a\xC2\xA0"
                                                              "b\xE2\x80\xA8"
                                                              "c")
                                                       << QByteArray(
                                                              "a\xC2\xA0"
                                                              "b\xE2\x80\xA8"
                                                              "c")
                                                       << QByteArray(
                                                              "a\xC2\xA0"
                                                              "b\xE2\x80\xA8"
                                                              "c");
    QTest::newRow("Windows-1252 is read as such and saved as Windows-1252")
        << QByteArray("Caf\xE9 \x99\r\n") << QByteArray("Caf\xC3\xA9 \xE2\x84\xA2\r\n")
        << QByteArray("Caf\xE9 \x99\r\n");
    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray();
  }
  void loadAndSaveKeepTheBytes() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, saved);
    const QString source = folder_.filePath("source.html");
    const QString target = folder_.filePath("target.html");
    WriteAll(source, file);

    EditorDocument document("Untitled 1");
    QString error;
    QVERIFY2(document.Load(source, &error), qPrintable(error));
    QCOMPARE(document.Text().toUtf8(), text);
    QCOMPARE(document.Title(), QString("source.html"));
    QCOMPARE(document.ListName(), source);
    QVERIFY(!document.IsModified());

    QVERIFY2(document.SaveAs(target, &error), qPrintable(error));
    QCOMPARE(ReadAll(target), saved);
    QCOMPARE(document.Path(), target);
  }

  // A file is saved in the encoding it was read in, every character that was not edited as it was
  // read; in Windows-1252 a character that encoding lacks is written as a character reference.
  void savesInTheEncodingItWasReadIn_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray stray = "caf\xC3\xA9 \xFF\r\n";
    const QByteArray markers = "a\xEF\xB7\x92\xEF\xB7\x93\xEF\xB7\x90\n";
    QTest::newRow("UTF-8 with a stray byte, and an insertion")
        << stray << QString::fromUtf8("\xE6\x9D\xAF") << "\xE6\x9D\xAF" + stray;
    QTest::newRow("Windows-1252 and an insertion")
        << QByteArray("Caf\xE9\r\n")
        << QString::fromUtf8("\xE2\x82\xAC \xE6\x9D\xAF\xF0\x9F\x9B\x92")
        << QByteArray("\x80 &#26479;&#128722;Caf\xE9\r\n");
    QTest::newRow("the edit's markers as characters") << markers << QString() << markers;
  }
  void savesInTheEncodingItWasReadIn() {
    QFETCH(QByteArray, file);
    QFETCH(QString, inserted);
    QFETCH(QByteArray, saved);
    const QString path = folder_.filePath("page.html");
    WriteAll(path, file);
    EditorDocument document("Untitled 1");
    QString error;
    QVERIFY2(document.Load(path, &error), qPrintable(error));
    document.InsertAtCursor(inserted);
    QVERIFY2(document.SaveAs(path, &error), qPrintable(error));
    QCOMPARE(ReadAll(path), saved);
  }

  void aFileThatCannotBeReadIsAnError() {
    EditorDocument document("Untitled 1");
    QString error;
    QVERIFY(!document.Load(folder_.filePath("missing.html"), &error));
    QCOMPARE(error, QString("No such file or directory"));
    QCOMPARE(document.ListName(), QString("Untitled 1"));
  }

  void insertionGoesToTheCursorAsOneUndoStep_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<bool>("selectToEnd");
    QTest::addColumn<QByteArray>("expected");
    // The inserted text's line breaks (CR LF and LF here) take the document's own line end.
    const auto html = [](const QByteArray &end) {
      return "<b class=\"x\">\xC3\xA9\xC3\xBC\xE2\x84\xA2</b>" + end + "<i>'</i>" + end;
    };
    QTest::newRow("CR LF file, inside the second line")
        << QByteArray("<p>one</p>\r\n<p>two</p>\r\n") << 14 << false
        << "<p>one</p>\r\n<p>" + html("\r\n") + "X" + "two</p>\r\n";
    QTest::newRow("LF file, at the end")
        << QByteArray("<p>one</p>\n") << 11 << false << "<p>one</p>\n" + html("\n") + "X";
    QTest::newRow("CR file, at the end")
        << QByteArray("<p>one</p>\r") << 11 << false << "<p>one</p>\r" + html("\r") + "X";
    QTest::newRow("a selection stays, the text goes in at the cursor")
        << QByteArray("<p>one</p>") << 3 << true << "<p>" + html("\n") + "X" + "one</p>";
  }
  void insertionGoesToTheCursorAsOneUndoStep() {
    QFETCH(QByteArray, file);
    QFETCH(int, cursor);
    QFETCH(bool, selectToEnd);
    QFETCH(QByteArray, expected);
    const QString path = folder_.filePath("page.html");
    WriteAll(path, file);
    EditorDocument document("Untitled 1");
    QString error;
    QVERIFY(document.Load(path, &error));
    PutCursorAt(document, cursor);
    if (selectToEnd) {
      // The cursor stays where it is, the selection reaches back from the end of the text.
      QTextCursor selection = document.Source()->textCursor();
      selection.movePosition(QTextCursor::End);
      selection.setPosition(cursor, QTextCursor::KeepAnchor);
      document.Source()->setTextCursor(selection);
    }

    document.InsertAtCursor(
        QString::fromUtf8("<b class=\"x\">\xC3\xA9\xC3\xBC\xE2\x84\xA2</b>\r\n<i>'</i>\n"));
    QVERIFY(document.IsModified());
    document.InsertAtCursor("X");  // the cursor is right after the first insertion
    QCOMPARE(document.Text().toUtf8(), expected);

    document.Source()->undo();
    document.Source()->undo();
    QCOMPARE(document.Text().toUtf8(), file);
    document.Source()->redo();
    QCOMPARE(document.Text().toUtf8(), expected.replace("X", ""));
  }

  // Typing and pasting after an insertion, where the cursor is left, are steps of their own:
  // one undo takes them back and leaves the insertion in place.
  void editsRightAfterAnInsertionAreUndoneOnTheirOwn_data() {
    QTest::addColumn<QString>("edit");  // "type" or "paste"
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<QByteArray>("afterOneUndo");
    QTest::addColumn<QByteArray>("afterTwoUndos");
    QTest::newRow("typed") << "type" << QByteArray("<p>ab<b>x</b>cd</p>")
                           << QByteArray("<p>ab<b>x</b></p>") << QByteArray("<p>ab</p>");
    QTest::newRow("pasted") << "paste" << QByteArray("<p>ab<b>x</b>cd</p>")
                            << QByteArray("<p>ab<b>x</b></p>") << QByteArray("<p>ab</p>");
  }
  void editsRightAfterAnInsertionAreUndoneOnTheirOwn() {
    QFETCH(QString, edit);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, afterOneUndo);
    QFETCH(QByteArray, afterTwoUndos);
    EditorDocument document("Untitled 1");
    document.show();
    QVERIFY(QTest::qWaitForWindowExposed(&document));
    QTest::keyClicks(document.Source(), "<p>ab</p>");
    PutCursorAt(document, 5);
    document.InsertAtCursor("<b>x</b>");
    if (edit == "type") {
      QTest::keyClicks(document.Source(), "cd");
    } else {
      QGuiApplication::clipboard()->setText("cd");
      document.Source()->paste();
    }
    QCOMPARE(document.Text().toUtf8(), edited);

    document.Source()->undo();
    QCOMPARE(document.Text().toUtf8(), afterOneUndo);
    document.Source()->undo();
    QCOMPARE(document.Text().toUtf8(), afterTwoUndos);
  }

  void copyAndPasteKeepTheCharacters_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("CR LF page with a lone LF") << QByteArray("<p>a</p>\r\n<p>b</p>\n<i>c</i>\r\n");
    QTest::newRow("LF page with a CR LF") << QByteArray("<p>a</p>\n<p>b</p>\r\n<i>c</i>\n");
    QTest::newRow("CR page with a no-break space")
        << QByteArray("<p>a\xC2\xA0</p>\r<p>b</p>\r<i>c</i>\r");
  }
  void copyAndPasteKeepTheCharacters() {
    QFETCH(QByteArray, file);
    const QString path = folder_.filePath("page.html");
    WriteAll(path, file);
    EditorDocument document("Untitled 1");
    QString error;
    QVERIFY(document.Load(path, &error));

    document.Source()->selectAll();
    document.Source()->copy();
    QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), file);
    document.Source()->moveCursor(QTextCursor::End);
    document.Source()->paste();
    QCOMPARE(document.Text().toUtf8(), file + file);
  }

  // A long line is shown as rows of a bounded length, so no edit lays out more than a row or
  // two; the rows are no line ends: the text, edits at their seams and undo keep the one line.
  void longLinesAreShownInRows_data() {
    QTest::addColumn<int>("cursor");  // the end of row 1 is kRow, the start of row 2 kRow + 1
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("expected");
    const QString line = LongLine();
    QTest::newRow("opened") << 0 << "" << line;
    QTest::newRow("Delete at a row's end") << kRow << "delete" << QString(line).remove(kRow, 1);
    QTest::newRow("Backspace at a row's start")
        << kRow + 1 << "backspace" << QString(line).remove(kRow - 1, 1);
    QTest::newRow("Enter at a row's end") << kRow << "enter" << QString(line).insert(kRow, "\r\n");
    QTest::newRow("Enter at a row's start")
        << kRow + 1 << "enter" << QString(line).insert(kRow, "\r\n");
    QTest::newRow("a long insertion")
        << kRow + 1 << "insert" << QString(line).insert(kRow, QString(5 * kRow, 'y'));
    QTest::newRow("undone") << kRow + 1 << "insert undo" << line;
  }
  void longLinesAreShownInRows() {
    QFETCH(int, cursor);
    QFETCH(QString, edit);
    QFETCH(QString, expected);
    const QString path = folder_.filePath("long.html");
    WriteAll(path, LongLine().toUtf8());
    EditorDocument document("Untitled 1");
    document.show();
    QString error;
    QVERIFY(document.Load(path, &error));
    QCOMPARE(document.Source()->document()->blockCount(), 5);  // 3 rows, the rest, the last line
    PutCursorAt(document, cursor);
    const QMap<QString, Qt::Key> keys = {
        {"delete", Qt::Key_Delete}, {"backspace", Qt::Key_Backspace}, {"enter", Qt::Key_Return}};
    if (keys.contains(edit)) QTest::keyClick(document.Source(), keys[edit]);
    if (edit.startsWith("insert")) document.InsertAtCursor(QString(5 * kRow, 'y'));
    if (edit.endsWith("undo")) document.Source()->undo();
    QCOMPARE(document.Text(), expected);
    for (QTextBlock b = document.Source()->document()->begin(); b.isValid(); b = b.next())
      QVERIFY(b.length() <= 2 * kRow + 1);
  }

  // A new width lays out only the lines in sight: QPlainTextEdit alone gives every line a text
  // layout of its own that stays (some 40 MB for these 100,000 lines).
  void aNewWidthLaysOutOnlyTheLinesInSight() {
    vendigo::SourceEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.SetText(QString("<p>a line of the page</p>\n").repeated(100000));
    const auto heldKb = [] { return qint64(mallinfo2().uordblks + mallinfo2().hblkhd) / 1024; };
    const qint64 before = heldKb();
    edit.resize(400, 300);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    for (const int width : {500, 700, 450}) {
      edit.resize(width, 300);
      QCoreApplication::processEvents();
    }
    QCOMPARE_LT(heldKb() - before, 4096);
  }

  void theRenderedViewFollowsTheText() {
    EditorDocument document("Untitled 1");
    document.show();
    const auto text = [&] { return Shown(document, "document.body.innerText"); };
    document.InsertAtCursor("<p>one</p>");
    document.RefreshRendered();
    QTRY_COMPARE_WITH_TIMEOUT(text(), QString("one"), kEngineMs);
    document.InsertAtCursor("<p>two &amp; <b>three</b></p>");
    QTRY_COMPARE_WITH_TIMEOUT(text(), QString("one\n\ntwo & three"), kEngineMs);
    QTest::keyClicks(document.Source(), "<p>four</p>");
    QTRY_COMPARE_WITH_TIMEOUT(text(), QString("one\n\ntwo & three\n\nfour"), kEngineMs);
  }

  // A large page is rendered when it is read, saved or refreshed with F5, never on an edit alone,
  // and meanwhile the view says it lags behind. A small one follows each edit.
  void aLargePageIsRenderedOnSaveAndF5Only_data() {
    QTest::addColumn<int>("characters");
    QTest::addColumn<QString>("after");  // what follows the edit
    QTest::addColumn<bool>("followed");  // the view shows the edit
    const int large = EditorDocument::kLivePreviewCharacters + 1000;
    QTest::newRow("small page, edit") << 1000 << QString() << true;
    QTest::newRow("large page, edit") << large << QString() << false;
    QTest::newRow("large page, edit and save") << large << QString("save") << true;
    QTest::newRow("large page, edit and F5") << large << QString("F5") << true;
  }
  void aLargePageIsRenderedOnSaveAndF5Only() {
    QFETCH(int, characters);
    QFETCH(QString, after);
    QFETCH(bool, followed);
    // Lines of a comment: the characters of a large page, little for the engine to lay out.
    QByteArray page = "<!--\n";
    while (page.size() < characters) page += QByteArray(63, 'x') + "\n";
    const QString path = folder_.filePath("page.html");
    // The paragraph comes first: the view lays out a large page only around the cursor.
    WriteAll(path, "<p>old</p>\n" + page + "-->\n");
    vendigo::testing::ScriptedEditorPrompts prompts;
    vendigo::PageEditorWindow window(prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QString error;
    EditorDocument *document = window.OpenDocument(path, &error);
    QVERIFY2(document, qPrintable(error));
    QSignalSpy rendered(document->Rendered(), &vendigo::RenderedView::Rendered);
    QVERIFY(rendered.wait(kEngineMs));
    document->InsertAtCursor("<p>new</p>");
    if (after == "save") QVERIFY(window.SaveDocument(document));
    if (after == "F5") QTest::keyClick(document->Source(), Qt::Key_F5);
    // Not followed: long enough for a rendering the edit would have started to be shown.
    QCOMPARE(rendered.wait(followed ? kEngineMs : 10 * EditorDocument::kRenderDelayMs), followed);
    QCOMPARE(Shown(*document, "document.body.innerText"), followed ? "new\n\nold" : "old");
    QCOMPARE(document->Rendered()->IsOutdated(), !followed);
  }

  // A large page is laid out only around the cursor, F5 showing the part around where it is now,
  // and the view says so; a small page is shown whole.
  void aLargePageShowsThePartAroundTheCursor_data() {
    QTest::addColumn<int>("characters");
    QTest::addColumn<bool>("cursorAtEnd");
    QTest::addColumn<QString>("shown");
    const int large = 3 * EditorDocument::kLivePreviewCharacters;
    QTest::newRow("large page, cursor at the end") << large << true << "end";
    QTest::newRow("large page, cursor at the start") << large << false << "start";
    QTest::newRow("small page") << 1000 << true << "start\n\nend";
  }
  void aLargePageShowsThePartAroundTheCursor() {
    QFETCH(int, characters);
    QFETCH(bool, cursorAtEnd);
    QFETCH(QString, shown);
    // Comments between the two paragraphs: places to cut, little for the engine to lay out.
    QByteArray page = "<html><head><style>p { color: green }</style></head><body>\n<p>start</p>\n";
    while (page.size() < characters) page += "<!--" + QByteArray(59, 'x') + "-->\n";
    const QString path = folder_.filePath("page.html");
    WriteAll(path, page + "<p>end</p>\n</body></html>\n");
    vendigo::testing::ScriptedEditorPrompts prompts;
    vendigo::PageEditorWindow window(prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QString error;
    EditorDocument *document = window.OpenDocument(path, &error);
    QVERIFY2(document, qPrintable(error));
    QSignalSpy rendered(document->Rendered(), &vendigo::RenderedView::Rendered);
    QVERIFY(rendered.wait(kEngineMs));
    if (cursorAtEnd) document->Source()->moveCursor(QTextCursor::End);
    QTest::keyClick(document->Source(), Qt::Key_F5);
    QVERIFY(rendered.wait(kEngineMs));
    QCOMPARE(Shown(*document, "document.body.innerText"), shown);
    QCOMPARE(Shown(*document, "getComputedStyle(document.body.lastElementChild).color"),
             "rgb(0, 128, 0)");
    const bool large = characters > EditorDocument::kLivePreviewCharacters;
    QCOMPARE(document->Rendered()->IsPartial(), large);
    const auto *notice = document->Rendered()->findChild<QLabel *>("Notice");
    QCOMPARE(notice->isVisible(), large);
    if (!large) return;
    QCOMPARE(notice->text(),
             "This page is large, so the view shows only the part around the cursor. Press F5 "
             "to show the part around the cursor again.");
    document->InsertAtCursor("<p>new</p>");
    QCOMPARE(notice->text(),
             "This page is large, so the view shows only the part around the cursor, and it is not "
             "updated as you type: it shows that part as last saved or refreshed. Press F5 to show "
             "the part around the cursor again, with your changes.");
  }

  void picturesAreShown_data() {
    QTest::addColumn<QByteArray>("page");  // %1 is the page's folder
    QTest::addColumn<QString>("shown");    // each picture's size, then the rendering mode
    QTest::newRow("beside the file")
        << QByteArray("<p><img src=\"pic.png\"></p>") << "3x2 BackCompat";
    QTest::newRow("after a comment and a doctype")
        << QByteArray("<!-- shop -->\n<!DOCTYPE html>\n<img src=\"pic.png\">") << "3x2 CSS1Compat";
    QTest::newRow("file:// address")
        << QByteArray("<img src=\"file://%1/pic.png\">") << "0x0 BackCompat";  // never read
  }
  void picturesAreShown() {
    QFETCH(QByteArray, page);
    QFETCH(QString, shown);
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(folder_.filePath("pic.png")));
    const QString path = folder_.filePath("page.html");
    WriteAll(path, page.replace("%1", folder_.path().toUtf8()));
    EditorDocument document("Untitled 1");
    document.show();
    QString error;
    QVERIFY(document.Load(path, &error));
    QTRY_COMPARE_WITH_TIMEOUT(Shown(document,
                                    "Array.from(document.images, i => i.naturalWidth + 'x' + "
                                    "i.naturalHeight).join(' ') + ' ' + document.compatMode"),
                              shown, kEngineMs);
  }

 private:
  QTemporaryDir folder_;
};

QTEST_MAIN(EditorDocumentTest)
#include "editor_document_test.moc"
