#include "core/profile_file.h"

#include <algorithm>
#include <system_error>

#include "core/file_error.h"
#include "core/file_replacement.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsBlankLine(std::string_view text) {
  return TrimBlanks(text).empty();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// The name in a "[name]" header line, blanks around it removed; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view text = TrimBlanks(line);
  if (!text.starts_with('[')) return std::nullopt;
  const std::size_t close = text.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(text.substr(1, close - 1));
}

// The key of a "key=value" line, blanks around it removed; nullopt for a line without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(0, equals));
}

bool IsWrappedInQuotes(std::string_view text) {
  return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
         text.back() == text.front();
}

// The text written for value. Two mends keep the file sound: a CR or LF would end the line and
// let the rest of the value stand as lines (even keys and sections) of their own, so each
// becomes a blank; and a value that reading would change (blanks at its ends are trimmed, one
// pair of matching quotes around it is dropped) is wrapped in double quotes, which reading removes
// again, so the value reads back exactly as written.
std::string StoredValue(std::string_view value) {
  std::string stored(value);
  for (char &c : stored) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (!stored.empty() &&
      (IsBlank(stored.front()) || IsBlank(stored.back()) || IsWrappedInQuotes(stored))) {
    stored = '"' + stored + '"';
  }
  return stored;
}

// The value of a "key=value" line as reading gives it.
std::string ValueOfLine(std::string_view line) {
  std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
  if (IsWrappedInQuotes(value)) value = value.substr(1, value.size() - 2);
  return Utf8Prefix(value, ProfileFile::kMaxValueLength);
}

ProfileFile ParseFileBytes(std::string_view bytes) {
  // Valid UTF-8 goes to Parse as it is, so that a byte order mark is seen and kept; anything else
  // is Windows-1252, which has no byte order mark.
  if (IsValidUtf8(bytes)) return ProfileFile::Parse(bytes);
  return ProfileFile::Parse(Windows1252ToUtf8(bytes));
}

}  // namespace

ProfileFile ProfileFile::Parse(std::string_view utf8Text) {
  ProfileFile profile;
  if (utf8Text.starts_with(kUtf8Bom)) {
    profile.hasBom_ = true;
    utf8Text.remove_prefix(kUtf8Bom.size());
  }
  profile.lines_ = SplitLines(utf8Text);
  if (!profile.lines_.empty() && !profile.lines_.front().end.empty()) {
    profile.lineEnd_ = profile.lines_.front().end;
  }
  return profile;
}

std::optional<ProfileFile::Range> ProfileFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].text);
    if (!name || !EqualsIgnoringCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end].text)) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> ProfileFile::FindKey(const Range &range, std::string_view key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto name = KeyName(lines_[i].text);
    if (name && EqualsIgnoringCase(*name, key)) return i;
  }
  return std::nullopt;
}

bool ProfileFile::HasSection(std::string_view section) const {
  return FindSection(section).has_value();
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto index = FindKey(*range, key);
  if (!index) return std::nullopt;
  return ValueOfLine(lines_[*index].text);
}

std::vector<std::pair<std::string, std::string>> ProfileFile::Entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  const auto range = FindSection(section);
  if (!range) return entries;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    const auto name = KeyName(lines_[i].text);
    if (!name) continue;
    const bool seen = std::any_of(entries.begin(), entries.end(), [&](const auto &entry) {
      return EqualsIgnoringCase(entry.first, *name);
    });
    if (!seen) entries.emplace_back(std::string(*name), ValueOfLine(lines_[i].text));
  }
  return entries;
}

void ProfileFile::AppendLine(std::string text) {
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = lineEnd_;
  lines_.push_back({std::move(text), lineEnd_});
}

void ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::string stored = StoredValue(value);
  const auto range = FindSection(section);
  if (!range) {
    AppendLine("[" + std::string(section) + "]");
    AppendLine(std::string(key) + "=" + stored);
    return;
  }
  if (const auto index = FindKey(*range, key)) {
    // Keep the key as the file spells it, and the blanks after "=", so the line keeps its look.
    std::string &text = lines_[*index].text;
    std::size_t valueStart = text.find('=') + 1;
    while (valueStart < text.size() && IsBlank(text[valueStart])) ++valueStart;
    text = text.substr(0, valueStart) + stored;
    return;
  }
  std::size_t at = range->header + 1;
  for (std::size_t i = range->end; i > range->header + 1; --i) {
    if (!IsBlankLine(lines_[i - 1].text)) {
      at = i;
      break;
    }
  }
  if (at == lines_.size()) {
    AppendLine(std::string(key) + "=" + stored);
  } else {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  TextLine{std::string(key) + "=" + stored, lineEnd_});
  }
}

void ProfileFile::AddSection(std::string_view section) {
  if (!FindSection(section)) AppendLine("[" + std::string(section) + "]");
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return false;
  bool removed = false;
  for (std::size_t i = range->end; i > range->header + 1; --i) {
    const auto name = KeyName(lines_[i - 1].text);
    if (name && EqualsIgnoringCase(*name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i - 1));
      removed = true;
    }
  }
  return removed;
}

bool ProfileFile::DeleteSection(std::string_view section) {
  bool removed = false;
  while (const auto range = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    removed = true;
  }
  return removed;
}

std::string ProfileFile::Serialize() const {
  std::string text = hasBom_ ? std::string(kUtf8Bom) : std::string();
  for (const TextLine &line : lines_) text += line.text + line.end;
  return text;
}

std::optional<ProfileFile> TryLoadProfileFile(const fs::path &file) {
  std::error_code error;
  if (!fs::exists(file, error) && !error) return ProfileFile{};
  std::string reason;
  const auto bytes = ReadFileBytes(file, reason);
  if (!bytes) return std::nullopt;
  return ParseFileBytes(*bytes);
}

ProfileFile LoadProfileFile(const fs::path &file) {
  return TryLoadProfileFile(file).value_or(ProfileFile{});
}

void SaveProfileFileAtomically(const fs::path &file, const ProfileFile &profile) {
  std::error_code error;
  fs::path shown = fs::absolute(file, error);
  if (error) shown = file;
  std::string reason;
  if (!ReplaceFileContents(shown, profile.Serialize(), reason)) {
    throw FileError("Unable to write to " + shown.string());
  }
}

}  // namespace vendigo
