// File > Publish Site... driven offscreen: the check's errors, and a real sshd on 127.0.0.1 (the
// publish tests' server) as the target. Run on a bus of its own without a keyring.
#include "pageeditor/publish_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "pageeditor/page_editor_window.h"
#include "publish/test_servers.h"
#include "support/recording_messages.h"
#include "support/scripted_editor_prompts.h"
#include "support/temp_folder.h"

using vendigo::PublishDialog;
using vendigo::testing::RecordingMessages;
using vendigo::testing::ScriptedEditorPrompts;
using vendigo::testing::TempFolder;

namespace {

const std::string kPage =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Mugs</title>"
    "</head><body><p>Mugs</p></body></html>\n";
const std::string kOutsidePicture = "<img src=\"file:///home/me/mug.png\">\n";

void Click(PublishDialog &dialog, const char *button) {
  auto *found = dialog.findChild<QPushButton *>(button);
  QVERIFY2(found && found->isVisible() && found->isEnabled(), button);
  found->click();
}

QString Report(PublishDialog &dialog) {
  return dialog.findChild<QPlainTextEdit *>("Report")->toPlainText();
}

}  // namespace

class PublishDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    qunsetenv("SSH_AUTH_SOCK");
  }

  // File > Publish Site... opens the dialog on the active document's folder.
  void theMenuOpensTheDialogOnTheDocumentsFolder() {
    TempFolder site;
    TempFolder::WriteBytes(site.path() / "index.html", kPage);
    ScriptedEditorPrompts prompts;
    vendigo::PageEditorWindow window(prompts);
    QString error;
    QVERIFY(window.OpenDocument(QString::fromStdString(site.path() / "index.html"), &error));
    QString shownFolder;
    QTimer::singleShot(0, &window, [&] {
      auto *dialog = qobject_cast<PublishDialog *>(QApplication::activeModalWidget());
      if (!dialog) return;
      shownFolder = dialog->findChild<QLineEdit *>("SiteFolder")->text();
      dialog->reject();
    });
    window.findChild<QAction *>("FilePublishSite")->trigger();
    QCOMPARE(shownFolder, QString::fromStdString(site.path()));
  }

  void checkErrorsOfferTheCheckPanel() {
    TempFolder site;
    TempFolder::WriteBytes(site.path() / "mugs.html", kOutsidePicture);
    RecordingMessages messages;
    ScriptedEditorPrompts prompts;
    QStringList shown;
    PublishDialog dialog(QString::fromStdString(site.path()), messages, prompts,
                         [&](const QString &folder) { shown << folder; });
    dialog.show();
    dialog.findChild<QLineEdit *>("Target")->setText("sftp://me@127.0.0.1:1/www");
    QSignalSpy ended(&dialog, &PublishDialog::RunEnded);
    Click(dialog, "PublishBut");
    QVERIFY(ended.wait(20000));
    QCOMPARE(Report(dialog),
             QString::fromStdString(
                 "The check found errors in the site, so nothing was published. Mend them in the "
                 "Check panel, or publish anyway.\n" +
                 (site.path() / "mugs.html").string() +
                 ":1:10: error: \"file:///home/me/mug.png\" is a file on this computer, which "
                 "visitors' browsers cannot load [file-address]\n"));
    QVERIFY(messages.events.empty());
    Click(dialog, "OpenCheckPanelBut");
    QCOMPARE(shown, QStringList{QString::fromStdString(site.path())});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  // Published anyway over the check's error: the unknown host key is accepted once, what will go
  // is listed and confirmed, and the files go; a second publish sends only the changed page, and
  // answering No to it sends nothing.
  void publishesOverSftpAfterShowingWhatWillGo() {
    if (!vendigo::testing::Installed("/usr/sbin/sshd")) QSKIP("sshd (openssh-server) is missing");
    TempFolder folder;
    const auto home = folder.path() / "home";
    const auto remote = folder.path() / "remote";
    const auto site = folder.path() / "site";
    for (const auto &path : {home, remote, site / "images"})
      std::filesystem::create_directories(path);
    vendigo::testing::SshServer server(folder.path(), home);
    TempFolder::WriteBytes(site / "index.html", kPage);
    TempFolder::WriteBytes(site / "images" / "mug.png", "mug");
    TempFolder::WriteBytes(site / "mugs.html", kOutsidePicture + "<img src=\"images/mug.png\">");
    const std::string url = "sftp://" + vendigo::testing::UserName() +
                            "@127.0.0.1:" + std::to_string(server.port()) + remote.string();

    RecordingMessages messages;
    messages.answers = {true, true};
    ScriptedEditorPrompts prompts;
    {
      PublishDialog dialog(QString::fromStdString(site), messages, prompts, {});
      dialog.SetSshHome(home);
      dialog.show();
      dialog.findChild<QLineEdit *>("Target")->setText(QString::fromStdString(url));
      QSignalSpy ended(&dialog, &PublishDialog::RunEnded);
      Click(dialog, "PublishBut");
      QVERIFY(ended.wait(20000));
      Click(dialog, "PublishAnywayBut");
      QVERIFY(ended.wait(30000));
      QCOMPARE(Report(dialog),
               "To send: 3 files, 173 bytes\n  images/mug.png\n  index.html\n  mugs.html\n"
               "To remove from the server: 0 files\nUnchanged: 0 files\n"
               "Published to " +
                   QString::fromStdString(url) +
                   ": 3 files sent (173 bytes), 0 files removed, 0 files unchanged.");
    }
    const std::vector<std::string> expected = {
        "ask: The server [127.0.0.1]:" + std::to_string(server.port()) +
            " is not known to this computer. Its ssh-ed25519 key has the fingerprint\n" +
            server.Fingerprint() +
            "\nAccept this key and go on? Answer Yes only when it is the key of your server.",
        "ask: Publish to " + url + ": send 3 files (173 bytes) and remove 0 files?",
        "message: Published to " + url +
            ": 3 files sent (173 bytes), 0 files removed, 0 files unchanged."};
    QCOMPARE(messages.events, expected);
    for (const char *file : {"index.html", "mugs.html", "images/mug.png"}) {
      QCOMPARE(TempFolder::ReadBytes(remote / file), TempFolder::ReadBytes(site / file));
    }

    // The target is remembered for the folder; No to the plan sends nothing.
    TempFolder::WriteBytes(site / "index.html", kPage + "<p>New mugs</p>\n");
    messages.events.clear();
    PublishDialog again(QString::fromStdString(site), messages, prompts, {});
    again.SetSshHome(home);
    again.show();
    QCOMPARE(again.findChild<QLineEdit *>("Target")->text(), QString::fromStdString(url));
    QSignalSpy ended(&again, &PublishDialog::RunEnded);
    Click(again, "PublishBut");
    QVERIFY(ended.wait(20000));
    Click(again, "PublishAnywayBut");
    QVERIFY(ended.wait(20000));
    QCOMPARE(Report(again), QString("To send: 1 file, 124 bytes\n  index.html\n"
                                    "To remove from the server: 0 files\nUnchanged: 2 files"));
    QCOMPARE(messages.events, std::vector<std::string>{"ask: Publish to " + url +
                                                       ": send 1 file (124 bytes) and remove 0 "
                                                       "files?"});
    QCOMPARE(TempFolder::ReadBytes(remote / "index.html"), kPage);
    QVERIFY(prompts.asked.isEmpty());
  }

  // FTPS: the password is asked of the user, again after the server refused it, and once taken
  // not asked again by the publish after the plan.
  void asksForTheFtpPasswordUntilTheServerTakesIt() {
    if (!vendigo::testing::Installed("/usr/sbin/vsftpd") || ::geteuid() != 0) {
      QSKIP("vsftpd (and root, for its test user) is missing");
    }
    TempFolder folder;
    const auto site = folder.path() / "site";
    std::filesystem::create_directories(site);
    vendigo::testing::FtpServer server(folder.path());
    const auto remote = server.MakeFolder("www");
    TempFolder::WriteBytes(site / "index.html", kPage);
    qputenv("CURL_CA_BUNDLE", QFile::encodeName(QString::fromStdString(server.ca())));
    const std::string account = vendigo::testing::FtpServer::User() + "@127.0.0.1";
    const std::string url = "ftps://" + account + ":" + std::to_string(server.port()) + "/www";

    RecordingMessages messages;
    messages.answers = {true};
    ScriptedEditorPrompts prompts;
    prompts.passwords = {"wrong", vendigo::testing::FtpServer::kPassword};
    PublishDialog dialog(QString::fromStdString(site), messages, prompts, {});
    dialog.show();
    dialog.findChild<QLineEdit *>("Target")->setText(QString::fromStdString(url));
    QSignalSpy ended(&dialog, &PublishDialog::RunEnded);
    Click(dialog, "PublishBut");
    QVERIFY(ended.wait(30000));
    qunsetenv("CURL_CA_BUNDLE");
    const QString asked = QString::fromStdString("password for " + account);
    QCOMPARE(prompts.asked, (QStringList{asked, asked + " again"}));
    QCOMPARE(messages.events.back(), "message: Published to " + url +
                                         ": 1 file sent (108 bytes), 0 files removed, 0 files "
                                         "unchanged.");
    QCOMPARE(TempFolder::ReadBytes(remote / "index.html"), kPage);
  }

 private:
  QTemporaryDir config_;
};

QTEST_MAIN(PublishDialogTest)
#include "publish_dialog_test.moc"
