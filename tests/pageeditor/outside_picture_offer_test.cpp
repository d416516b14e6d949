// Saving a page in the editor that refers to pictures outside its site.
#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "core/program_folders.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "publish/publish_target_store.h"
#include "support/scripted_editor_prompts.h"
#include "support/temp_folder.h"

using vendigo::testing::TempFolder;

class OutsidePictureOfferTest : public QObject {
  Q_OBJECT

 private slots:
  void savingOffersToCopyThePictures_data() {
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("targetAbove");  // the folder above the page's has a publishing target
    QTest::addColumn<QByteArray>("page");   // {OUT}: the folder above the page's
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QString>("asked");
    const QByteArray tail = "\r\n<p>Caf\xC3\xA9 \xE2\x80\x9Cmug\xE2\x80\x9D</p>\r\n";
    const QByteArray page = "<p>x</p>\r\n<img src=\"file://{OUT}/mug.png\" alt=\"&amp;\">" + tail;
    const QString question = "copy pictures of shop.html: ";
    QTest::newRow("yes, UTF-8 with CR LF")
        << true << false << page << "<p>x</p>\r\n<img src=\"images/mug.png\" alt=\"&amp;\">" + tail
        << question + "file://{OUT}/mug.png";
    QTest::newRow("no") << false << false << page << page << question + "file://{OUT}/mug.png";
    QTest::newRow("yes, Windows-1252")
        << true << false << QByteArray("<p>Caf\xE9</p><img src=../mug.png><img src='../mug.png'>")
        << QByteArray("<p>Caf\xE9</p><img src=images/mug.png><img src='images/mug.png'>")
        << question + "../mug.png";
    // The editor shows a line this long as rows; the address lies across the seam of two.
    const QByteArray padding(3072 - 20, 'x');
    QTest::newRow("yes, across the rows of a long line")
        << true << false << "<p>" + padding + "</p><img src=\"{OUT}/mug.png\">"
        << "<p>" + padding + "</p><img src=\"images/mug.png\">" << question + "{OUT}/mug.png";
    QTest::newRow("inside the site of the folder above")
        << true << true << QByteArray("<img src=\"../mug.png\">")
        << QByteArray("<img src=\"../mug.png\">") << "";
    QTest::newRow("missing") << true << false << QByteArray("<img src=\"file:///nowhere/a.png\">")
                             << QByteArray("<img src=\"file:///nowhere/a.png\">")
                             << "error: These pictures of shop.html do not exist on this "
                                "computer, so their addresses were left as they are:\n\n"
                                "file:///nowhere/a.png";
  }

  void savingOffersToCopyThePictures() {
    QFETCH(bool, copy);
    QFETCH(bool, targetAbove);
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, saved);
    QFETCH(QString, asked);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    TempFolder above;
    const QByteArray out = QByteArray::fromStdString(above.path().string());
    TempFolder::WriteBytes(above.path() / "mug.png", "\x89PNG mug");
    std::filesystem::create_directories(above.path() / "site");
    if (targetAbove) {
      vendigo::SavePublishTargetUrl(vendigo::PublishTargetsFile(vendigo::ProcessXdgEnvironment()),
                                    above.path(), "sftp://me@shop.example/www");
    }
    const QByteArray original = page.replace("{OUT}", out);
    const auto path = above.path() / "site" / "shop.html";
    TempFolder::WriteBytes(path, original.toStdString());

    vendigo::testing::ScriptedEditorPrompts prompts;
    prompts.copyPictures = copy;
    vendigo::PageEditorWindow window(prompts);
    QString error;
    vendigo::EditorDocument *document =
        window.OpenDocument(QString::fromStdString(path.string()), &error);
    QVERIFY2(document, qPrintable(error));
    window.findChild<QAction *>("FileSave")->trigger();

    QCOMPARE(prompts.asked,
             asked.isEmpty() ? QStringList() : QStringList{asked.replace("{OUT}", out)});
    QCOMPARE(QByteArray::fromStdString(TempFolder::ReadBytes(path)), saved.replace("{OUT}", out));
    const auto copied = above.path() / "site" / "images" / "mug.png";
    QCOMPARE(TempFolder::ReadBytes(copied), saved == original ? "" : "\x89PNG mug");
    if (saved == original) return;
    // One undo takes the whole change back.
    document->Source()->undo();
    QCOMPARE(document->SavedBytesLater()(), original);
  }
};

QTEST_MAIN(OutsidePictureOfferTest)
#include "outside_picture_offer_test.moc"
