#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"

namespace vendigo {

enum class FindingSeverity { Error, Warning };

// One field as a browser sends it.
struct SentField {
  std::string name;
  std::string value;
};

// An order a page can send to the cart: a form sent one way (a submit button, or Enter in a
// text field), or a link to the cart program. Fields are in the order a browser sends them.
struct PageOrder {
  std::string way;  // how it is sent, in words: "button \"Buy\"", "Enter in \"quantity\"", "link"
  std::string action;  // the address it goes to, as written in the page
  std::string method;  // "get" or "post"
  std::vector<SentField> fields;
};

// One thing wrong, or likely wrong, with a page, at the place in the file on disk that causes it.
struct CheckFinding {
  std::string file;        // the path as the check was given it
  int line = 0;            // 1-based; 0 for the file as a whole
  int column = 0;          // 1-based, in characters of that line; 0 with line 0
  std::size_t offset = 0;  // byte offset in the file on disk
  FindingSeverity severity = FindingSeverity::Error;
  std::string message;
  std::string rule;                // short id of the rule, such as "cart-refusal"
  std::optional<PageOrder> order;  // the order the finding is about, when it is about one
};

// "file:line:column: error: message [rule]", as compilers write it; "file: error: ..." for line 0.
std::string FormatFinding(const CheckFinding &finding);

// Checks one page given as the bytes of its file (UTF-8 or Windows-1252). path names the page in
// the findings and is where its relative addresses are looked up. Rules across pages apply
// within the page.
std::vector<CheckFinding> CheckPage(const std::string &path, std::string_view bytes,
                                    const Settings &settings);

// The pages of a site: each file named, and the .html and .htm files in each folder named and
// below, sorted.
std::vector<std::string> SitePageFiles(const std::vector<std::string> &paths);

struct SiteCheckResult {
  std::vector<CheckFinding> findings;  // by file, then by place in the file
  std::size_t pages = 0;
  std::size_t errors = 0;
  std::size_t warnings = 0;
  bool stopped = false;  // progress asked to stop; findings hold what was checked
};

// Checks files, and folders read recursively for .html and .htm, as one site: rules across
// pages (the same description at different prices) see every page. progress(done, total) is
// called from the calling thread as pages are done; returning false stops the check.
SiteCheckResult CheckSite(
    const std::vector<std::string> &paths, const Settings &settings,
    const std::function<bool(std::size_t done, std::size_t total)> &progress = {});

}  // namespace vendigo
