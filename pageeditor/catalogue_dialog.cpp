#include "pageeditor/catalogue_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <filesystem>

#include "core/currency_code.h"
#include "core/file_error.h"
#include "core/profile_file.h"
#include "core/settings.h"
#include "dialogs/dialog_parts.h"
#include "editorlink/editor_store_location.h"
#include "pageeditor/editor_program_folders.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/catalogue_json_lines.h"
#include "pages/product_data.h"
#include "pages/template_package.h"

namespace vendigo {
namespace {

// The user's last choices, in the editor's folder under the XDG config folder.
QSettings Choices() {
  return QSettings(QDir(EditorConfigFolder()).filePath("vendigo-pageeditor.conf"),
                   QSettings::IniFormat);
}

QString Count(std::size_t n, const QString &one, const QString &many) {
  return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

// What the run did, in words, for the summary.
QString Summary(const CatalogueReport &report, const QString &output, bool searchFilesAsked) {
  QString text = Count(report.PagesWritten, "page", "pages") + " written to " + output;
  const bool searchFiles = searchFilesAsked && report.SearchFilesError.empty();
  text += report.IndexError.empty() ? ", with index.html" : "";
  text += searchFiles ? ", sitemap.xml and feed.xml." : ".";
  if (report.Cancelled) text = "Cancelled. " + text;
  if (!report.IndexError.empty()) text += "\n" + QString::fromStdString(report.IndexError);
  for (const std::string &note : {report.SearchFilesError, report.SearchDataNote}) {
    if (!note.empty()) text += "\n" + QString::fromStdString(note);
  }
  if (!report.Skipped.empty()) {
    text += "\n" + Count(report.Skipped.size(), "row", "rows") + " skipped:";
    for (const SkippedRow &skipped : report.Skipped) {
      text += QStringLiteral("\nline %1: %2")
                  .arg(skipped.Line)
                  .arg(QString::fromStdString(skipped.Reason));
    }
  }
  return text;
}

}  // namespace

CatalogueDialog::CatalogueDialog(QWidget *parent) : QDialog(parent) {
  setObjectName("CatalogueDialog");
  setWindowTitle("Build Catalogue");
  auto *form = new QFormLayout;
  spreadsheet_ = PathRow(
      form, "Spreadsheet (CSV or JSON Lines):", "SpreadsheetEdit",
      [](QWidget *w, const QString &at) {
        return QFileDialog::getOpenFileName(
            w, "Spreadsheet", at,
            "Spreadsheets (*.csv *.jsonl);;CSV (*.csv);;JSON Lines (*.jsonl);;All files (*)");
      });
  template_ = PathRow(form, "Template:", "TemplateEdit", [](QWidget *w, const QString &at) {
    return QFileDialog::getOpenFileName(w, "Template", at, "Templates (*.zft)");
  });
  output_ = PathRow(form, "Output folder:", "OutputEdit", [](QWidget *w, const QString &at) {
    return QFileDialog::getExistingDirectory(w, "Output folder", at);
  });
  siteAddress_ = new QLineEdit;
  siteAddress_->setObjectName("SiteAddressEdit");
  siteAddress_->setPlaceholderText("https://shop.example/");
  siteAddress_->setToolTip(
      "The address the pages are published under: the pages' product data for search engines "
      "gets full addresses, and sitemap.xml and feed.xml are written for search engines and "
      "shopping sites.");
  form->addRow("Site address:", siteAddress_);
  replace_ = new QCheckBox("Replace pages that exist");
  replace_->setObjectName("ReplaceCheck");
  form->addRow(QString(), replace_);
  summary_ = new QPlainTextEdit;
  summary_->setObjectName("SummaryText");
  summary_->setReadOnly(true);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  build_ = buttons->addButton("Build", QDialogButtonBox::ActionRole);
  build_->setObjectName("BuildButton");
  buttons->button(QDialogButtonBox::Close)->setObjectName("CloseButton");
  connect(build_, &QPushButton::clicked, this, &CatalogueDialog::BuildClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(summary_);
  layout->addWidget(buttons);
  // Enter in an edit builds; a Browse... button opens its chooser only when it has the focus.
  build_->setDefault(true);
  resize(640, 360);

  QSettings choices = Choices();
  QString shipped;
  for (const std::filesystem::path &folder : ProgramFoldersOfEditor().templates) {
    const QString candidate =
        QDir(QString::fromStdString(folder.string())).filePath("single_product.zft");
    if (QFileInfo::exists(candidate)) {
      shipped = candidate;
      break;
    }
  }
  spreadsheet_->setText(choices.value("catalogue/spreadsheet").toString());
  template_->setText(
      choices.value("catalogue/template", QFileInfo::exists(shipped) ? shipped : QString())
          .toString());
  output_->setText(choices.value("catalogue/output").toString());
  siteAddress_->setText(choices.value("catalogue/siteAddress").toString());
  replace_->setChecked(choices.value("catalogue/replace", false).toBool());
}

CatalogueDialog::~CatalogueDialog() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void CatalogueDialog::Start(QWidget *parent, std::function<void(const QString &)> openIndex) {
  auto *dialog = new CatalogueDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &CatalogueDialog::IndexWritten, parent, openIndex);
  dialog->open();
}

void CatalogueDialog::BuildClick() {
  const QString spreadsheet = spreadsheet_->text();
  const QString templateFile = template_->text();
  const QString output = output_->text();
  if (spreadsheet.isEmpty() || templateFile.isEmpty() || output.isEmpty()) {
    summary_->setPlainText("Choose the spreadsheet, the template and the output folder.");
    return;
  }
  const Settings settings = SettingsOfEditor();
  std::string siteAddress;
  if (const QString typed = siteAddress_->text().trimmed(); !typed.isEmpty()) {
    std::string error;
    siteAddress = SiteAddress(typed.toStdString(), error);
    if (siteAddress.empty()) {
      summary_->setPlainText(QString::fromStdString(error));
      return;
    }
    if (ProductCurrencyCode(settings).empty()) {
      summary_->setPlainText(kCurrencyCodeNeeded);
      return;
    }
  }
  QSettings choices = Choices();
  choices.setValue("catalogue/siteAddress", siteAddress_->text().trimmed());
  choices.setValue("catalogue/spreadsheet", spreadsheet);
  choices.setValue("catalogue/template", templateFile);
  choices.setValue("catalogue/output", output);
  choices.setValue("catalogue/replace", replace_->isChecked());

  auto *progress = new QProgressDialog("Building the catalogue...", "Cancel", 0, 0, this);
  progress->setObjectName("CatalogueProgress");
  progress->setWindowModality(Qt::WindowModal);
  progress->setMinimumDuration(0);
  progress->setAutoClose(false);
  progress->setAutoReset(false);
  connect(progress, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
  progress->show();
  build_->setEnabled(false);
  summary_->clear();
  cancel_ = false;

  const CatalogueOptions options{.Replace = replace_->isChecked(), .SiteAddress = siteAddress};
  worker_ = std::thread([this, progress, settings, options, spreadsheet = spreadsheet.toStdString(),
                         templateFile = templateFile.toStdString(), output] {
    QString summary;
    QString index;
    int shownPercent = -1;
    // Told from the build's threads one at a time; the dialog hears of each new percent.
    const auto tell = [progress, &shownPercent](std::size_t done, std::size_t total) {
      const int percent = total ? static_cast<int>(100 * done / total) : 100;
      if (percent == shownPercent) return;
      shownPercent = percent;
      QMetaObject::invokeMethod(
          progress,
          [progress, percent] {
            progress->setMaximum(100);
            progress->setValue(percent);
          },
          Qt::QueuedConnection);
    };
    try {
      std::string reason;
      std::unique_ptr<TextLines> text = TextLines::OpenFile(spreadsheet, reason);
      if (!text) throw FileError("Cannot read the spreadsheet " + spreadsheet + ": " + reason);
      std::unique_ptr<CatalogueRowReader> rows;
      try {
        if (IsJsonLinesFile(spreadsheet)) {
          rows = std::make_unique<CatalogueJsonLinesReader>(std::move(text));
        } else {
          rows = std::make_unique<CatalogueCsvReader>(std::move(text));
        }
      } catch (const CatalogueInputError &error) {
        throw FileError(spreadsheet + ": " + error.what());
      }
      const CatalogueReport report =
          BuildCatalogue(ReadTemplateText(templateFile), *rows, settings,
                         std::filesystem::path(spreadsheet).parent_path(), output.toStdString(),
                         options, tell, &cancel_);
      summary = Summary(report, output, !options.SiteAddress.empty());
      index = QDir(output).filePath(kCatalogueIndexFile);
      if (!QFileInfo::exists(index)) index.clear();
    } catch (const FileError &error) {
      summary = QString::fromStdString(error.what());
    }
    QMetaObject::invokeMethod(
        this, [this, summary, index] { Finished(summary, index); }, Qt::QueuedConnection);
  });
}

void CatalogueDialog::Finished(const QString &summary, const QString &index) {
  worker_.join();
  if (auto *progress = findChild<QProgressDialog *>("CatalogueProgress")) progress->deleteLater();
  build_->setEnabled(true);
  summary_->setPlainText(summary);
  if (!index.isEmpty()) emit IndexWritten(index);
}

}  // namespace vendigo
