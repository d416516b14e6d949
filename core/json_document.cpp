#include "core/json_document.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

namespace vendigo {
namespace {

using nlohmann::json;

constexpr std::size_t kMaxNesting = 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The text with each control character inside a string written as \u00XX, which strict JSON
// asks for; escapedAt holds where each one stood in the text, to report offsets in its terms.
std::string EscapeControlCharacters(std::string_view text, std::vector<std::size_t> &escapedAt) {
  std::string out;
  out.reserve(text.size());
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (inString && c < 0x20) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
      escapedAt.push_back(i);
      continue;
    }
    out += text[i];
    if (c == '"') {
      inString = !inString;
    } else if (inString && c == '\\' && i + 1 < text.size()) {
      out += text[++i];
    }
  }
  return out;
}

// Builds the document from nlohmann's reading events, refusing nesting past the limit, and keeps
// what a refusal needs to be told in the familiar words.
class DocumentReader {
 public:
  bool null() { return Add(nullptr); }
  bool boolean(bool value) { return Add(value); }
  bool number_integer(json::number_integer_t value) { return Add(value); }
  bool number_unsigned(json::number_unsigned_t value) { return Add(value); }
  bool number_float(json::number_float_t value, const std::string &) { return Add(value); }
  bool string(std::string &value) { return Add(std::move(value)); }
  bool binary(json::binary_t &value) { return Add(std::move(value)); }
  bool start_object(std::size_t) { return Open(json::object()); }
  bool key(std::string &name) {
    key_ = std::move(name);
    return true;
  }
  bool end_object() { return Close(); }
  bool start_array(std::size_t) { return Open(json::array()); }
  bool end_array() { return Close(); }
  bool parse_error(std::size_t at, const std::string &, const nlohmann::detail::exception &error) {
    position = at;
    message = error.what();
    numberOverflow = error.id == 406;
    return false;
  }

  bool InArray() const { return !open_.empty() && open_.back()->is_array(); }

  json document;
  bool tooDeep = false;
  std::size_t position = 0;
  std::string message;
  bool numberOverflow = false;

 private:
  // The value's place: the whole document, the next item of the open array, or the member of
  // the open object named by the last key (a later member of the same name replaces it).
  bool Add(json value) {
    Place(std::move(value));
    return true;
  }
  json *Place(json value) {
    if (open_.empty()) return &(document = std::move(value));
    json &container = *open_.back();
    if (container.is_array()) {
      container.push_back(std::move(value));
      return &container.back();
    }
    return &(container[key_] = std::move(value));
  }
  bool Open(json container) {
    tooDeep = open_.size() >= kMaxNesting;
    if (!tooDeep) open_.push_back(Place(std::move(container)));
    return !tooDeep;
  }
  bool Close() {
    open_.pop_back();
    return true;
  }

  // The containers not yet closed, outermost first. Only the innermost one grows, so the others
  // keep their places.
  std::vector<json *> open_;
  std::string key_;
};

// Where the bracket that goes past the nesting limit ends, outside strings.
std::size_t TooDeepOffset(std::string_view text) {
  std::size_t depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if ((c == '{' || c == '[') && ++depth > kMaxNesting) {
      return i + 1;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return text.size();
}

// The refusal in the familiar words, from nlohmann's message ("syntax error while parsing
// <context> - <what was found>; expected <token>") and the container it was in. The offset is
// where nlohmann stopped reading, which is where vendigo-html has always put it for a token of
// one character and may be a few bytes further for a longer one.
JsonSyntaxError Refusal(const DocumentReader &reader, std::size_t position, std::string_view text) {
  const std::string &message = reader.message;
  const auto has = [&message](std::string_view part) {
    return message.find(part) != std::string::npos;
  };
  using E = JsonSyntaxError;
  const std::size_t at = std::min(position, text.size());
  const std::size_t before = at == 0 ? 0 : at - 1;
  if (reader.numberOverflow) return E(at, "illegal number");
  if (has("missing closing quote")) return E(position, "unterminated string");
  if (has("unexpected end of input")) {
    if (!text.empty() && text.back() == '"') return E(text.size(), "unterminated string");
    if (!text.empty() && text.back() >= '0' && text.back() <= '9') {
      return E(text.size(), "invalid termination by number");
    }
    return E(text.size(), reader.InArray() ? "unterminated array" : "unterminated object");
  }
  if (has("; expected end of input")) return E(before, "garbage at the end of the document");
  if (has("; last read: '")) {  // no token could be read there
    if (has("ill-formed UTF-8")) {
      // At the first byte of the broken sequence, which a plain byte after it may have ended.
      std::size_t first = before;
      if (first > 0 && static_cast<unsigned char>(text[first]) < 0x80) --first;
      while (first > 0 && (static_cast<unsigned char>(text[first]) & 0xC0) == 0x80) --first;
      return E(first, "invalid UTF8 string");
    }
    if (has("invalid string")) return E(before, "invalid escape sequence");
    if (has("invalid number")) return E(before, "illegal number");
    if (has("parsing object")) return E(at, "unterminated object");
    if (has("parsing array")) return E(at, "missing value separator");
    return E(at, "illegal value");
  }
  if (has("parsing object separator")) return E(at, "missing name separator");
  if ((has("parsing object key") && has("unexpected '}'")) ||
      (has("parsing value") && (has("unexpected '}'") || has("unexpected ']'")))) {
    return E(at, "object is missing after a comma");
  }
  if (has("parsing value")) return E(at, "illegal value");
  if (reader.InArray()) {
    return E(at, has("unexpected '}'") ? "unterminated array" : "missing value separator");
  }
  return E(at, "unterminated object");
}

json ReadDocument(std::string_view text) {
  // A document is an object or an array.
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) throw JsonSyntaxError(text.size(), "illegal value");
  if (text[first] != '{' && text[first] != '[') throw JsonSyntaxError(first + 1, "illegal value");

  std::vector<std::size_t> escapedAt;
  const std::string strict = EscapeControlCharacters(text, escapedAt);
  DocumentReader reader;
  if (json::sax_parse(strict, &reader)) return std::move(reader.document);
  if (reader.tooDeep) throw JsonSyntaxError(TooDeepOffset(text), "too deeply nested document");
  // The position in the text: each escape written before it made the strict text 5 bytes longer.
  std::size_t escapesBefore = 0;
  while (escapesBefore < escapedAt.size() &&
         escapedAt[escapesBefore] + 5 * escapesBefore + 6 <= reader.position) {
    ++escapesBefore;
  }
  throw Refusal(reader, reader.position - 5 * escapesBefore, text);
}

}  // namespace

json ReadJsonDocument(std::string_view text) {
  const std::size_t skipped = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  try {
    return ReadDocument(text.substr(skipped));
  } catch (const JsonSyntaxError &error) {
    throw JsonSyntaxError(error.offset + skipped, error.what());
  }
}

}  // namespace vendigo
