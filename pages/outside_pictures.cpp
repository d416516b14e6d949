#include "pages/outside_pictures.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <tuple>

#include "check/page_references.h"
#include "core/file_error.h"
#include "core/file_reading.h"
#include "core/text_encoding.h"
#include "core/whole_file.h"
#include "html/html_document.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

std::string_view WithoutQueryAndFragment(std::string_view address) {
  return address.substr(0, address.find_first_of("?#"));
}

fs::path Canonical(const fs::path &path) {
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(path, error);
  return error ? path.lexically_normal() : canonical;
}

bool IsInside(const fs::path &file, const fs::path &folder) {
  const fs::path relative = file.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

bool IsRegularFile(const fs::path &path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The address as a URL path: unreserved characters and "/" as they are, every other byte as %XX.
std::string PercentEncoded(const std::string &path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) && byte < 0x80) {
      encoded += c;
    } else if (c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

// The file a reference names on this computer when it is outside the site or a disk address of
// one inside it; nullopt for an address visitors load from the site or elsewhere. A file: address
// of another computer names no file here: an empty path.
std::optional<fs::path> OutsideFile(std::string_view address, const fs::path &pageFolder,
                                    const fs::path &site) {
  if (StartsWithNoCase(address, "file:")) {
    std::string_view rest = address.substr(5);
    if (rest.starts_with("//")) {
      rest.remove_prefix(2);
      const std::size_t slash = rest.find('/');
      const std::string_view host = rest.substr(0, slash);
      if (!host.empty() && !StartsWithNoCase(host, "localhost")) return fs::path();
      rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    return Canonical(PercentDecoded(WithoutQueryAndFragment(rest)));
  }
  if (address.starts_with("/") && !address.starts_with("//")) {
    // The site's root or the disk's: the site's when the file is there.
    const std::string path = PercentDecoded(WithoutQueryAndFragment(address));
    if (path.size() > 1 && IsRegularFile(site / path.substr(1))) return std::nullopt;
    if (!IsRegularFile(path)) return std::nullopt;
    return Canonical(path);
  }
  if (!IsRelativeFileAddress(address)) return std::nullopt;
  const std::string path = PercentDecoded(WithoutQueryAndFragment(address));
  if (path.empty()) return std::nullopt;
  fs::path file = Canonical(pageFolder / path);
  if (IsInside(file, site)) return std::nullopt;
  return file;
}

bool SameBytes(const fs::path &a, const fs::path &b) {
  std::error_code error;
  if (fs::file_size(a, error) != fs::file_size(b, error) || error) return false;
  std::string reason;
  const std::optional<std::string> first = ReadFileBytes(a, reason);
  const std::optional<std::string> second = ReadFileBytes(b, reason);
  return first && second && *first == *second;
}

// Names the copies in the images folder: a file's own name, else the first of name-2, name-3,
// ... that neither a file there nor another copy has, unless the file there has the same bytes.
class CopyNames {
 public:
  explicit CopyNames(fs::path folder) : folder_(std::move(folder)) {}

  // The copy's path, and whether it still has to be made.
  std::pair<fs::path, bool> For(const fs::path &source) {
    if (auto known = chosen_.find(source); known != chosen_.end()) return {known->second, false};
    const std::string stem = source.stem().string();
    const std::string extension = source.extension().string();
    for (int number = 1;; ++number) {
      const std::string name = number == 1 ? source.filename().string()
                                           : stem + "-" + std::to_string(number) + extension;
      if (taken_.count(name)) continue;
      const fs::path target = folder_ / name;
      std::error_code error;
      const bool exists = fs::exists(fs::symlink_status(target, error));
      if (exists && !SameBytes(source, target)) continue;
      taken_.insert(name);
      chosen_[source] = target;
      return {target, !exists};
    }
  }

 private:
  fs::path folder_;
  std::set<std::string> taken_;
  std::map<fs::path, fs::path> chosen_;
};

// The decoded text where the value of the attribute at valueOffset is written: inside its quotes,
// or up to a blank or ">" when it has none.
std::pair<std::size_t, std::size_t> ValueSpan(const std::string &text, std::size_t valueOffset) {
  if (valueOffset < text.size() && (text[valueOffset] == '"' || text[valueOffset] == '\'')) {
    const std::size_t end = text.find(text[valueOffset], valueOffset + 1);
    return {valueOffset + 1, end == std::string::npos ? text.size() : end};
  }
  std::size_t end = valueOffset;
  while (end < text.size() && !IsHtmlSpace(text[end]) && text[end] != '>') ++end;
  return {valueOffset, end};
}

// Where the address is written in the decoded text, searched from `from` on, before `to`: as it
// is, or with its "&" written "&amp;". nullopt when it is written some other way.
std::optional<std::pair<std::size_t, std::size_t>> FindWritten(const std::string &text,
                                                               std::string_view address,
                                                               std::size_t from, std::size_t to) {
  std::string escaped;
  for (const char c : address) escaped += c == '&' ? std::string("&amp;") : std::string(1, c);
  for (const std::string &written : {std::string(address), escaped}) {
    const std::size_t at = text.find(written, from);
    if (at != std::string::npos && at + written.size() <= to) {
      return std::pair(at, at + written.size());
    }
  }
  return std::nullopt;
}

}  // namespace

OutsidePicturePlan PlanOutsidePictures(const std::string &pagePath, const std::string &siteFolder,
                                       std::string_view bytes) {
  OutsidePicturePlan plan;
  const HtmlDocument document = HtmlDocument::Read(bytes);
  const fs::path pageFolder = Canonical(fs::absolute(pagePath).parent_path());
  const fs::path site = Canonical(fs::absolute(siteFolder));
  const std::string &text = document.Text();
  CopyNames names(pageFolder / "images");
  // Where the search for the next address of an attribute (srcset, style) starts.
  std::map<std::size_t, std::size_t> searchFrom;
  for (const PageReference &reference : PageReferences(document)) {
    if (reference.kind != ReferenceKind::Picture && reference.kind != ReferenceKind::Stylesheet) {
      continue;
    }
    const std::string_view address = TrimHtmlSpace(reference.address);
    const std::optional<fs::path> file = OutsideFile(address, pageFolder, site);
    if (!file) continue;
    OutsideReference outside{std::string(address), file->string(), {}};
    if (file->empty() || !IsRegularFile(*file)) {
      plan.missing.push_back(outside.address);
      plan.references.push_back(std::move(outside));
      continue;
    }
    std::size_t from = reference.offset;
    std::size_t to = reference.offset + address.size();
    if (reference.inAttribute) {
      std::tie(from, to) = ValueSpan(text, reference.offset);
      if (auto searched = searchFrom.find(reference.offset); searched != searchFrom.end()) {
        from = searched->second;
      }
    }
    // An address written with other character references than "&amp;" is left as it is.
    const auto written = FindWritten(text, address, from, to);
    if (written) {
      searchFrom[reference.offset] = written->second;
      fs::path target = *file;
      if (!IsInside(*file, site)) {
        const auto [copy, toMake] = names.For(*file);
        if (toMake) plan.copies.push_back({file->string(), copy.string()});
        target = copy;
      }
      outside.newAddress = PercentEncoded(target.lexically_relative(pageFolder).generic_string());
      plan.edits.push_back({document.Place(written->first), document.Place(written->second),
                            outside.newAddress,
                            text.substr(written->first, written->second - written->first)});
    }
    plan.references.push_back(std::move(outside));
  }
  return plan;
}

std::string ApplyPageEdits(std::string_view bytes, const std::vector<PageTextEdit> &edits) {
  std::string result;
  result.reserve(bytes.size());
  std::size_t at = 0;
  for (const PageTextEdit &edit : edits) {
    result.append(bytes.substr(at, edit.begin.offset - at));
    result += edit.text;
    at = edit.end.offset;
  }
  result.append(bytes.substr(at));
  return result;
}

void CopyPictures(const std::vector<PictureCopy> &copies) {
  for (const PictureCopy &copy : copies) {
    std::error_code error;
    fs::create_directories(fs::path(copy.to).parent_path(), error);
    if (error)
      throw FileError("Unable to make the folder " + fs::path(copy.to).parent_path().string() +
                      ": " + error.message());
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> source(std::fopen(copy.from.c_str(), "rb"),
                                                            std::fclose);
    if (!source) throw FileError("Unable to read " + copy.from);
    WriteFileWholeFrom(copy.to, source.get(), false);
  }
}

}  // namespace vendigo
