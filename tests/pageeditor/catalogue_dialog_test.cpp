// Build Catalogue from the page editor's File menu: the choices typed, the build off the window
// thread, the summary, the index opened, the choices remembered.
#include "pageeditor/catalogue_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/scripted_editor_prompts.h"

using vendigo::CatalogueDialog;
using vendigo::PageEditorWindow;

class CatalogueDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("XDG_CONFIG_HOME", folder_.filePath("config").toUtf8());
  }

  void buildsTheCatalogueAndOpensItsIndex() {
    const QString spreadsheet = folder_.filePath("shop.csv");
    QFile file(spreadsheet);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Description,Price\r\nMug,4.5\r\nPot,x\r\nCup,3\r\n");
    file.close();
    const QString site = folder_.filePath("site");
    const QStringList typed = {spreadsheet, VENDIGO_TEMPLATES_DIR "/single_product.zft", site};

    vendigo::testing::ScriptedEditorPrompts prompts;
    PageEditorWindow window(prompts);
    CatalogueDialog *dialog = Open(window);
    QVERIFY(dialog);
    for (int i = 0; i < 3; ++i) {
      auto *edit = dialog->findChild<QLineEdit *>(kEdits[i]);
      edit->clear();
      QTest::keyClicks(edit, typed[i]);
    }
    QTest::keyClick(dialog->findChild<QLineEdit *>("OutputEdit"), Qt::Key_Return);  // builds
    auto *summary = dialog->findChild<QPlainTextEdit *>("SummaryText");
    QTRY_VERIFY_WITH_TIMEOUT(!summary->toPlainText().isEmpty(), 30000);
    QCOMPARE(summary->toPlainText(), "2 pages written to " + site +
                                         ", with index.html.\n1 row skipped:\nline 3: price "
                                         "\"x\" is not a number");
    QCOMPARE(window.ActiveDocument()->Path(), site + "/index.html");
    QVERIFY(window.ActiveDocument()->Text().contains("<a href=\"cup.html\">Cup</a>"));

    // Again into the same folder: the pages are there with the same bytes, so all is done.
    QTest::mouseClick(dialog->findChild<QPushButton *>("BuildButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(summary->toPlainText().startsWith("2 pages"), 30000);
    QCOMPARE(window.Documents().size(), 1);
    QVERIFY(prompts.asked.isEmpty());

    QTest::mouseClick(dialog->findChild<QPushButton *>("CloseButton"), Qt::LeftButton);
    QTRY_COMPARE(window.findChildren<CatalogueDialog *>().size(), 0);
    dialog = Open(window);
    for (int i = 0; i < 3; ++i)
      QCOMPARE(dialog->findChild<QLineEdit *>(kEdits[i])->text(), typed[i]);
  }

  // A file ending in .jsonl is read as JSON Lines, one product per line.
  void buildsTheCatalogueFromJsonLines() {
    const QString products = folder_.filePath("shop.jsonl");
    QFile file(products);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "{\"Description\": \"Mug\", \"Price\": \"4.5\"}\n{\"Description\": 5}\n"
        "{\"Description\": \"Cup\", \"Price\": \"3\", \"File\": \"tea-cup\"}\n");
    file.close();
    const QString site = folder_.filePath("jsonl-site");
    vendigo::testing::ScriptedEditorPrompts prompts;
    PageEditorWindow window(prompts);
    CatalogueDialog *dialog = Open(window);
    QVERIFY(dialog);
    const QStringList typed = {products, VENDIGO_TEMPLATES_DIR "/single_product.zft", site};
    for (int i = 0; i < 3; ++i) {
      auto *edit = dialog->findChild<QLineEdit *>(kEdits[i]);
      edit->clear();
      QTest::keyClicks(edit, typed[i]);
    }
    QTest::mouseClick(dialog->findChild<QPushButton *>("BuildButton"), Qt::LeftButton);
    auto *summary = dialog->findChild<QPlainTextEdit *>("SummaryText");
    QTRY_VERIFY_WITH_TIMEOUT(!summary->toPlainText().isEmpty(), 30000);
    QCOMPARE(summary->toPlainText(), "2 pages written to " + site +
                                         ", with index.html.\n1 row skipped:\nline 2: "
                                         "Description must be a text");
    QVERIFY(QFile::exists(site + "/tea-cup.html"));
  }

 private:
  static constexpr const char *kEdits[] = {"SpreadsheetEdit", "TemplateEdit", "OutputEdit"};

  static CatalogueDialog *Open(PageEditorWindow &window) {
    window.findChild<QAction *>("FileBuildCatalogue")->trigger();
    return window.findChild<CatalogueDialog *>("CatalogueDialog");
  }

  QTemporaryDir folder_;
};

QTEST_MAIN(CatalogueDialogTest)
#include "catalogue_dialog_test.moc"
