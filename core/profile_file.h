#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/file_reading.h"
#include "core/text_encoding.h"

namespace vendigo {

// A Windows-style private profile (INI) file held in memory: "[section]" header lines, each
// followed by "key=value" lines.
//
// Reading: section and key names match without regard to ASCII letter case; the first matching
// section and, in it, the first matching key win. A value is the text after the first "=" with
// blanks (space, tab) at both ends removed; a value wrapped in a matching pair of double or single
// quotes loses that pair; at most kMaxValueLength characters are read. Lines may end in CR LF, LF
// or CR.
//
// Writing changes only the lines it must: every other line, with its own line end, is kept as it
// was, so a user's comments, layout and extra sections survive a save.
class ProfileFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  // Parses UTF-8 text. A leading byte order mark is kept for Serialize.
  static ProfileFile Parse(std::string_view utf8Text);

  bool HasSection(std::string_view section) const;
  // nullopt when the section or the key is missing; "" for a key with an empty value.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Every key of the section in file order, each with its value as Read gives it; a key that
  // appears again later is listed once. Empty when the section is missing.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

  // Replaces the key's value in its line; adds the key after the last non-blank line of its
  // section when missing, and the section at the end of the file when that is missing.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  // Adds an empty section at the end of the file when there is none of that name.
  void AddSection(std::string_view section);
  // Removes the key from the first matching section (every line of it, so Read then gives
  // nullopt). False when there was nothing to remove.
  bool DeleteKey(std::string_view section, std::string_view key);
  // Removes every section of that name with all its lines. False when there was none.
  bool DeleteSection(std::string_view section);

  std::string Serialize() const;

 private:
  struct Range {
    std::size_t header;  // index of the header line
    std::size_t end;     // one past the section's last line
  };

  std::optional<Range> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Range &range, std::string_view key) const;
  void AppendLine(std::string text);

  bool hasBom_ = false;
  std::string lineEnd_ = "\n";  // used for new lines: the first line end of the parsed text
  std::vector<TextLine> lines_;
};

// The profile in file; an empty profile when the file does not exist or cannot be read. Text
// that is not valid UTF-8 is read as Windows-1252.
ProfileFile LoadProfileFile(const std::filesystem::path &file);
// Like LoadProfileFile, but nullopt when the file exists and cannot be read, so that a caller
// about to write it back does not replace contents it never saw.
std::optional<ProfileFile> TryLoadProfileFile(const std::filesystem::path &file);

// Writes profile as UTF-8 to a new file beside file and renames it into place, so file is either
// the old one or the whole new one. When file is a symbolic link, the file it points to is
// replaced. Throws FileError("Unable to write to <absolute path of file>") on failure.
void SaveProfileFileAtomically(const std::filesystem::path &file, const ProfileFile &profile);

}  // namespace vendigo
