#include "check/site_check.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "check/order_rules.h"
#include "check/page_orders.h"
#include "check/product_data_rules.h"
#include "check/resource_rules.h"
#include "core/every_core.h"
#include "core/file_reading.h"
#include "core/staged_folder.h"
#include "html/html_document.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

struct PageResult {
  std::vector<CheckFinding> findings;
  std::vector<OfferedItem> items;
};

PageResult CheckOnePage(const std::string &path, std::string_view bytes, const Settings &settings) {
  const HtmlDocument document = HtmlDocument::Read(bytes);
  const PageOrders orders = FindPageOrders(document, settings);
  OrderCheck check = CheckOrders(path, document, orders, settings);
  AddResourceFindings(path, bytes, document, settings, check.findings);
  AddProductDataFindings(path, document, orders, check.items, settings, check.findings);
  return {std::move(check.findings), std::move(check.items)};
}

bool IsPageFile(const fs::path &path) {
  std::string extension = path.extension().string();
  for (char &c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".html" || extension == ".htm";
}

bool ByPlace(const CheckFinding &a, const CheckFinding &b) {
  return std::tie(a.offset, a.rule, a.message) < std::tie(b.offset, b.rule, b.message);
}

}  // namespace

std::vector<std::string> SitePageFiles(const std::vector<std::string> &paths) {
  std::vector<std::string> files;
  for (const std::string &path : paths) {
    std::error_code error;
    if (!fs::is_directory(path, error)) {
      files.push_back(path);
      continue;
    }
    std::vector<std::string> found;
    for (auto entry = fs::recursive_directory_iterator(
             path, fs::directory_options::skip_permission_denied, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
      std::error_code typeError;
      // The hidden folder a catalogue run fills holds no page of the site yet.
      if (entry->path().filename().string().starts_with(kStagedFolderPrefix)) {
        entry.disable_recursion_pending();
        continue;
      }
      if (entry->is_regular_file(typeError) && IsPageFile(entry->path())) {
        found.push_back(entry->path().string());
      }
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

std::string FormatFinding(const CheckFinding &finding) {
  std::string text = finding.file;
  if (finding.line > 0) {
    text += ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column);
  }
  text += finding.severity == FindingSeverity::Error ? ": error: " : ": warning: ";
  return text + finding.message + " [" + finding.rule + "]";
}

std::vector<CheckFinding> CheckPage(const std::string &path, std::string_view bytes,
                                    const Settings &settings) {
  PageResult page = CheckOnePage(path, bytes, settings);
  std::vector<CheckFinding> across = CheckSamePrices(page.items);
  page.findings.insert(page.findings.end(), across.begin(), across.end());
  std::stable_sort(page.findings.begin(), page.findings.end(), ByPlace);
  return page.findings;
}

SiteCheckResult CheckSite(
    const std::vector<std::string> &paths, const Settings &settings,
    const std::function<bool(std::size_t done, std::size_t total)> &progress) {
  const std::vector<std::string> files = SitePageFiles(paths);
  std::vector<PageResult> pages(files.size());
  const EveryCoreRun run = RunOnEveryCore(
      files.size(),
      [&](std::size_t i) {
        std::string reason;
        const std::optional<std::string> bytes = ReadFileBytes(files[i], reason);
        if (bytes) {
          pages[i] = CheckOnePage(files[i], *bytes, settings);
          return;
        }
        CheckFinding finding;
        finding.file = files[i];
        finding.line = 0;
        finding.column = 0;
        finding.message = "cannot read the page: " + reason;
        finding.rule = "unreadable";
        pages[i].findings.push_back(std::move(finding));
      },
      progress);

  SiteCheckResult result;
  result.stopped = run.stopped;
  std::vector<OfferedItem> items;
  std::vector<std::vector<CheckFinding>> byFile(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!run.ran[i]) continue;
    ++result.pages;
    byFile[i] = std::move(pages[i].findings);
    items.insert(items.end(), std::make_move_iterator(pages[i].items.begin()),
                 std::make_move_iterator(pages[i].items.end()));
  }
  std::map<std::string, std::size_t> fileIndex;
  for (std::size_t i = 0; i < files.size(); ++i) fileIndex.emplace(files[i], i);
  for (CheckFinding &finding : CheckSamePrices(items)) {
    byFile[fileIndex.at(finding.file)].push_back(std::move(finding));
  }
  for (std::vector<CheckFinding> &findings : byFile) {
    std::stable_sort(findings.begin(), findings.end(), ByPlace);
    for (CheckFinding &finding : findings) {
      (finding.severity == FindingSeverity::Error ? result.errors : result.warnings) += 1;
      result.findings.push_back(std::move(finding));
    }
  }
  return result;
}

}  // namespace vendigo
