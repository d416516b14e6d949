#include "builders/extended_option_reading.h"

#include <optional>

#include "builders/text_option_reading.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::string_view kNameStart = "eop_";
constexpr std::size_t kGridRows = 19;

// The next "<option" or "</select" at or after from; npos.
std::size_t NextOptionOrEnd(std::string_view text, std::size_t from) {
  for (std::size_t at = text.find('<', from); at != kNpos; at = text.find('<', at + 1)) {
    const std::string_view rest = text.substr(at + 1);
    if (StartsWithNoCase(rest, "option") || StartsWithNoCase(rest, "/select")) return at;
  }
  return kNpos;
}

// The text up to the line break the builder writes after it ("\r\n", or a lone line feed where
// the page was saved so).
std::string_view WithoutLineBreak(std::string_view shown) {
  if (shown.ends_with("\r\n")) return shown.substr(0, shown.size() - 2);
  if (shown.ends_with('\n')) return shown.substr(0, shown.size() - 1);
  return shown;
}

}  // namespace

std::optional<std::pair<std::vector<WrittenOption>, std::size_t>> ReadWrittenOptions(
    std::string_view text, std::size_t selectEnd) {
  std::vector<WrittenOption> options;
  std::size_t at = NextOptionOrEnd(text, selectEnd);
  if (at == kNpos) return std::nullopt;
  // Between the select and its first option only the line break.
  for (std::size_t i = selectEnd; i < at; ++i) {
    if (!IsHtmlSpace(text[i])) return std::nullopt;
  }
  while (at != kNpos) {
    const std::optional<RawTag> tag = ReadRawTag(text, at);
    if (!tag) return std::nullopt;
    if (tag->endTag) {
      if (!tag->Is("select")) return std::nullopt;
      return std::pair(std::move(options), tag->end);
    }
    if (!tag->Is("option")) return std::nullopt;
    const std::size_t next = NextOptionOrEnd(text, tag->end);
    if (next == kNpos) return std::nullopt;
    options.push_back({tag->Value("value"), tag->Attribute("selected") != nullptr,
                       WithoutLineBreak(text.substr(tag->end, next - tag->end))});
    at = next;
  }
  return std::nullopt;
}

FragmentRead<ExtendedOption> ReadExtendedOption(const ReadPlace &place) {
  const std::string_view text = place.text;
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("select") ||
      !StartsWithNoCase(tag->Value("name"), kNameStart)) {
    return FragmentRead<ExtendedOption>::Not("no select named eop_");
  }
  std::size_t nameEnd = SkipBlanksBack(text, place.at);
  if (nameEnd <= place.earliest || text[nameEnd - 1] != ':') {
    return FragmentRead<ExtendedOption>::Not("no name before the list");
  }
  --nameEnd;
  const std::string_view quotedName = tag->Value("name").substr(kNameStart.size());
  const std::size_t start = TypedTextBefore(text, nameEnd, place.earliest, quotedName);
  if (start == kNpos)
    return FragmentRead<ExtendedOption>::Not("the name before the list is not its own");
  const auto options = ReadWrittenOptions(text, tag->end);
  if (!options) return FragmentRead<ExtendedOption>::Not("the list holds more than its options");

  FragmentRead<ExtendedOption> read;
  read.values.name = text.substr(start, nameEnd - start);
  if (!options->first.empty() && !options->first.front().selected) read.values.rows.emplace_back();
  for (const WrittenOption &option : options->first) {
    // Description^Price^Weight; a description never starts with the caret that follows it.
    const std::size_t first = option.value.find('^', 1);
    const std::size_t second = first == kNpos ? kNpos : option.value.find('^', first + 1);
    OptionRow row;
    row.Description = UnquoteEntity(option.value.substr(0, first));
    if (first != kNpos) {
      row.Price = UnquoteEntity(
          option.value.substr(first + 1, second == kNpos ? kNpos : second - first - 1));
    }
    if (second != kNpos) row.Weight = UnquoteEntity(option.value.substr(second + 1));
    row.ReadableText = option.shown;
    read.values.rows.push_back(std::move(row));
  }
  if (read.values.rows.size() > kGridRows) {
    return FragmentRead<ExtendedOption>::Not("the list has more options than the grid has rows");
  }
  read.start = start;
  read.end = options->second;
  return read;
}

}  // namespace vendigo
