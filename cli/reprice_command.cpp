#include "cli/reprice_command.h"

#include <unistd.h>

#include <cstdio>

#include "cli/progress_bar.h"
#include "core/file_reading.h"
#include "fragments/fragment_commands.h"
#include "fragments/reprice.h"

namespace vendigo::cli {
namespace {

std::string Count(std::size_t count, const char *one, const char *many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

PriceList ReadPrices(const std::string &file) {
  std::string reason;
  const std::optional<std::string> bytes = ReadFileBytes(file, reason);
  if (!bytes) throw InputError("cannot read the prices " + file + ": " + reason);
  try {
    return ReadPriceList(*bytes);
  } catch (const PriceListError &error) {
    throw InputError(file + ": " + error.what());
  }
}

}  // namespace

int RunRepriceCommand(const Settings &settings, const RepriceArguments &arguments) {
  const PriceList prices = ReadPrices(arguments.pricesFile);
  ProgressBar bar(stderr, !arguments.quiet && ::isatty(STDERR_FILENO), "pages");
  SiteRepriceOptions options;
  options.write = !arguments.dryRun;
  const SiteReprice result = RepriceSite(arguments.paths, prices, settings, options,
                                         [&bar](std::size_t done, std::size_t total) {
                                           bar.Show(done, total);
                                           return true;
                                         });
  bar.Clear();

  std::string out;
  for (const SitePage &page : result.pages) {
    for (const PriceChange &change : page.reprice.changes) out += FormatPriceChange(change) + "\n";
  }
  for (const PriceRow &row : result.unmatched) {
    out += arguments.pricesFile + ":" + std::to_string(row.line) + ": " + row.description +
           ": matched nothing\n";
  }
  for (const SitePage &page : result.pages) {
    for (const HandCheck &check : page.reprice.handChecks) out += FormatHandCheck(check) + "\n";
  }
  std::size_t handChecks = 0;
  for (const SitePage &page : result.pages) handChecks += page.reprice.handChecks.size();
  out += Count(result.changes, "change", "changes") + " in " +
         Count(result.changedPages, "page", "pages") + " of " +
         std::to_string(result.pages.size()) + ", " +
         Count(result.unmatched.size(), "description", "descriptions") + " matched nothing, " +
         Count(handChecks, "place", "places") + " to check by hand" +
         (arguments.dryRun ? "; dry run: nothing was written" : "") + "\n";

  std::string errors;
  for (const SitePage &page : result.pages) {
    if (!page.error.empty()) errors += "vendigo-html: " + page.file + ": " + page.error + "\n";
  }
  if (result.failedPages > 0) {
    errors += "vendigo-html: " + Count(result.failedPages, "page was", "pages were") +
              " not repriced; the others were\n";
  }
  std::fputs(errors.c_str(), stderr);
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
    std::fputs("cannot write to standard output\n", stderr);
    return 1;
  }
  return result.failedPages > 0 ? 1 : 0;
}

}  // namespace vendigo::cli
