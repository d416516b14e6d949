#include "check/resource_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <system_error>

#include "check/finding_at.h"
#include "check/page_orders.h"
#include "check/page_references.h"
#include "core/text_encoding.h"
#include "html/html_document.h"

namespace vendigo {
namespace {

// The offset of the first byte that is no UTF-8; none when all of it is.
std::optional<std::size_t> FirstNonUtf8(std::string_view bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = lead < 0x80       ? 1
                               : lead >> 5 == 6  ? 2
                               : lead >> 4 == 14 ? 3
                               : lead >> 3 == 30 ? 4
                                                 : 0;
    if (length == 0 || !IsValidUtf8(bytes.substr(at, length)) || at + length > bytes.size()) {
      return at;
    }
    at += length;
  }
  return std::nullopt;
}

bool IsUtf8Label(std::string_view label) {
  static constexpr std::array kLabels = {"utf-8",         "utf8",          "unicode-1-1-utf-8",
                                         "unicode11utf8", "unicode20utf8", "x-unicode20utf8"};
  return std::find(kLabels.begin(), kLabels.end(), label) != kLabels.end();
}

// The labels browsers read as Windows-1252.
bool IsWindows1252Label(std::string_view label) {
  static constexpr std::array kLabels = {
      "ansi_x3.4-1968",  "ascii",      "cp1252",    "cp819",        "csisolatin1", "ibm819",
      "iso-8859-1",      "iso-ir-100", "iso8859-1", "iso88591",     "iso_8859-1",  "l1",
      "iso_8859-1:1987", "latin1",     "us-ascii",  "windows-1252", "x-cp1252"};
  return std::find(kLabels.begin(), kLabels.end(), label) != kLabels.end();
}

// The encoding a meta element declares, and the decoded offset of the value that says it.
struct Declaration {
  std::string label;  // lower case
  std::size_t offset = 0;
};

std::optional<Declaration> DeclaredEncoding(const HtmlDocument &document) {
  for (const HtmlNode &node : document.Nodes()) {
    if (!node.IsElement("meta") || !node.written) continue;
    if (const HtmlAttribute *charset = node.Attribute("charset")) {
      return Declaration{AsciiLowered(TrimHtmlSpace(charset->value)), charset->valueOffset};
    }
    const HtmlAttribute *content = node.Attribute("content");
    if (!content || AsciiLowered(TrimHtmlSpace(node.Value("http-equiv"))) != "content-type")
      continue;
    const std::string lower = AsciiLowered(content->value);
    const std::size_t name = lower.find("charset");
    if (name == std::string::npos) continue;
    std::size_t at = name + 7;
    while (at < lower.size() && IsHtmlSpace(lower[at])) ++at;
    if (at >= lower.size() || lower[at] != '=') continue;
    ++at;
    while (at < lower.size() && (IsHtmlSpace(lower[at]) || lower[at] == '"' || lower[at] == '\'')) {
      ++at;
    }
    const std::size_t end = lower.find_first_of(" \t\r\n\f;\"'", at);
    return Declaration{lower.substr(at, end == std::string::npos ? end : end - at),
                       content->valueOffset};
  }
  return std::nullopt;
}

class Findings {
 public:
  Findings(const std::string &path, const HtmlDocument &document,
           std::vector<CheckFinding> &findings)
      : path_(path), document_(document), findings_(findings) {}

  void Add(std::optional<std::size_t> decodedOffset, FindingSeverity severity, std::string message,
           const char *rule) {
    if (decodedOffset) {
      findings_.push_back(
          FindingAt(path_, document_, *decodedOffset, severity, rule, std::move(message)));
      return;
    }
    CheckFinding finding;
    finding.file = path_;
    finding.severity = severity;
    finding.message = std::move(message);
    finding.rule = rule;
    findings_.push_back(std::move(finding));
  }

 private:
  const std::string &path_;
  const HtmlDocument &document_;
  std::vector<CheckFinding> &findings_;
};

void CheckReferences(const std::string &path, const HtmlDocument &document,
                     const Settings &settings, Findings &findings) {
  bool based = false;
  for (const HtmlNode &node : document.Nodes()) {
    based = based || (node.IsElement("base") && node.Has("href"));
  }
  // Relative addresses are looked up only when they resolve against the page's own folder.
  const bool lookUp = !path.empty() && !based;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  for (const PageReference &reference : PageReferences(document)) {
    const std::string_view address = TrimHtmlSpace(reference.address);
    if (StartsWithNoCase(address, "file:")) {
      findings.Add(reference.offset, FindingSeverity::Error,
                   "\"" + std::string(address) +
                       "\" is a file on this computer, which visitors' browsers cannot load",
                   "file-address");
      continue;
    }
    if (!lookUp || reference.kind == ReferenceKind::Other || !IsRelativeFileAddress(address))
      continue;
    if (reference.kind == ReferenceKind::Link && IsCartAddress(address, settings)) continue;
    const std::string file = PercentDecoded(address.substr(0, address.find_first_of("?#")));
    if (file.empty()) continue;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder / file, error);
    const bool found =
        reference.kind == ReferenceKind::Link
            ? std::filesystem::exists(status)
            : std::filesystem::exists(status) && !std::filesystem::is_directory(status);
    if (found) continue;
    const std::string quoted = "\"" + std::string(address) + "\"";
    switch (reference.kind) {
      case ReferenceKind::Picture:
        findings.Add(reference.offset, FindingSeverity::Error,
                     "the picture " + quoted + " does not exist", "missing-picture");
        break;
      case ReferenceKind::Stylesheet:
        findings.Add(reference.offset, FindingSeverity::Error,
                     "the stylesheet " + quoted + " does not exist", "missing-stylesheet");
        break;
      case ReferenceKind::Script:
        findings.Add(reference.offset, FindingSeverity::Error,
                     "the script " + quoted + " does not exist", "missing-script");
        break;
      case ReferenceKind::Link:
        findings.Add(reference.offset, FindingSeverity::Warning,
                     "the link goes to " + quoted + ", which does not exist", "missing-link");
        break;
      case ReferenceKind::Other:
        break;
    }
  }
}

