#include "cli/check_command.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdio>

#include "check/site_check.h"
#include "cli/progress_bar.h"

namespace vendigo::cli {
namespace {

std::string Count(std::size_t count, const char *one, const char *many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

nlohmann::json FindingJson(const CheckFinding &finding) {
  nlohmann::json json = {
      {"file", finding.file},
      {"line", finding.line},
      {"column", finding.column},
      {"offset", finding.offset},
      {"severity", finding.severity == FindingSeverity::Error ? "error" : "warning"},
      {"message", finding.message},
      {"rule", finding.rule},
  };
  if (finding.order) {
    nlohmann::json fields = nlohmann::json::array();
    for (const SentField &field : finding.order->fields) {
      fields.push_back({{"name", field.name}, {"value", field.value}});
    }
    json["order"] = {{"way", finding.order->way},
                     {"action", finding.order->action},
                     {"method", finding.order->method},
                     {"fields", fields}};
  }
  return json;
}

}  // namespace

int RunCheckCommand(const Settings &settings, const CheckArguments &arguments) {
  ProgressBar bar(stderr, !arguments.quiet && ::isatty(STDERR_FILENO), "pages");
  const SiteCheckResult result =
      CheckSite(arguments.paths, settings, [&bar](std::size_t done, std::size_t total) {
        bar.Show(done, total);
        return true;
      });
  bar.Clear();
  std::string out;
  if (arguments.format == "json") {
    nlohmann::json findings = nlohmann::json::array();
    for (const CheckFinding &finding : result.findings) findings.push_back(FindingJson(finding));
    const nlohmann::json document = {{"findings", findings},
                                     {"pages", result.pages},
                                     {"errors", result.errors},
                                     {"warnings", result.warnings}};
    // Text that is not UTF-8 cannot reach here: pages are decoded, so replacing is only a guard.
    out = document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  } else {
    for (const CheckFinding &finding : result.findings) out += FormatFinding(finding) + "\n";
    out += Count(result.errors, "error", "errors") + ", " +
           Count(result.warnings, "warning", "warnings") + " in " +
           Count(result.pages, "page", "pages") + "\n";
  }
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
    std::fputs("cannot write to standard output\n", stderr);
    return 1;
  }
  return result.errors > 0 ? 1 : 0;
}

}  // namespace vendigo::cli
