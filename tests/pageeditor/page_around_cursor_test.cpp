// The part of a large page that the rendered view lays out.
#include "pageeditor/page_around_cursor.h"

#include <QtTest>

class PageAroundCursorTest : public QObject {
  Q_OBJECT

 private slots:
  void cutsBetweenElementsOnly_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("at");  // the cursor is at its first occurrence
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("part");
    const QString head = "<html><head><title>T</title></head><body>";
    QTest::newRow("the body's elements around the cursor, with the head")
        << head + "\n<p>one</p><p>two</p><p>three</p><p>four</p>\n</body></html>"
        << "three" << 14 << head + "<p>two</p><p>three</p></body></html>";
    QTest::newRow("end tags left out") << "<body><p>one<p>two<p>three<p>four</body>"
                                       << "four" << 8 << "<body><p>three<p>four</body>";
    QTest::newRow("inside an element larger than the part")
        << "<body><div id=\"w\"><p>one</p><p>two</p><p>three</p></div></body>"
        << "three" << 14 << "<body><div id=\"w\"><p>two</p><p>three</p></div></body>";
    const QString marked =
        "<body><p title=\"a>b\">one</p><script>if (a<b) s = '</p><p>';</script>"
        "<!-- <p> --><p>two</p></body>";
    QTest::newRow("a script and a comment stay whole")
        << marked << "two" << 10 << "<body><!-- <p> --><p>two</p></body>";
    QTest::newRow("a quoted \">\" is no tag's end")
        << marked << "one" << 10 << "<body><p title=\"a>b\">one</p></body>";
    QTest::newRow("no body tag: the body follows the head")
        << "<head><style>p{}</style></head><p>one</p><p>two</p>"
        << "two" << 6 << "<head><style>p{}</style></head><p>two</p>";
    QTest::newRow("the whole body fits") << "<body><p>one</p></body>"
                                         << "one" << 100 << "<body><p>one</p></body>";
  }
  void cutsBetweenElementsOnly() {
    QFETCH(QString, page);
    QFETCH(QString, at);
    QFETCH(int, size);
    QFETCH(QString, part);
    QCOMPARE(vendigo::PageAroundCursor(page, page.indexOf(at), size), part);
  }
};

QTEST_GUILESS_MAIN(PageAroundCursorTest)
#include "page_around_cursor_test.moc"
