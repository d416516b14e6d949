#include "cli/catalogue_command.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/cli_commands.h"
#include "cli/json_input.h"
#include "cli/page_command.h"
#include "cli/progress_bar.h"
#include "core/file_error.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"

namespace vendigo::cli {
namespace {

// The status of a program ended by Ctrl+C.
constexpr int kExitInterrupted = 130;

// One line's object: the "page" command's keys, read as that command reads them, with the
// picture and the file name taken out for the catalogue.
void ReadJsonLine(const std::string &line, CatalogueRow &row) {
  QJsonParseError parseError;
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray::fromStdString(line), &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    row.Error = QStringLiteral("malformed JSON at offset %1: %2")
                    .arg(parseError.offset)
                    .arg(parseError.errorString())
                    .toStdString();
    return;
  }
  if (!document.isObject()) {
    row.Error = "the line must hold one JSON object";
    return;
  }
  QJsonObject object = document.object();
  try {
    row.FileName = Text(object.take(QStringLiteral("File")), QStringLiteral("File"));
    row.ImagePath =
        Text(object.take(QStringLiteral("ProductImage")), QStringLiteral("ProductImage"));
    row.Page = ReadProductPageInput(object);
  } catch (const InputError &error) {
    row.Error = error.what();
  }
}

// Set by the first Ctrl+C: the run stops after the pages under way, so no temporary file is left
// in the output folder; a second one ends the program at once.
std::atomic<bool> interrupted{false};

void Interrupt(int) {
  interrupted = true;
  std::signal(SIGINT, SIG_DFL);
}

bool IsJsonLines(const std::filesystem::path &file) {
  std::string extension = file.extension().string();
  for (char &c : extension) c = AsciiLower(c);
  return extension == ".jsonl";
}

}  // namespace

CatalogueJsonLinesReader::CatalogueJsonLinesReader(std::unique_ptr<TextLines> text)
    : text_(std::move(text)) {}

bool CatalogueJsonLinesReader::Next(CatalogueRow &row) {
  for (std::string line; text_->Next(line);) {
    ++line_;
    line.erase(line.find_last_not_of("\r\n") + 1);
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    row = CatalogueRow{};
    row.Line = line_;
    ReadJsonLine(line, row);
    return true;
  }
  return false;
}

void CatalogueJsonLinesReader::Rewind() {
  text_->Rewind();
  line_ = 0;
}

double CatalogueJsonLinesReader::Progress() const {
  return text_->Progress();
}

std::vector<CatalogueRow> ReadCatalogueJsonLines(std::string_view bytes) {
  CatalogueJsonLinesReader reader(std::make_unique<TextLines>(bytes));
  std::vector<CatalogueRow> rows;
  for (CatalogueRow row; reader.Next(row);) rows.push_back(std::move(row));
  return rows;
}

int RunCatalogueCommand(const Settings &settings, const CatalogueArguments &arguments) {
  // The input is read a piece at a time as the rows are built, so it need not fit in memory.
  std::string reason;
  std::unique_ptr<TextLines> text = TextLines::OpenFile(arguments.inputFile, reason);
  if (!text) throw InputError("cannot read the input " + arguments.inputFile + ": " + reason);
  std::unique_ptr<CatalogueRowReader> rows;
  try {
    if (IsJsonLines(arguments.inputFile)) {
      rows = std::make_unique<CatalogueJsonLinesReader>(std::move(text));
    } else {
      rows = std::make_unique<CatalogueCsvReader>(std::move(text));
    }
  } catch (const CatalogueInputError &error) {
    throw InputError(arguments.inputFile + ": " + error.what());
  } catch (const FileError &error) {
    throw InputError(error.what());
  }
  std::string templateText;
  try {
    templateText = ReadTemplateText(arguments.templateFile);
  } catch (const FileError &error) {
    throw InputError(std::string("cannot read the template: ") + error.what());
  }

  ProgressBar bar(stderr, !arguments.quiet && ::isatty(STDERR_FILENO));
  CatalogueReport report;
  std::signal(SIGINT, Interrupt);
  try {
    report = BuildCatalogue(
        templateText, *rows, settings, std::filesystem::path(arguments.inputFile).parent_path(),
        arguments.outputFolder, {.Replace = arguments.force},
        [&bar](std::size_t done, std::size_t total) { bar.Show(done, total); }, &interrupted);
  } catch (const FileError &error) {
    bar.Clear();
    throw InputError(error.what());
  }
  std::signal(SIGINT, SIG_DFL);
  bar.Clear();

  for (const SkippedRow &skipped : report.Skipped) {
    std::fprintf(stderr, "line %zu: %s\n", skipped.Line, skipped.Reason.c_str());
  }
  if (!report.IndexError.empty()) std::fprintf(stderr, "%s\n", report.IndexError.c_str());
  if (report.ExistingKept) std::fputs("vendigo-html: --force replaces files that exist\n", stderr);
  if (!arguments.quiet) {
    std::fprintf(stderr, "%zu of %zu rows written as pages to %s%s\n", report.PagesWritten,
                 report.Rows, arguments.outputFolder.c_str(),
                 report.IndexError.empty() ? ", with index.html" : "");
  }
  if (report.Cancelled) {
    std::fputs("vendigo-html: interrupted; the rows not reached have no page\n", stderr);
    return kExitInterrupted;
  }
  return report.Skipped.empty() && report.IndexError.empty() ? 0 : 1;
}

}  // namespace vendigo::cli
