// Saving a page in the editor that refers to pictures outside its site.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "core/program_folders.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "publish/publish_target_store.h"
#include "support/scripted_editor_prompts.h"

using vendigo::EditorDocument;
using vendigo::PageEditorWindow;

namespace {

QByteArray ReadAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void WriteAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

}  // namespace

class OutsidePictureOfferTest : public QObject {
  Q_OBJECT

 private slots:
  void savingOffersToCopyThePictures_data() {
    QTest::addColumn<bool>("copy");
    QTest::addColumn<QByteArray>("page");      // {OUT}: the pictures' folder outside the site
    QTest::addColumn<QByteArray>("expected");  // the saved page when the copy is made
    QTest::addColumn<QString>("asked");
    const QByteArray tail = "\r\n<p>Caf\xC3\xA9 \xE2\x80\x9Cmug\xE2\x80\x9D</p>\r\n";
    QTest::newRow("yes, UTF-8 with CR LF")
        << true << "<p>x</p>\r\n<img src=\"file://{OUT}/mug.png\" alt=\"&amp;\">" + tail
        << "<p>x</p>\r\n<img src=\"images/mug.png\" alt=\"&amp;\">" + tail
        << "copy pictures of shop.html: file://{OUT}/mug.png";
    QTest::newRow("no, UTF-8 with CR LF")
        << false << "<p>x</p>\r\n<img src=\"file://{OUT}/mug.png\" alt=\"&amp;\">" + tail
        << QByteArray() << "copy pictures of shop.html: file://{OUT}/mug.png";
    QTest::newRow("yes, Windows-1252")
        << true << QByteArray("<p>Caf\xE9</p><img src={OUT}/mug.png><img src='{OUT}/mug.png'>\n")
        << QByteArray("<p>Caf\xE9</p><img src=images/mug.png><img src='images/mug.png'>\n")
        << "copy pictures of shop.html: {OUT}/mug.png";
    // The editor shows a line this long as rows; the address lies across the seam of two.
    const QByteArray padding(3072 - 20, 'x');
    QTest::newRow("yes, across the rows of a long line")
        << true << "<p>" + padding + "</p><img src=\"{OUT}/mug.png\">\n"
        << "<p>" + padding + "</p><img src=\"images/mug.png\">\n"
        << "copy pictures of shop.html: {OUT}/mug.png";
  }

  void savingOffersToCopyThePictures() {
    QFETCH(bool, copy);
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    QFETCH(QString, asked);
    QTemporaryDir outside;
    QTemporaryDir site;
    WriteAll(outside.filePath("mug.png"), "\x89PNG mug");
    const QByteArray original = page.replace("{OUT}", QFile::encodeName(outside.path()));
    const QString path = site.filePath("shop.html");
    WriteAll(path, original);

    vendigo::testing::ScriptedEditorPrompts prompts;
    prompts.copyPictures = copy;
    PageEditorWindow window(prompts);
    QString error;
    EditorDocument *document = window.OpenDocument(path, &error);
    QVERIFY2(document, qPrintable(error));
    window.findChild<QAction *>("FileSave")->trigger();

    QCOMPARE(prompts.asked, QStringList{asked.replace("{OUT}", outside.path())});
    if (!copy) {
      QCOMPARE(ReadAll(path), original);
      QVERIFY(!QDir(site.filePath("images")).exists());
      return;
    }
    QCOMPARE(ReadAll(path), expected);
    QCOMPARE(ReadAll(site.filePath("images/mug.png")), QByteArray("\x89PNG mug"));
    QVERIFY(!document->IsModified());
    // One undo takes the whole change back.
    document->Source()->undo();
    QCOMPARE(document->SavedBytesLater()(), original);
  }

  // A folder above the page with a publishing target is the site: a picture in it, though outside
  // the page's folder, stays as it is; without the target it is copied.
  void theSiteIsTheNearestFolderWithATarget() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QTemporaryDir site;
    QDir(site.path()).mkpath("pages");
    WriteAll(site.filePath("mug.png"), "mug");
    const QString path = site.filePath("pages/shop.html");
    const QByteArray original = "<img src=\"../mug.png\">";
    for (const bool target : {true, false}) {
      if (target) {
        vendigo::SavePublishTargetUrl(vendigo::PublishTargetsFile(vendigo::ProcessXdgEnvironment()),
                                      QFile::encodeName(site.path()).toStdString(),
                                      "sftp://me@shop.example/www");
      } else {
        QFile::remove(QString::fromStdString(
            vendigo::PublishTargetsFile(vendigo::ProcessXdgEnvironment()).string()));
      }
      WriteAll(path, original);
      vendigo::testing::ScriptedEditorPrompts prompts;
      PageEditorWindow window(prompts);
      QString error;
      QVERIFY(window.OpenDocument(path, &error));
      window.findChild<QAction *>("FileSave")->trigger();
      QCOMPARE(prompts.asked,
               target ? QStringList() : QStringList{"copy pictures of shop.html: ../mug.png"});
    }
    qunsetenv("XDG_CONFIG_HOME");
  }

  void missingPicturesAreReportedAndLeftAlone() {
    QTemporaryDir site;
    const QString path = site.filePath("shop.html");
    const QByteArray original = "<img src=\"file:///nowhere/gone.png\">";
    WriteAll(path, original);
    vendigo::testing::ScriptedEditorPrompts prompts;
    prompts.copyPictures = true;
    PageEditorWindow window(prompts);
    QString error;
    QVERIFY(window.OpenDocument(path, &error));
    window.findChild<QAction *>("FileSave")->trigger();
    QCOMPARE(prompts.asked,
             QStringList{"error: These pictures of shop.html do not exist on this computer, so "
                         "their addresses were left as they are:\n\nfile:///nowhere/gone.png"});
    QCOMPARE(ReadAll(path), original);
  }
};

QTEST_MAIN(OutsidePictureOfferTest)
#include "outside_picture_offer_test.moc"
