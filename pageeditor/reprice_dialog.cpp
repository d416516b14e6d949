#include "pageeditor/reprice_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "core/file_reading.h"
#include "core/message_interface.h"
#include "core/text_encoding.h"
#include "dialogs/dialog_parts.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/editor_program_folders.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/source_edit.h"

namespace vendigo {
namespace {

enum Column { kFileColumn, kLineColumn, kDescriptionColumn, kOldColumn, kNewColumn, kKindColumn };

QString Count(std::size_t n, const QString &one, const QString &many) {
  return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

QString FromPath(const std::string &path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ToPath(const QString &path) {
  return QFile::encodeName(path).toStdString();
}

// A change as the ticks name it: the same change is found again in what a page holds later.
using ChangeKey = std::tuple<std::string, std::size_t, std::size_t, std::string, std::string>;

ChangeKey KeyOf(const PriceChange &change) {
  return {change.file, change.fragment, change.row, change.description, change.newPrice};
}

QString PriceCell(const std::string &price, const std::string &weight, bool weightChanges) {
  QString text = QString::fromStdString(price);
  if (weightChanges) text += " (weight " + QString::fromStdString(weight) + ")";
  return text;
}

// A fragment's bytes as the editor holds them: the characters of the file's encoding.
QString DocumentCharacters(const std::string &bytes, bool windows1252) {
  return QString::fromStdString(windows1252 ? Windows1252ToUtf8(bytes) : bytes);
}

}  // namespace

RepriceDialog::RepriceDialog(PageEditorWindow &window, MessageInterface &messages)
    : QDialog(&window), window_(window), messages_(messages) {
  setObjectName("RepriceDialog");
  setWindowTitle("Reprice Site");
  resize(900, 600);
  auto *form = new QFormLayout;
  folder_ = PathRow(form, "Site folder:", "FolderEdit", [](QWidget *w, const QString &at) {
    return QFileDialog::getExistingDirectory(w, "Site folder", at);
  });
  prices_ = PathRow(form, "Prices (CSV):", "PricesEdit", [](QWidget *w, const QString &at) {
    return QFileDialog::getOpenFileName(w, "Prices", at, "Spreadsheets (*.csv);;All files (*)");
  });
  changes_ = new QTableWidget(0, 6);
  changes_->setObjectName("ChangesTable");
  changes_->setHorizontalHeaderLabels(
      {"Page", "Line", "Description", "Old price", "New price", "Fragment"});
  changes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  changes_->setSelectionBehavior(QAbstractItemView::SelectRows);
  changes_->horizontalHeader()->setStretchLastSection(true);
  changes_->verticalHeader()->hide();
  notes_ = new QPlainTextEdit;
  notes_->setObjectName("NotesText");
  notes_->setReadOnly(true);
  notes_->setMaximumHeight(140);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  find_ = buttons->addButton("&Find Changes", QDialogButtonBox::ActionRole);
  find_->setObjectName("FindButton");
  find_->setDefault(true);
  apply_ = buttons->addButton("&Apply", QDialogButtonBox::ApplyRole);
  apply_->setObjectName("ApplyButton");
  apply_->setEnabled(false);
  buttons->button(QDialogButtonBox::Close)->setObjectName("CloseButton");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(find_, &QPushButton::clicked, this, &RepriceDialog::FindClick);
  connect(apply_, &QPushButton::clicked, this, &RepriceDialog::ApplyClick);
  connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, &RepriceDialog::Finished);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(changes_, 1);
  layout->addWidget(notes_);
  layout->addWidget(buttons);
  if (EditorDocument *active = window.ActiveDocument(); active && !active->Path().isEmpty()) {
    folder_->setText(QFileInfo(active->Path()).absolutePath());
  }
}

RepriceDialog::~RepriceDialog() {
  if (cancel_) *cancel_ = true;
  watcher_.waitForFinished();
}

void RepriceDialog::Start(PageEditorWindow &window, MessageInterface &messages) {
  auto *dialog = new RepriceDialog(window, messages);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->show();
}

void RepriceDialog::FindClick() {
  if (watcher_.isRunning()) return;
  const QString folder = QDir::cleanPath(QFileInfo(folder_->text().trimmed()).absoluteFilePath());
  if (folder_->text().trimmed().isEmpty() || !QFileInfo(folder).isDir()) {
    messages_.ShowError("Choose the folder of the site to reprice.");
    return;
  }
  std::string reason;
  const std::optional<std::string> bytes = ReadFileBytes(ToPath(prices_->text().trimmed()), reason);
  if (!bytes) {
    messages_.ShowError("Could not read the prices " + prices_->text().trimmed().toStdString() +
                        ": " + reason);
    return;
  }
  try {
    priceList_ = ReadPriceList(*bytes);
  } catch (const PriceListError &error) {
    messages_.ShowError("Could not use the prices " + prices_->text().trimmed().toStdString() +
                        ": " + error.what());
    return;
  }
  settings_ = SettingsOfEditor();
  folder_->setText(folder);

  // Pages open in the editor are repriced as they stand there; their bytes are made off the
  // window thread.
  std::map<std::string, std::function<QByteArray()>> open;
  for (EditorDocument *document : window_.Documents()) {
    if (!document->Path().isEmpty()) open[ToPath(document->Path())] = document->SavedBytesLater();
  }
  RunOnWorker(Job::Find, "Finding the changes...",
              [open = std::move(open), prices = priceList_, settings = settings_,
               path = ToPath(folder)](const Progress &progress) {
                SiteRepriceOptions options;
                options.write = false;
                for (const auto &[file, bytes] : open) {
                  options.givenBytes[file] = bytes().toStdString();
                }
                return RepriceSite({path}, prices, settings, options, progress);
              });
}

void RepriceDialog::RunOnWorker(Job job, const QString &label,
                                std::function<SiteReprice(const Progress &progress)> work) {
  find_->setEnabled(false);
  apply_->setEnabled(false);
  progress_ = new QProgressDialog(label, "Cancel", 0, 0, this);
  progress_->setObjectName("RepriceProgress");
  progress_->setWindowTitle("Reprice Site");
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(0);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  auto cancel = std::make_shared<std::atomic<bool>>(false);
  cancel_ = cancel;
  connect(progress_, &QProgressDialog::canceled, this, [cancel] { *cancel = true; });
  progress_->show();
  // The progress dialog lives until the work has finished, so the calls queued for it find it.
  QProgressDialog *progress = progress_;
  watcher_.setFuture(QtConcurrent::run([job, cancel, progress, work = std::move(work)] {
    Outcome outcome;
    outcome.job = job;
    try {
      outcome.result = work([&](std::size_t done, std::size_t total) {
        QMetaObject::invokeMethod(
            progress,
            [progress, done, total] {
              progress->setMaximum(static_cast<int>(total));
              progress->setValue(static_cast<int>(done));
              progress->setLabelText(
                  QStringLiteral("%1 of %2 done").arg(done).arg(Count(total, "page", "pages")));
            },
            Qt::QueuedConnection);
        return !*cancel;
      });
    } catch (const std::exception &error) {
      outcome.failure = error.what();
    }
    return outcome;
  }));
}

void RepriceDialog::Finished() {
  if (progress_) progress_->deleteLater();
  find_->setEnabled(true);
  Outcome outcome = watcher_.result();
  if (!outcome.failure.empty()) {
    messages_.ShowError("Could not reprice " + folder_->text().toStdString() + ": " +
                        outcome.failure);
    return;
  }
  if (outcome.job == Job::Apply) {
    Applied(outcome.result);
    return;
  }
  found_ = std::move(outcome.result);
  ShowChanges();
}

void RepriceDialog::ShowChanges() {
  const QDir site(folder_->text());
  changes_->setRowCount(0);
  QStringList notes;
  notes << (found_.stopped ? "Cancelled: " : "") + Count(found_.changes, "change", "changes") +
               QStringLiteral(" in %1 of %2.")
                   .arg(found_.changedPages)
                   .arg(Count(found_.pages.size(), "page", "pages"));
  for (const SitePage &page : found_.pages) {
    const QString file = site.relativeFilePath(FromPath(page.file));
    if (!page.error.empty()) notes << file + ": " + QString::fromStdString(page.error);
    for (const PriceChange &change : page.reprice.changes) {
      const int row = changes_->rowCount();
      changes_->insertRow(row);
      const bool weight = change.newWeight != change.oldWeight;
      auto *tick = new QTableWidgetItem(file);
      tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
      tick->setCheckState(Qt::Checked);
      changes_->setItem(row, kFileColumn, tick);
      changes_->setItem(row, kLineColumn, new QTableWidgetItem(QString::number(change.line)));
      changes_->setItem(row, kDescriptionColumn,
                        new QTableWidgetItem(QString::fromStdString(change.description)));
      changes_->setItem(row, kOldColumn,
                        new QTableWidgetItem(PriceCell(change.oldPrice, change.oldWeight, weight)));
      changes_->setItem(row, kNewColumn,
                        new QTableWidgetItem(PriceCell(change.newPrice, change.newWeight, weight)));
      changes_->setItem(row, kKindColumn,
                        new QTableWidgetItem(QString::fromStdString(change.kindName)));
    }
  }
  for (const PriceRow &row : found_.unmatched) {
    notes << QStringLiteral("Matched nothing: %1 (line %2)")
                 .arg(QString::fromStdString(row.description))
                 .arg(row.line);
  }
  for (const SitePage &page : found_.pages) {
    for (HandCheck check : page.reprice.handChecks) {
      check.file = ToPath(site.relativeFilePath(FromPath(check.file)));
      notes << QString::fromStdString(FormatHandCheck(check));
    }
  }
  notes_->setPlainText(notes.join('\n'));
  changes_->resizeColumnsToContents();
  apply_->setEnabled(found_.changes > 0);
}

void RepriceDialog::ApplyClick() {
  if (watcher_.isRunning()) return;
  auto ticked = std::make_shared<std::set<ChangeKey>>();
  std::size_t row = 0;
  for (const SitePage &page : found_.pages) {
    for (const PriceChange &change : page.reprice.changes) {
      if (changes_->item(static_cast<int>(row++), kFileColumn)->checkState() == Qt::Checked) {
        ticked->insert(KeyOf(change));
      }
    }
  }
  std::set<std::string> files;
  for (const ChangeKey &key : *ticked) files.insert(std::get<0>(key));
  const AcceptChange accept = [ticked](const PriceChange &change) {
    return ticked->count(KeyOf(change)) > 0;
  };

  // Documents open in the editor are changed there, at once; the other pages on disk, off the
  // window thread.
  ticked_ = ticked->size();
  madeInEditor_ = 0;
  pagesInEditor_ = 0;
  problems_.clear();
  std::vector<std::string> closed;
  for (const std::string &file : files) {
    EditorDocument *document = nullptr;
    for (EditorDocument *open : window_.Documents()) {
      if (!open->Path().isEmpty() && ToPath(open->Path()) == file) document = open;
    }
    if (!document) {
      closed.push_back(file);
      continue;
    }
    const std::string bytes = document->SavedBytesLater()().toStdString();
    const PageReprice page = RepricePage(file, bytes, priceList_, settings_, accept);
    QList<TextReplacement> replacements;
    for (const FragmentReplacement &replacement : page.replacements) {
      replacements.push_back({replacement.start.line, replacement.start.column,
                              replacement.end.line, replacement.end.column,
                              DocumentCharacters(replacement.oldBytes, page.windows1252),
                              DocumentCharacters(replacement.newBytes, page.windows1252)});
    }
    if (replacements.isEmpty()) continue;
    if (!document->Replace(replacements)) {
      problems_ << FromPath(file) + ": the page was edited since; find the changes again";
      continue;
    }
    madeInEditor_ += page.changes.size();
    ++pagesInEditor_;
  }
  found_ = {};
  changes_->setRowCount(0);
  notes_->clear();
  if (closed.empty()) {
    Applied({});
    return;
  }
  RunOnWorker(
      Job::Apply, "Writing the pages...",
      [closed, prices = priceList_, settings = settings_, accept](const Progress &progress) {
        SiteRepriceOptions options;
        options.accept = accept;
        return RepriceSite(closed, prices, settings, options, progress);
      });
}

void RepriceDialog::Applied(const SiteReprice &onDisk) {
  std::size_t made = madeInEditor_;
  std::size_t pagesOnDisk = 0;
  for (const SitePage &page : onDisk.pages) {
    if (!page.error.empty()) {
      problems_ << FromPath(page.file) + ": " + QString::fromStdString(page.error);
      continue;
    }
    made += page.reprice.changes.size();
    pagesOnDisk += page.written ? 1 : 0;
  }
  std::string text =
      QStringLiteral("Made %1: %2 open in the editor (not saved yet), %3 on disk.")
          .arg(Count(made, "change", "changes"), Count(pagesInEditor_, "page", "pages"),
               Count(pagesOnDisk, "page", "pages"))
          .toStdString();
  if (made < ticked_) {
    text += "\n" + std::to_string(ticked_ - made) + " of the ticked changes were not made.";
  }
  for (const QString &problem : problems_) text += "\n" + problem.toStdString();
  if (problems_.isEmpty()) {
    messages_.ShowMessage(text);
  } else {
    messages_.ShowError(text);
  }
}

}  // namespace vendigo