// Placeholders match in any letter case, as the template engine replaces them; block tags are
// found the same way, since one the engine did not resolve is left in the page whatever its case.
void CheckTemplateLeftovers(const HtmlDocument &document, Findings &findings) {
  const std::string &text = document.Text();
  const std::string lower = AsciiLowered(text);
  for (std::size_t at = lower.find("%zf_"); at != std::string::npos; at = lower.find("%zf_", at)) {
    std::size_t end = at + 4;
    while (end < lower.size() &&
           (std::isalnum(static_cast<unsigned char>(lower[end])) || lower[end] == '_')) {
      ++end;
    }
    if (end < lower.size() && lower[end] == '%') {
      findings.Add(
          at, FindingSeverity::Error,
          "the template placeholder \"" + text.substr(at, end + 1 - at) + "\" was never filled in",
          "template-leftover");
      at = end + 1;
    } else {
      at = end;
    }
  }
  for (const char *tag : {"<zf_if=", "<zf_else=", "</zf_if="}) {
    for (std::size_t at = lower.find(tag); at != std::string::npos; at = lower.find(tag, at + 1)) {
      const std::size_t close = lower.find('>', at);
      const std::size_t length = close != std::string::npos && close - at < 300
                                     ? close + 1 - at
                                     : std::string_view(tag).size();
      findings.Add(at, FindingSeverity::Error,
                   "the template tag \"" + text.substr(at, length) + "\" was never resolved",
                   "template-leftover");
    }
  }
}

void CheckEncoding(std::string_view bytes, const HtmlDocument &document, Findings &findings) {
  // A byte order mark decides the encoding before any declaration.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return;
  const std::optional<Declaration> declared = DeclaredEncoding(document);
  const std::optional<std::size_t> nonUtf8 = FirstNonUtf8(bytes);
  if (!declared) {
    // A fragment, a piece kept to go into other pages, takes the encoding of the page it goes
    // into; only a whole document has its own to declare, in its head.
    std::optional<std::size_t> where;
    for (const char *tag : {"head", "html", "body"}) {
      for (const HtmlNode &node : document.Nodes()) {
        if (!where && node.written && node.IsElement(tag)) where = node.offset;
      }
    }
    if (!where) return;
    findings.Add(where, FindingSeverity::Warning,
                 std::string("the page does not declare its encoding, so browsers guess it: add "
                             "<meta charset=\"") +
                     (nonUtf8 ? "windows-1252" : "utf-8") + "\"> to its head",
                 "encoding-undeclared");
    return;
  }
  if (IsUtf8Label(declared->label) && nonUtf8) {
    const SourcePlace bad = document.Place(Windows1252ToUtf8(bytes.substr(0, *nonUtf8)).size());
    findings.Add(declared->offset, FindingSeverity::Error,
                 "the page declares \"" + declared->label +
                     "\" but is not written in UTF-8 (line " + std::to_string(bad.line) +
                     ", column " + std::to_string(bad.column) + " is not)",
                 "encoding-mismatch");
  } else if (IsWindows1252Label(declared->label) && !nonUtf8 &&
             std::any_of(bytes.begin(), bytes.end(),
                         [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    findings.Add(declared->offset, FindingSeverity::Error,
                 "the page declares \"" + declared->label +
                     "\" but is written in UTF-8, so browsers show its accented letters wrong",
                 "encoding-mismatch");
  }
}

}  // namespace

void AddResourceFindings(const std::string &path, std::string_view bytes,
                         const HtmlDocument &document, const Settings &settings,
                         std::vector<CheckFinding> &findings) {
  const std::size_t first = findings.size();
  Findings found(path, document, findings);
  CheckReferences(path, document, settings, found);
  CheckTemplateLeftovers(document, found);
  CheckEncoding(bytes, document, found);
  std::stable_sort(
      findings.begin() + static_cast<std::ptrdiff_t>(first), findings.end(),
      [](const CheckFinding &a, const CheckFinding &b) { return a.offset < b.offset; });
}

}  // namespace vendigo
