#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// The words of a text for a file name: lower-case ASCII letters and digits, words joined by "-"
// ("Blue Mug, 0.5 l" gives "blue-mug-0-5-l"). Accented Latin letters lose their accents
// ("Crème brûlée" gives "creme-brulee"); other characters only separate words. At most 60
// characters, cut between words; "product" when no word is left.
std::string FileNameWords(std::string_view text);

// Hands out file names that differ from each other and from the names reserved, compared
// without regard to letter case (a shop's web server may not tell them apart). A name is kept as
// a 64-bit hash of its lower-case form, 16 bytes or less a name, so the names of a million pages
// take 16 MB rather than a hundred; two names with the same hash (for a million names, a chance
// of about 1 in 30 million) count as one.
class FileNames {
 public:
  // Takes name as it is; false when it is taken already.
  bool Reserve(const std::string &name);
  // stem + extension, or stem + "-2" + extension, "-3", ...: the first that is free; taken.
  std::string Unique(const std::string &stem, const std::string &extension);

 private:
  // Open addressing: a slot holds a hash or 0, at most half of them are used.
  std::vector<std::uint64_t> slots_;
  std::size_t used_ = 0;
};

// The page file name a row gives (its File cell): ".html" is added unless the name ends in
// ".html" or ".htm". Empty with error set when the name is not a plain file name in the
// output folder, is the name of a page of the index, or is longer than a file name may be
// (NAME_MAX bytes).
std::string PageFileName(std::string_view given, std::string &error);

// The reason for a page whose file name the file system refuses as too long.
std::string FileNameTooLong(std::string_view name);

}  // namespace vendigo
