#include "pageeditor/publish_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

#include "core/file_error.h"
#include "core/message_interface.h"
#include "core/program_folders.h"
#include "pageeditor/editor_program_folders.h"
#include "pageeditor/editor_prompts.h"
#include "pageeditor/keyring_password_source.h"
#include "publish/publish_target_store.h"

namespace vendigo {
namespace {

std::string Count(std::size_t count, const char *one, const char *many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Size(std::uint64_t bytes) {
  return QLocale::c().formattedDataSize(static_cast<qint64>(bytes)).toStdString();
}

std::filesystem::path PathOf(const QString &folder) {
  return QFile::encodeName(folder).toStdString();
}

std::string PlanText(const PublishPlan &plan) {
  std::string text = "To send: " + Count(plan.uploads.size(), "file", "files") + ", " +
                     Size(plan.uploadBytes) + "\n";
  for (const PublishFile &file : plan.uploads) text += "  " + file.path + "\n";
  text += "To remove from the server: " + Count(plan.deletions.size(), "file", "files") + "\n";
  for (const std::string &path : plan.deletions) text += "  " + path + "\n";
  if (!plan.kept.empty()) {
    text += "Kept on the server though no longer in the folder: " +
            Count(plan.kept.size(), "file", "files") + "\n";
    for (const std::string &path : plan.kept) text += "  " + path + "\n";
  }
  return text + "Unchanged: " + Count(plan.unchanged, "file", "files");
}

}  // namespace

PublishDialog::PublishDialog(const QString &siteFolder, MessageInterface &messages,
                             EditorPrompts &prompts,
                             std::function<void(const QString &)> openCheckPanel, QWidget *parent)
    : QDialog(parent),
      messages_(messages),
      prompts_(prompts),
      showCheckPanel_(std::move(openCheckPanel)),
      passwords_(std::make_unique<KeyringPasswordSource>(
          this,
          [this](const PublishTarget &target, bool refusedBefore) -> std::optional<std::string> {
            const std::optional<QString> answer = prompts_.AskPassword(
                QString::fromStdString(target.user + "@" + target.host), refusedBefore);
            if (!answer) return std::nullopt;
            return answer->toStdString();
          })),
      site_(new QLineEdit(siteFolder, this)),
      choose_(new QPushButton("C&hoose...", this)),
      target_(new QLineEdit(this)),
      deleteRemoved_(
          new QCheckBox("Also &remove files from the server that are no longer in the folder")),
      report_(new QPlainTextEdit(this)),
      progress_(new QProgressBar(this)),
      progressText_(new QLabel(this)),
      publish_(new QPushButton("&Publish", this)),
      publishAnyway_(new QPushButton("Publish &Anyway", this)),
      openCheckPanel_(new QPushButton("Open &Check Panel", this)),
      cancel_(new QPushButton("Cancel", this)),
      close_(new QPushButton("Close", this)) {
  setObjectName("PublishDialog");
  setWindowTitle("Publish Site");
  site_->setObjectName("SiteFolder");
  choose_->setObjectName("ChooseSite");
  target_->setObjectName("Target");
  target_->setPlaceholderText("sftp://user@host/path, ftp://... or ftps://...");
  deleteRemoved_->setObjectName("DeleteRemoved");
  report_->setObjectName("Report");
  report_->setReadOnly(true);
  progress_->setObjectName("Progress");
  progressText_->setObjectName("ProgressText");
  publish_->setObjectName("PublishBut");
  publish_->setDefault(true);
  publishAnyway_->setObjectName("PublishAnywayBut");
  openCheckPanel_->setObjectName("OpenCheckPanelBut");
  cancel_->setObjectName("CancelBut");
  close_->setObjectName("CloseBut");

  auto *siteRow = new QHBoxLayout;
  siteRow->addWidget(site_);
  siteRow->addWidget(choose_);
  auto *form = new QFormLayout;
  // A row of a layout gets no buddy for its label's shortcut letter.
  form->addRow("Site folder:", siteRow);
  form->addRow("&Target:", target_);
  form->addRow(deleteRemoved_);
  auto *buttons = new QHBoxLayout;
  for (QPushButton *button : {openCheckPanel_, publishAnyway_}) buttons->addWidget(button);
  buttons->addStretch();
  for (QPushButton *button : {publish_, cancel_, close_}) buttons->addWidget(button);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(report_);
  layout->addWidget(progress_);
  layout->addWidget(progressText_);
  layout->addLayout(buttons);
  resize(640, 480);

  connect(choose_, &QPushButton::clicked, this, &PublishDialog::ChooseClick);
  connect(site_, &QLineEdit::editingFinished, this, &PublishDialog::SiteChanged);
  connect(publish_, &QPushButton::clicked, this, &PublishDialog::PublishClick);
  connect(publishAnyway_, &QPushButton::clicked, this, &PublishDialog::PublishAnywayClick);
  connect(openCheckPanel_, &QPushButton::clicked, this, &PublishDialog::OpenCheckPanelClick);
  connect(cancel_, &QPushButton::clicked, this, [this] {
    cancelled_ = true;
    cancel_->setEnabled(false);
  });
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  SiteChanged();
  SetRunning(false);
  if (target_->text().isEmpty()) target_->setFocus();
}

PublishDialog::~PublishDialog() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

void PublishDialog::reject() {
  // Escape or closing the window while files go cancels first; the worker ends soon after.
  if (IsRunning()) {
    cancelled_ = true;
    cancel_->setEnabled(false);
    return;
  }
  QDialog::reject();
}

void PublishDialog::ChooseClick() {
  const QString folder = prompts_.AskSiteFolder(site_->text());
  if (folder.isEmpty()) return;
  site_->setText(folder);
  SiteChanged();
}

void PublishDialog::SiteChanged() {
  const std::optional<std::string> url =
      LoadPublishTargetUrl(PublishTargetsFile(ProcessXdgEnvironment()), PathOf(site_->text()));
  target_->setText(QString::fromStdString(url.value_or("")));
  force_ = false;
  publishAnyway_->hide();
  openCheckPanel_->hide();
}

void PublishDialog::PublishClick() {
  force_ = false;
  Start(Step::Plan);
}

void PublishDialog::PublishAnywayClick() {
  force_ = true;
  Start(Step::Plan);
}

void PublishDialog::OpenCheckPanelClick() {
  accept();
  showCheckPanel_(site_->text());
}

void PublishDialog::Start(Step step) {
  std::string reason;
  const std::optional<PublishTarget> target =
      ParsePublishTarget(target_->text().trimmed().toStdString(), reason);
  if (!target) {
    messages_.ShowError(target_->text().trimmed().isEmpty()
                            ? "Give the target the site is published to, such as "
                              "sftp://user@host/path."
                            : reason);
    return;
  }
  const std::filesystem::path site = PathOf(site_->text());
  runTarget_ = *target;
  try {
    SavePublishTargetUrl(PublishTargetsFile(ProcessXdgEnvironment()), site,
                         PublishTargetUrl(*target));
  } catch (const FileError &error) {
    messages_.ShowError(std::string("The target is not remembered: ") + error.what());
  }
  PublishOptions options;
  options.dryRun = step == Step::Plan;
  options.deleteRemoved = deleteRemoved_->isChecked();
  options.force = force_;
  options.acceptHostKey = acceptHostKey_;
  options.home = sshHome_;
  // As the curl program and vendigo-html do: certificates to trust for FTPS besides the system's.
  if (const char *bundle = std::getenv("CURL_CA_BUNDLE")) options.caFile = bundle;
  if (step == Step::Plan) report_->setPlainText("Checking the site and asking the server...");
  cancelled_ = false;
  SetRunning(true);
  progress_->setValue(0);
  progressText_->clear();
  worker_ =
      std::thread([this, step, site, target = *target, options, settings = SettingsOfEditor()] {
        PublishCallbacks callbacks;
        callbacks.cancel = &cancelled_;
        callbacks.progress = [this](const PublishProgress &progress) {
          QMetaObject::invokeMethod(this, [this, progress] { ShowProgress(progress); });
        };
        PublishResult result = PublishSite(site, target, settings, options, *passwords_, callbacks);
        QMetaObject::invokeMethod(this, [this, step, result = std::move(result)] {
          worker_.join();
          Ended(step, result);
        });
      });
}

void PublishDialog::ShowProgress(const PublishProgress &progress) {
  progress_->setMaximum(1000);
  progress_->setValue(progress.bytesTotal == 0
                          ? 0
                          : static_cast<int>(1000 * progress.bytesDone / progress.bytesTotal));
  std::string text = std::to_string(progress.filesDone) + " of " +
                     Count(progress.filesTotal, "file", "files") + ", " + Size(progress.bytesDone) +
                     " of " + Size(progress.bytesTotal);
  if (progress.secondsLeft >= 0) {
    text += ", about " + std::to_string(static_cast<long>(progress.secondsLeft + 0.5)) + " s left";
  }
  if (!progress.currentFile.empty()) text += ": " + progress.currentFile;
  progressText_->setText(QString::fromStdString(text));
}

void PublishDialog::Ended(Step step, const PublishResult &result) {
  SetRunning(false);
  const std::string url = PublishTargetUrl(runTarget_);
  switch (result.status) {
    case PublishStatus::Published:
      break;
    case PublishStatus::CheckErrors: {
      std::string text =
          "The check found errors in the site, so nothing was published. Mend "
          "them in the Check panel, or publish anyway.\n";
      for (const CheckFinding &finding : result.findings) {
        if (finding.severity == FindingSeverity::Error) text += FormatFinding(finding) + "\n";
      }
      report_->setPlainText(QString::fromStdString(text));
      publishAnyway_->show();
      openCheckPanel_->show();
      emit RunEnded();
      return;
    }
    case PublishStatus::UnknownHostKey:
      if (result.hostKey &&
          messages_.AskYesNo("The server " + result.hostKey->host +
                             " is not known to this computer. Its " + result.hostKey->type +
                             " key has the fingerprint\n" + result.hostKey->fingerprint +
                             "\nAccept this key and go on? Answer Yes only when it is the key "
                             "of your server.")) {
        acceptHostKey_ = result.hostKey->fingerprint;
        Start(step);
        return;
      }
      [[fallthrough]];
    default: {
      std::string text = result.message;
      if (result.filesUploaded + result.filesDeleted > 0) {
        text += "\n" + Count(result.filesUploaded, "file was", "files were") + " sent and " +
                Count(result.filesDeleted, "file", "files") +
                " removed before that; publish again to finish.";
      }
      // After a plan the report still says it is asking the server; after a publish it shows the
      // plan that was being carried out.
      if (step == Step::Plan) {
        report_->setPlainText(QString::fromStdString(text));
      } else {
        report_->appendPlainText(QString::fromStdString(text));
      }
      if (result.status == PublishStatus::Cancelled) {
        messages_.ShowMessage(text);
      } else {
        messages_.ShowError(text);
      }
      emit RunEnded();
      return;
    }
  }
  if (step == Step::Plan) {
    report_->setPlainText(QString::fromStdString(PlanText(result.plan)));
    const PublishPlan &plan = result.plan;
    if (plan.uploads.empty() && plan.deletions.empty()) {
      messages_.ShowMessage("Nothing to publish: the server has every file of the site as it is.");
    } else if (messages_.AskYesNo("Publish to " + url + ": send " +
                                  Count(plan.uploads.size(), "file", "files") + " (" +
                                  Size(plan.uploadBytes) + ") and remove " +
                                  Count(plan.deletions.size(), "file", "files") + "?")) {
      Start(Step::Publish);
      return;
    }
    emit RunEnded();
    return;
  }
  const std::string text =
      "Published to " + url + ": " + Count(result.filesUploaded, "file", "files") + " sent (" +
      Size(result.bytesUploaded) + "), " + Count(result.filesDeleted, "file", "files") +
      " removed, " + Count(result.plan.unchanged, "file", "files") + " unchanged.";
  report_->appendPlainText(QString::fromStdString(text));
  messages_.ShowMessage(text);
  emit RunEnded();
}

void PublishDialog::SetRunning(bool running) {
  for (QWidget *widget :
       std::initializer_list<QWidget *>{site_, choose_, target_, deleteRemoved_, publish_,
                                        publishAnyway_, openCheckPanel_, close_}) {
    widget->setEnabled(!running);
  }
  cancel_->setEnabled(running);
  progress_->setVisible(running);
  progressText_->setVisible(running);
}

}  // namespace vendigo
