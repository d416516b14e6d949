#pragma once

#include <QDialog>
#include <QString>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "publish/publish_run.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vendigo {

class EditorPrompts;
class KeyringPasswordSource;
class MessageInterface;

// File > Publish Site...: the site folder and its target (remembered per folder, as vendigo-html
// publish remembers it), then Publish: the site is checked and what would go is listed (a dry
// run, which reads the server's manifest); check errors are listed with the choice of the Check
// panel instead or publishing anyway; the plan is confirmed; then the files go on a worker thread
// with progress (files, bytes, time left) and Cancel. Passwords come from the keyring or the user
// (KeyringPasswordSource); an unknown host key is shown with its fingerprint for the user to
// accept once. Every message goes through MessageInterface.
class PublishDialog : public QDialog {
  Q_OBJECT

 public:
  // openCheckPanel shows the Check panel's findings for a folder.
  PublishDialog(const QString &siteFolder, MessageInterface &messages, EditorPrompts &prompts,
                std::function<void(const QString &)> openCheckPanel, QWidget *parent = nullptr);
  ~PublishDialog() override;

  // The folder whose .ssh holds the keys and known_hosts; empty (the default) for $HOME.
  void SetSshHome(const std::filesystem::path &home) { sshHome_ = home; }
  bool IsRunning() const { return worker_.joinable(); }

 public slots:
  void reject() override;

 signals:
  // A dry run or a publish ended, its outcome shown.
  void RunEnded();

 private:
  enum class Step { Plan, Publish };

  void ChooseClick();
  void SiteChanged();
  void PublishClick();
  void PublishAnywayClick();
  void OpenCheckPanelClick();
  void Start(Step step);
  void ShowProgress(const PublishProgress &progress);
  void Ended(Step step, const PublishResult &result);
  void SetRunning(bool running);

  MessageInterface &messages_;
  EditorPrompts &prompts_;
  std::function<void(const QString &)> showCheckPanel_;
  std::unique_ptr<KeyringPasswordSource> passwords_;
  std::filesystem::path sshHome_;

  QLineEdit *site_;
  QPushButton *choose_;
  QLineEdit *target_;
  QCheckBox *deleteRemoved_;
  QPlainTextEdit *report_;
  QProgressBar *progress_;
  QLabel *progressText_;
  QPushButton *publish_;
  QPushButton *publishAnyway_;
  QPushButton *openCheckPanel_;
  QPushButton *cancel_;
  QPushButton *close_;

  PublishTarget runTarget_;
  bool force_ = false;
  std::string acceptHostKey_;
  std::atomic<bool> cancelled_{false};
  std::thread worker_;
};

}  // namespace vendigo
