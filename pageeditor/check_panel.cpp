#include "pageeditor/check_panel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

#include "pageeditor/editor_document.h"
#include "pageeditor/editor_program_folders.h"
#include "pageeditor/editor_prompts.h"
#include "pageeditor/page_editor_window.h"

namespace vendigo {

struct CheckPanel::SiteRun {
  std::atomic<bool> cancel{false};
  std::atomic<std::size_t> total{0};
};

namespace {

enum Column { kSeverityColumn, kFileColumn, kPlaceColumn, kMessageColumn, kRuleColumn };
constexpr int kFileRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kColumnRole = Qt::UserRole + 2;

QString Count(std::size_t n, const QString &one, const QString &many) {
  return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

QString Tally(const std::vector<CheckFinding> &findings) {
  std::size_t errors = 0;
  for (const CheckFinding &finding : findings) {
    if (finding.severity == FindingSeverity::Error) ++errors;
  }
  if (findings.empty()) return QStringLiteral("no findings.");
  return Count(errors, "error", "errors") + ", " +
         Count(findings.size() - errors, "warning", "warnings") + ".";
}

QString FromPath(const std::string &path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

CheckPanel::CheckPanel(PageEditorWindow &window, EditorPrompts &prompts)
    : QDockWidget(QStringLiteral("Check"), &window),
      window_(window),
      prompts_(prompts),
      summary_(new QLabel),
      refresh_(new QPushButton(QStringLiteral("&Refresh"))),
      list_(new QTreeWidget) {
  setObjectName("CheckPanel");
  summary_->setObjectName("CheckSummary");
  summary_->setWordWrap(true);
  summary_->setTextFormat(Qt::PlainText);
  refresh_->setObjectName("CheckRefresh");
  list_->setObjectName("CheckFindings");
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAlternatingRowColors(true);
  list_->setHeaderLabels({"Severity", "File", "Place", "Message", "Rule"});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(kMessageColumn, QHeaderView::Stretch);

  auto *top = new QHBoxLayout;
  top->addWidget(summary_, 1);
  top->addWidget(refresh_);
  auto *content = new QWidget;
  auto *layout = new QVBoxLayout(content);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(list_);
  setWidget(content);
  window.addDockWidget(Qt::BottomDockWidgetArea, this);
  hide();

  connect(refresh_, &QPushButton::clicked, this, &CheckPanel::Refresh);
  // Double click and Enter alike.
  connect(list_, &QTreeWidget::itemActivated, this, &CheckPanel::Activate);
  connect(&pageWatcher_, &QFutureWatcher<PageOutcome>::finished, this, &CheckPanel::PageFinished);
  connect(&siteWatcher_, &QFutureWatcher<SiteOutcome>::finished, this, &CheckPanel::SiteFinished);
}

CheckPanel::~CheckPanel() {
  if (siteRun_) siteRun_->cancel = true;
  siteWatcher_.waitForFinished();
  pageWatcher_.waitForFinished();
}

void CheckPanel::CheckDocument(EditorDocument *document) {
  if (!document) return;
  if (siteRun_) siteRun_->cancel = true;
  siteFolder_.clear();
  document_ = document;
  documentName_ = document->Title();
  show();
  raise();
  summary_->setText("Checking " + documentName_ + "...");
  // An unsaved document is checked without a path: its folder is unknown.
  const std::string path = QFile::encodeName(document->Path()).toStdString();
  const Settings settings = SettingsOfEditor();
  pageWatcher_.setFuture(QtConcurrent::run([path, settings, bytes = document->SavedBytesLater()] {
    PageOutcome outcome;
    try {
      const QByteArray text = bytes();
      outcome.findings = CheckPage(path, std::string_view(text.constData(), text.size()), settings);
    } catch (const std::exception &error) {
      outcome.failure = error.what();
    }
    return outcome;
  }));
}

void CheckPanel::PageFinished() {
  if (!siteFolder_.isEmpty()) return;  // a site check came after it
  const PageOutcome outcome = pageWatcher_.result();
  if (!outcome.failure.empty()) {
    const QString text =
        "Could not check " + documentName_ + ": " + QString::fromStdString(outcome.failure);
    summary_->setText(text);
    prompts_.ShowError(text);
    return;
  }
  QString summary = documentName_ + ": " + Tally(outcome.findings);
  if (document_ && document_->Path().isEmpty()) {
    summary +=
        " It is not saved, so its folder is unknown and the files it names were not "
        "looked for.";
  }
  ShowFindings(outcome.findings, summary);
}

void CheckPanel::CheckFolder(const QString &folder) {
  if (folder.isEmpty() || siteWatcher_.isRunning()) return;
  siteFolder_ = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  document_ = nullptr;
  show();
  raise();
  summary_->setText("Checking " + siteFolder_ + "...");
  refresh_->setEnabled(false);

  progress_ = new QProgressDialog("Checking the pages...", "Cancel", 0, 0, this);
  progress_->setObjectName("CheckSiteProgress");
  progress_->setWindowTitle("Check Site");
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(0);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  auto run = std::make_shared<SiteRun>();
  siteRun_ = run;
  connect(progress_, &QProgressDialog::canceled, this, [run] { run->cancel = true; });
  progress_->show();

  const Settings settings = SettingsOfEditor();
  // The dialog lives until the check has finished (SiteFinished), so the calls queued for it
  // find it.
  QProgressDialog *progress = progress_;
  siteWatcher_.setFuture(QtConcurrent::run([run, progress, settings,
                                            folder = QFile::encodeName(siteFolder_).toStdString()] {
    SiteOutcome outcome;
    try {
      outcome.result = CheckSite({folder}, settings, [&](std::size_t done, std::size_t total) {
        run->total = total;
        QMetaObject::invokeMethod(
            progress,
            [progress, done, total] {
              progress->setMaximum(static_cast<int>(total));
              progress->setValue(static_cast<int>(done));
              progress->setLabelText(
                  QStringLiteral("Checked %1 of %2").arg(done).arg(Count(total, "page", "pages")));
            },
            Qt::QueuedConnection);
        return !run->cancel;
      });
    } catch (const std::exception &error) {
      outcome.failure = error.what();
    }
    outcome.total = run->total;
    return outcome;
  }));
}

void CheckPanel::SiteFinished() {
  if (progress_) progress_->deleteLater();
  refresh_->setEnabled(true);
  if (siteFolder_.isEmpty()) return;  // a page check came after it
  const SiteOutcome outcome = siteWatcher_.result();
  if (!outcome.failure.empty()) {
    const QString text =
        "Could not check " + siteFolder_ + ": " + QString::fromStdString(outcome.failure);
    summary_->setText(text);
    prompts_.ShowError(text);
    return;
  }
  const SiteCheckResult &result = outcome.result;
  QString summary;
  if (result.stopped) {
    summary = QStringLiteral("Stopped after %1 of %2 in %3: ")
                  .arg(result.pages)
                  .arg(Count(outcome.total, "page", "pages"), siteFolder_);
  } else if (result.pages == 0) {
    summary = "No pages (.html, .htm) in " + siteFolder_ + ".";
  } else {
    summary = "Checked " + Count(result.pages, "page", "pages") + " in " + siteFolder_ + ": ";
  }
  if (result.pages || result.stopped) summary += Tally(result.findings);
  ShowFindings(result.findings, summary);
}

void CheckPanel::ShowFindings(const std::vector<CheckFinding> &findings, const QString &summary) {
  summary_->setText(summary);
  list_->clear();
  list_->setColumnHidden(kFileColumn, siteFolder_.isEmpty());
  const QDir site(siteFolder_);
  QList<QTreeWidgetItem *> items;
  for (const CheckFinding &finding : findings) {
    auto *item = new QTreeWidgetItem;
    const bool error = finding.severity == FindingSeverity::Error;
    item->setIcon(kSeverityColumn, style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                               : QStyle::SP_MessageBoxWarning));
    item->setText(kSeverityColumn, error ? "error" : "warning");
    const QString file = FromPath(finding.file);
    if (!siteFolder_.isEmpty()) item->setText(kFileColumn, site.relativeFilePath(file));
    if (finding.line > 0) {
      item->setText(kPlaceColumn, QStringLiteral("%1:%2").arg(finding.line).arg(finding.column));
    }
    item->setText(kMessageColumn, QString::fromStdString(finding.message));
    item->setToolTip(kMessageColumn, item->text(kMessageColumn));
    item->setText(kRuleColumn, QString::fromStdString(finding.rule));
    item->setData(kSeverityColumn, kFileRole, file);
    item->setData(kSeverityColumn, kLineRole, finding.line);
    item->setData(kSeverityColumn, kColumnRole, finding.column);
    items.append(item);
  }
  list_->addTopLevelItems(items);
  if (!items.isEmpty()) list_->setCurrentItem(items.first());
}

void CheckPanel::Refresh() {
  if (!siteFolder_.isEmpty()) {
    CheckFolder(siteFolder_);
  } else if (document_) {
    CheckDocument(document_);
  } else {
    CheckDocument(window_.ActiveDocument());
  }
}

void CheckPanel::DocumentSaved(EditorDocument *document) {
  if (!isHidden() && siteFolder_.isEmpty() && document == document_) CheckDocument(document);
}

void CheckPanel::Activate(QTreeWidgetItem *item) {
  EditorDocument *document = nullptr;
  if (siteFolder_.isEmpty()) {
    document = document_;
    if (!document) {
      prompts_.ShowError(documentName_ + " is closed; check the page again.");
      return;
    }
    window_.ShowDocument(document);
  } else {
    const QString file = item->data(kSeverityColumn, kFileRole).toString();
    QString error;
    document = window_.OpenDocument(file, &error);
    if (!document) {
      prompts_.ShowError(QStringLiteral("Could not open %1: %2").arg(file, error));
      return;
    }
  }
  const int line = item->data(kSeverityColumn, kLineRole).toInt();
  document->ShowPlace(std::max(line, 1), item->data(kSeverityColumn, kColumnRole).toInt());
}

}  // namespace vendigo
