#include "cli/catalogue_command.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/cli_commands.h"
#include "cli/progress_bar.h"
#include "core/currency_code.h"
#include "core/file_error.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/catalogue_json_lines.h"
#include "pages/catalogue_search_files.h"
#include "pages/product_data.h"
#include "pages/template_package.h"

namespace vendigo::cli {
namespace {

// The status of a program ended by Ctrl+C.
constexpr int kExitInterrupted = 130;

// Set by the first Ctrl+C: the run stops after the pages under way, so no temporary file is left
// in the output folder; a second one ends the program at once.
std::atomic<bool> interrupted{false};

void Interrupt(int) {
  interrupted = true;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

int RunCatalogueCommand(const Settings &settings, const CatalogueArguments &arguments) {
  std::string siteAddress;
  if (!arguments.baseUrl.empty()) {
    std::string error;
    siteAddress = SiteAddress(arguments.baseUrl, error);
    if (siteAddress.empty()) throw InputError("--base-url: " + error);
    if (ProductCurrencyCode(settings).empty()) {
      throw InputError(std::string(kCurrencyCodeNeeded) +
                       " In the settings file: CurrencyCode=USD in the section CONFIGS.");
    }
  }
  // The input is read a piece at a time as the rows are built, so it need not fit in memory.
  std::string reason;
  std::unique_ptr<TextLines> text = TextLines::OpenFile(arguments.inputFile, reason);
  if (!text) throw InputError("cannot read the input " + arguments.inputFile + ": " + reason);
  std::unique_ptr<CatalogueRowReader> rows;
  try {
    if (IsJsonLinesFile(arguments.inputFile)) {
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
        arguments.outputFolder, {.Replace = arguments.force, .SiteAddress = siteAddress},
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
  if (!report.SearchFilesError.empty()) {
    std::fprintf(stderr, "%s\n", report.SearchFilesError.c_str());
  }
  if (report.ExistingKept) std::fputs("vendigo-html: --force replaces files that exist\n", stderr);
  if (!arguments.quiet) {
    const bool searchFiles = !siteAddress.empty() && report.SearchFilesError.empty();
    std::fprintf(stderr, "%zu of %zu rows written as pages to %s%s%s\n", report.PagesWritten,
                 report.Rows, arguments.outputFolder.c_str(),
                 report.IndexError.empty() ? ", with index.html" : "",
                 searchFiles ? ", sitemap.xml and feed.xml" : "");
    // Said once the run is over, when the product data was left out; not on a quiet run, whose
    // output scripts read.
    if (!report.SearchDataNote.empty()) {
      std::fprintf(stderr, "%s\n", report.SearchDataNote.c_str());
    }
  }
  if (report.Cancelled) {
    std::fputs("vendigo-html: interrupted; the rows not reached have no page\n", stderr);
    return kExitInterrupted;
  }
  return report.Skipped.empty() && report.IndexError.empty() && report.SearchFilesError.empty() ? 0
                                                                                                : 1;
}

}  // namespace vendigo::cli
