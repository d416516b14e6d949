// Tools > Reprice Site...: the changes found off the window thread, a tick each, and Apply: an
// open document changed in the editor as one undo step, a closed page on disk.
#include "pageeditor/reprice_dialog.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/recording_messages.h"
#include "support/scripted_editor_prompts.h"

using vendigo::EditorDocument;
using vendigo::PageEditorWindow;
using vendigo::RepriceDialog;

namespace {

const QByteArray kField =
    "<!--webbot bot=\"HTMLMarkup\" Alt=\"&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;\" "
    "StartSpan --><INPUT TYPE=\"HIDDEN\" NAME=\"pelluxadd\" VALUE=\"%1^%2^1^^\"><!--WEBBOT "
    "bot=\"HTMLMarkup\" EndSpan -->";

// A page in Windows-1252 of three lines ending in CR LF, the second and the third each holding a
// hidden item field at that price.
QByteArray Page(const QString &price) {
  const QByteArray field =
      QString::fromLatin1(kField).arg(QString::fromLatin1("Caf\xE9 cr\xE8me"), price).toLatin1();
  return "<p>Caf\xE9 cr\xE8me</p>\r\n" + field + "\r\n" + field + "\r\n";
}

}  // namespace

class RepriceDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void appliesTickedChangesInTheEditorAndOnDisk() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkpath("site"));
    for (const char *name : {"site/open.html", "site/closed.html", "site/unticked.html"}) {
      QFile file(folder.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(Page("4.50"));
    }
    QFile prices(folder.filePath("prices.csv"));
    QVERIFY(prices.open(QIODevice::WriteOnly));
    prices.write("Description,Price\nCaf\xC3\xA9 cr\xC3\xA8me,4.90\nTeapot,9\n");
    prices.close();

    vendigo::testing::ScriptedEditorPrompts prompts;
    vendigo::testing::RecordingMessages messages;
    PageEditorWindow window(prompts);
    QString error;
    EditorDocument *document = window.OpenDocument(folder.filePath("site/open.html"), &error);
    QVERIFY2(document, qPrintable(error));
    const QString before = document->Text();

    // Tools > Reprice Site... opens the dialog, on the active document's folder.
    window.findChild<QAction *>("ToolsRepriceSite")->trigger();
    QTRY_COMPARE(window.findChildren<RepriceDialog *>().size(), 1);
    QCOMPARE(window.findChild<RepriceDialog *>()->findChild<QLineEdit *>("FolderEdit")->text(),
             folder.filePath("site"));
    window.findChild<RepriceDialog *>()->close();
    RepriceDialog dialog(window, messages);
    dialog.findChild<QLineEdit *>("FolderEdit")->setText(folder.filePath("site"));
    dialog.findChild<QLineEdit *>("PricesEdit")->setText(prices.fileName());
    QTest::mouseClick(dialog.findChild<QPushButton *>("FindButton"), Qt::LeftButton);
    auto *table = dialog.findChild<QTableWidget *>("ChangesTable");
    QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 6, 30000);
    const QStringList pages = {"closed.html", "open.html", "unticked.html"};
    for (int row = 0; row < 6; ++row) {
      QStringList cells;
      for (int column = 0; column < table->columnCount(); ++column)
        cells << table->item(row, column)->text();
      QCOMPARE(cells, QStringList({pages[row / 2], QString::number(2 + row % 2), "Café crème",
                                   "4.50", "4.90", "hidden item"}));
    }
    QCOMPARE(dialog.findChild<QPlainTextEdit *>("NotesText")->toPlainText(),
             "6 changes in 3 of 3 pages.\nMatched nothing: Teapot (line 3)");

    table->item(4, 0)->setCheckState(Qt::Unchecked);
    table->item(5, 0)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(dialog.findChild<QPushButton *>("ApplyButton"), Qt::LeftButton);
    QTRY_COMPARE(
        messages.events,
        std::vector<std::string>(
            {"message: Made 4 changes: 1 page open in the editor (not saved yet), 1 page on "
             "disk."}));
    const auto bytes = [&](const char *name) {
      QFile file(folder.filePath(name));
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(bytes("site/closed.html"), Page("4.90"));
    QCOMPARE(bytes("site/open.html"), Page("4.50"));
    QCOMPARE(bytes("site/unticked.html"), Page("4.50"));
    QVERIFY(document->IsModified());
    QCOMPARE(document->Text(), QString::fromLatin1(Page("4.90")));

    document->Source()->undo();
    QCOMPARE(document->Text(), before);
    document->Source()->redo();
    QString saveError;
    QVERIFY(document->SaveAs(document->Path(), &saveError));
    QCOMPARE(bytes("site/open.html"), Page("4.90"));
  }
};

QTEST_MAIN(RepriceDialogTest)
#include "reprice_dialog_test.moc"
