#include "check/site_check.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "check/order_rules.h"
#include "check/page_orders.h"
#include "check/product_data_rules.h"
#include "check/resource_rules.h"
#include "core/file_reading.h"
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
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t done = 0;
  std::vector<bool> checked(files.size(), false);

  auto work = [&] {
    for (std::size_t i = next++; i < files.size() && !stop; i = next++) {
      std::string reason;
      const std::optional<std::string> bytes = ReadFileBytes(files[i], reason);
      PageResult result;
      if (bytes) {
        result = CheckOnePage(files[i], *bytes, settings);
      } else {
        CheckFinding finding;
        finding.file = files[i];
        finding.line = 0;
        finding.column = 0;
        finding.message = "cannot read the page: " + reason;
        finding.rule = "unreadable";
        result.findings.push_back(std::move(finding));
      }
      const std::lock_guard lock(mutex);
      pages[i] = std::move(result);
      checked[i] = true;
      ++done;
      changed.notify_one();
    }
  };
  const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                                                      std::max<std::size_t>(1, files.size()));
  std::vector<std::thread> workers;
  for (std::size_t i = 0; i < threads; ++i) workers.emplace_back(work);
  {
    std::unique_lock lock(mutex);
    // Told as pages are done (several at once when it is slow to return), last with all done.
    std::size_t told = static_cast<std::size_t>(-1);
    while (told != files.size()) {
      changed.wait(lock, [&] { return done != told; });
      told = done;
      if (!progress) continue;
      lock.unlock();
      const bool goOn = progress(told, files.size());
      lock.lock();
      if (!goOn) {
        stop = true;
        break;
      }
    }
  }
  for (std::thread &worker : workers) worker.join();

  SiteCheckResult result;
  result.stopped = stop;
  std::vector<OfferedItem> items;
  std::vector<std::vector<CheckFinding>> byFile(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!checked[i]) continue;
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
