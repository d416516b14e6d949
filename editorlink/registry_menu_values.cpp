#include "editorlink/registry_menu_values.h"

#include <cstddef>

namespace vendigo {
namespace {

constexpr std::size_t kFieldsBeforePath = 5;
constexpr std::size_t kFieldsAfterPath = 4;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string WithoutQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text);
}

// Where each field of value starts and ends, commas between double quotes not splitting.
struct Span {
  std::size_t start;
  std::size_t end;
};

std::vector<Span> FieldSpans(std::string_view value) {
  std::vector<Span> spans;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i <= value.size(); ++i) {
    if (i == value.size() || (value[i] == ',' && !quoted)) {
      spans.push_back({start, i});
      start = i + 1;
    } else if (value[i] == '"') {
      quoted = !quoted;
    }
  }
  return spans;
}

// Where the path of a full command value starts and ends: after the fifth comma counted from
// the front and before the fourth counted from the back, commas between double quotes not
// counting. Everything between is the path, as written, so its commas and double quotes are its
// own. nullopt when the value has fewer fields than a full command.
std::optional<Span> PathSpan(std::string_view value) {
  std::size_t start = 0;
  bool quoted = false;
  std::size_t commas = 0;
  for (std::size_t i = 0; i < value.size() && commas < kFieldsBeforePath; ++i) {
    if (value[i] == '"') quoted = !quoted;
    if (value[i] == ',' && !quoted && ++commas == kFieldsBeforePath) start = i + 1;
  }
  if (commas < kFieldsBeforePath) return std::nullopt;
  quoted = false;
  commas = 0;
  for (std::size_t i = value.size(); i > start; --i) {
    const char c = value[i - 1];
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted && ++commas == kFieldsAfterPath) return Span{start, i - 1};
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> SplitRegistryFields(std::string_view value) {
  std::vector<std::string> fields;
  for (const Span &span : FieldSpans(value)) {
    fields.emplace_back(TrimBlanks(value.substr(span.start, span.end - span.start)));
  }
  return fields;
}

std::optional<RegisteredMenu> ParseMenuValue(std::string_view value) {
  const std::vector<std::string> fields = SplitRegistryFields(value);
  if (fields.size() < 4 || fields[3].empty()) return std::nullopt;
  return RegisteredMenu{fields[3]};
}

std::optional<RegisteredCommand> ParseCommandValue(std::string_view value) {
  std::vector<std::string> fields = SplitRegistryFields(value);
  if (const std::optional<Span> path = PathSpan(value)) {
    // The path is written unquoted, so it may hold commas and double quotes: take the fields
    // around it from the front and the back, and the path straight from the value.
    std::vector<std::string> around = SplitRegistryFields(value.substr(0, path->start));
    around.pop_back();  // the empty text after the comma before the path
    around.emplace_back(TrimBlanks(value.substr(path->start, path->end - path->start)));
    std::vector<std::string> after = SplitRegistryFields(value.substr(path->end + 1));
    around.insert(around.end(), after.begin(), after.end());
    fields = std::move(around);
  }
  if (fields.size() < 6 || fields[3].empty() || fields[4].empty() || fields[5].empty()) {
    return std::nullopt;
  }
  RegisteredCommand command{fields[3], fields[4], fields[5], {}};
  if (fields.size() >= 9) command.statusTip = WithoutQuotes(fields[8]);
  return command;
}

std::string TitleWithoutAccelerator(std::string_view title) {
  std::string text;
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (title[i] == '&' && i + 1 < title.size()) ++i;
    text += title[i];
  }
  return text;
}

}  // namespace vendigo
