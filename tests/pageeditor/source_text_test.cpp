// The document text survives the round trip through a real QPlainTextEdit.
#include "pageeditor/source_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using vendigo::LineEnd;
using vendigo::SourceText;

Q_DECLARE_METATYPE(LineEnd)

namespace {

// What the edit gives back after it was given text with setPlainText.
QString ThroughTheEdit(const QString &text, LineEnd lineEnd) {
  QPlainTextEdit edit;
  edit.setPlainText(SourceText::ToEditor(text, lineEnd));
  return SourceText::FromEditor(edit.document()->toRawText(), lineEnd);
}

}  // namespace

class SourceTextTest : public QObject {
  Q_OBJECT

 private slots:
  void detectsTheFirstLineEnd_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<LineEnd>("expected");
    QTest::newRow("no line end") << "<p>x</p>" << LineEnd::Lf;
    QTest::newRow("empty") << "" << LineEnd::Lf;
    QTest::newRow("LF") << "a\nb\r\n" << LineEnd::Lf;
    QTest::newRow("CR LF") << "a\r\nb\n" << LineEnd::CrLf;
    QTest::newRow("CR") << "a\rb\r\n" << LineEnd::Cr;
    QTest::newRow("CR at the very end") << "a\r" << LineEnd::Cr;
  }
  void detectsTheFirstLineEnd() {
    QFETCH(QString, text);
    QFETCH(LineEnd, expected);
    QCOMPARE(SourceText::DetectLineEnd(text), expected);
  }

  void keepsEveryCharacter_data() {
    QTest::addColumn<QString>("text");
    const QString odd = QString::fromUtf8(
        "a\xE2\x80\xA8"
        "b\xE2\x80\xA9"
        "c\xEF\xB7\x90"
        "d\xEF\xB7\x91"
        "e\xC2\xA0"
        "f\t\xEF\xBB\xBF");
    QTest::newRow("CR LF page") << "<html>\r\n<body>\r\n</body>\r\n</html>\r\n";
    QTest::newRow("LF page") << "<html>\n<body>\n</body>\n</html>\n";
    QTest::newRow("CR page") << "<html>\r<body>\r</html>";
    QTest::newRow("mixed line ends") << "a\r\nb\nc\rd\n\re\r\r\n\n";
    QTest::newRow("blank lines at both ends") << "\r\n\r\nx\r\n\r\n";
    QTest::newRow("only line ends") << "\n\n\n";
    QTest::newRow("quotes, brackets, non-ASCII") << QString::fromUtf8(
        "<a title=\"\xC3\xA9\xC3\xBC\xE2\x84\xA2\" alt='&lt;'>\xF0\x9F\x9B\x92</a>");
    QTest::newRow("the edit's own separators, no-break space, tab, BOM") << odd;
    const QString noncharacters = QString::fromUtf8("a\xEF\xB7\x92\xEF\xB7\x93\xEF\xB7\x97");
    QTest::newRow("noncharacters and a byte that is no UTF-8") << noncharacters + QChar(0xDCE9);
  }
  void keepsEveryCharacter() {
    QFETCH(QString, text);
    for (const LineEnd lineEnd : {LineEnd::Lf, LineEnd::CrLf, LineEnd::Cr}) {
      QCOMPARE(ThroughTheEdit(text, lineEnd), text);
    }
    QCOMPARE(ThroughTheEdit(text, SourceText::DetectLineEnd(text)), text);
  }

  void theDocumentsLineEndShowsAsALineBreak_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("blocks");
    QTest::newRow("CR LF page") << "a\r\nb\r\nc" << 3;
    QTest::newRow("LF page") << "a\nb\nc" << 3;
    QTest::newRow("CR page") << "a\rb\rc" << 3;
    QTest::newRow("LF in a CR LF page stays inside its line") << "a\r\nb\nc" << 2;
  }
  void theDocumentsLineEndShowsAsALineBreak() {
    QFETCH(QString, text);
    QFETCH(int, blocks);
    QPlainTextEdit edit;
    const LineEnd lineEnd = SourceText::DetectLineEnd(text);
    edit.setPlainText(SourceText::ToEditor(text, lineEnd));
    QCOMPARE(edit.document()->blockCount(), blocks);
  }

  void typedLineBreaksTakeTheDocumentsLineEnd_data() {
    QTest::addColumn<LineEnd>("lineEnd");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF") << LineEnd::CrLf << "a\r\nb\r\nc\r\n";
    QTest::newRow("LF") << LineEnd::Lf << "a\nb\nc\n";
    QTest::newRow("CR") << LineEnd::Cr << "a\rb\rc\r";
  }
  void typedLineBreaksTakeTheDocumentsLineEnd() {
    QFETCH(LineEnd, lineEnd);
    QFETCH(QString, expected);
    QPlainTextEdit edit;
    edit.show();
    QTest::keyClicks(&edit, "a");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "b");
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);  // a soft line break
    QTest::keyClicks(&edit, "c");
    QTest::keyClick(&edit, Qt::Key_Enter);
    QCOMPARE(SourceText::FromEditor(edit.document()->toRawText(), lineEnd), expected);
  }
};

QTEST_MAIN(SourceTextTest)
#include "source_text_test.moc"
