// File > Publish Site... driven offscreen against a real sshd on 127.0.0.1 (the publish tests'
// server), on a bus of its own without a keyring.
#include "pageeditor/publish_dialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

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

// Clicks the button and waits until the run it starts has ended.
bool Run(PublishDialog &dialog, const char *button) {
  QSignalSpy ended(&dialog, &PublishDialog::RunEnded);
  auto *found = dialog.findChild<QPushButton *>(button);
  if (!found || !found->isVisible() || !found->isEnabled()) return false;
  found->click();
  return ended.wait(30000);
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

  // The check's error is listed; published anyway, the unknown host key is accepted once, what
  // will go is listed and confirmed, and the files go; the Check panel is still offered.
  void publishesOverSftpAfterShowingWhatWillGo() {
    if (::access("/usr/sbin/sshd", X_OK) != 0) QSKIP("sshd (openssh-server) is missing");
    TempFolder folder;
    const auto home = folder.path() / "home";
    const auto remote = folder.path() / "remote";
    const auto site = folder.path() / "site";
    for (const auto &path : {home, remote, site / "images"})
      std::filesystem::create_directories(path);
    vendigo::testing::TestServer server("sftp", folder.path(), home);
    TempFolder::WriteBytes(site / "index.html", kPage);
    TempFolder::WriteBytes(site / "images" / "mug.png", "mug");
    TempFolder::WriteBytes(site / "mugs.html", kOutsidePicture + "<img src=\"images/mug.png\">");
    const std::string url = "sftp://127.0.0.1:" + std::to_string(server.port()) + remote.string();
    RecordingMessages messages;
    messages.answers = {true, true};
    ScriptedEditorPrompts prompts;
    QStringList checked;
    const auto checkPanel = [&](const QString &folder) { checked << folder; };
    {
      PublishDialog dialog(QString::fromStdString(site), messages, prompts, checkPanel);
      dialog.SetSshHome(home);
      dialog.show();
      dialog.findChild<QLineEdit *>("Target")->setText(QString::fromStdString(url));
      QVERIFY(Run(dialog, "PublishBut"));
      QCOMPARE(Report(dialog).toStdString(),
               "The check found errors in the site, so nothing was published. Mend them in the "
               "Check panel, or publish anyway.\n" +
                   (site / "mugs.html").string() +
                   ":1:10: error: \"file:///home/me/mug.png\" is a file on this computer, which "
                   "visitors' browsers cannot load [file-address]\n");
      QVERIFY(Run(dialog, "PublishAnywayBut"));
      QCOMPARE(Report(dialog).toStdString(),
               "To send: 3 files, 173 bytes\n  images/mug.png\n  index.html\n  mugs.html\n"
               "To remove from the server: 0 files\nUnchanged: 0 files\nPublished to " +
                   url + ": 3 files sent (173 bytes), 0 files removed, 0 files unchanged.");
      dialog.findChild<QPushButton *>("OpenCheckPanelBut")->click();
      QCOMPARE(checked, QStringList{QString::fromStdString(site)});
    }
    QCOMPARE(messages.events,
             (std::vector<std::string>{
                 "ask: The server [127.0.0.1]:" + std::to_string(server.port()) +
                     " is not known to this computer. Its ssh-ed25519 key has the fingerprint\n" +
                     server.Fingerprint() +
                     "\nAccept this key and go on? Answer Yes only when it is the key of your "
                     "server.",
                 "ask: Publish to " + url + ": send 3 files (173 bytes) and remove 0 files?",
                 "message: Published to " + url +
                     ": 3 files sent (173 bytes), 0 files removed, 0 files unchanged."}));
    for (const char *file : {"index.html", "mugs.html", "images/mug.png"}) {
      QCOMPARE(TempFolder::ReadBytes(remote / file), TempFolder::ReadBytes(site / file));
    }

    // The target is remembered for the folder.
    PublishDialog again(QString::fromStdString(site), messages, prompts, checkPanel);
    QCOMPARE(again.findChild<QLineEdit *>("Target")->text().toStdString(), url);
    QVERIFY(prompts.asked.isEmpty());
  }

 private:
  QTemporaryDir config_;
};

QTEST_MAIN(PublishDialogTest)
#include "publish_dialog_test.moc"
