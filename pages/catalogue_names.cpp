#include "pages/catalogue_names.h"

#include <algorithm>
#include <climits>
#include <functional>

#include "core/text_encoding.h"
#include "pages/catalogue_document.h"

namespace vendigo {
namespace {

constexpr std::size_t kMaxWordsLength = 60;

// The unaccented letters of the Latin-1 letters U+00C0 to U+00FF (lower-cased), in order; "?"
// stands for the two signs among them.
constexpr const char *kLatin1Letters[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "?", "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "?", "o", "u", "u", "u", "u", "y", "th", "y"};

// The ASCII letters a UTF-8 character at text[i] stands for ("" for none) and its length.
std::string_view LettersOf(std::string_view text, std::size_t i, std::size_t &length) {
  const auto lead = static_cast<unsigned char>(text[i]);
  length = 1;
  if (lead < 0x80) return {};
  while (i + length < text.size() &&
         (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
    ++length;
  }
  if (length != 2) return {};
  const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
  if (code >= 0xC0 && code <= 0xFF && kLatin1Letters[code - 0xC0][0] != '?') {
    return kLatin1Letters[code - 0xC0];
  }
  switch (code) {
    case 0x152:  // Œ œ
    case 0x153:
      return "oe";
    case 0x160:  // Š š
    case 0x161:
      return "s";
    case 0x17D:  // Ž ž
    case 0x17E:
      return "z";
    case 0x178:  // Ÿ
      return "y";
    default:
      return {};
  }
}

}  // namespace

std::string FileNameWords(std::string_view text) {
  std::string words;
  bool gap = false;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 1;
    const char c = AsciiLower(text[i]);
    std::string_view letters;
    if ((c >= 'a' && c <= 'z') || IsAsciiDigit(c)) {
      letters = std::string_view(&text[i], 1);
    } else {
      letters = LettersOf(text, i, length);
    }
    i += length;
    if (letters.empty()) {
      gap = !words.empty();
      continue;
    }
    if (gap) words += '-';
    gap = false;
    for (const char letter : letters) words += AsciiLower(letter);
  }
  if (words.size() > kMaxWordsLength) {
    const std::size_t cut = words.rfind('-', kMaxWordsLength);
    words.resize(cut == std::string::npos || cut == 0 ? kMaxWordsLength : cut);
  }
  return words.empty() ? "product" : words;
}

bool FileNames::Reserve(const std::string &name) {
  if (2 * (used_ + 1) > slots_.size()) {
    std::vector<std::uint64_t> old(std::max<std::size_t>(64, 2 * slots_.size()), 0);
    old.swap(slots_);
    for (const std::uint64_t hash : old) {
      if (hash == 0) continue;
      std::size_t at = hash & (slots_.size() - 1);
      while (slots_[at] != 0) at = (at + 1) & (slots_.size() - 1);
      slots_[at] = hash;
    }
  }
  std::uint64_t hash = std::hash<std::string>{}(AsciiLowered(name));
  if (hash == 0) hash = 1;
  std::size_t at = hash & (slots_.size() - 1);
  for (; slots_[at] != 0; at = (at + 1) & (slots_.size() - 1)) {
    if (slots_[at] == hash) return false;
  }
  slots_[at] = hash;
  ++used_;
  return true;
}

std::string FileNames::Unique(const std::string &stem, const std::string &extension) {
  std::string name = stem + extension;
  for (int number = 2; !Reserve(name); ++number) {
    name = stem + "-" + std::to_string(number) + extension;
  }
  return name;
}

std::string PageFileName(std::string_view given, std::string &error) {
  const std::string name(given);
  if (name.find_first_of("/\\") != std::string::npos || name.starts_with('.') ||
      name.find('\0') != std::string::npos) {
    error = "File \"" + name + "\" must be a file name without a folder, not beginning with \".\"";
    return "";
  }
  const std::string lower = AsciiLowered(name);
  std::string page = lower.ends_with(".html") || lower.ends_with(".htm") ? name : name + ".html";
  if (AsciiLowered(page) == "index.html") {
    error = "File \"" + name + "\" is the name of the index page";
    return "";
  }
  if (IsCatalogueIndexPageName(page)) {
    error = "File \"" + name + "\" is the name of a page of the index";
    return "";
  }
  if (page.size() > NAME_MAX) {
    error = FileNameTooLong(page) + ": " + std::to_string(page.size()) + " bytes, at most " +
            std::to_string(NAME_MAX);
    return "";
  }
  return page;
}

}  // namespace vendigo

namespace vendigo {

std::string FileNameTooLong(std::string_view name) {
  return "File \"" + std::string(name) + "\" is too long a name for the file system";
}

}  // namespace vendigo
