#include "builders/text_option_reading.h"

#include <optional>
#include <tuple>

#include "builders/order_item_value.h"
#include "builders/price_rules.h"
#include "core/text_encoding.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::string_view kNameStart = "textadd_";

// The note after the input: "<BR><FONT SIZE="1">Maximum " max " Characters" [" ~" shown]
// "</FONT>".
struct Note {
  std::string maxLength;
  bool hasPrice = false;
  std::string_view shown;  // currency and price, after "~"
  std::size_t end = 0;
};

std::optional<Note> NoteAfter(std::string_view text, std::size_t at, std::string_view maxQuoted) {
  const std::size_t start = MatchLoose(text, at, "<BR><FONT SIZE=\"1\">Maximum ");
  if (start == kNpos) return std::nullopt;
  const std::size_t close = FindNoCase(text, "</font>", start);
  if (close == kNpos) return std::nullopt;
  Note note;
  note.end = close + 7;
  const std::string_view inside = text.substr(start, close - start);
  // The maximum as typed, which the note writes without quoting: the one QuoteToEntity wrote
  // into the attribute.
  std::size_t maxEnd = inside.find(" Characters");
  while (maxEnd != kNpos && QuoteToEntity(inside.substr(0, maxEnd)) != maxQuoted) {
    maxEnd = inside.find(" Characters", maxEnd + 1);
  }
  if (maxEnd == kNpos) {
    // The note was retyped: the attribute says what the maximum is.
    note.maxLength = UnquoteEntity(maxQuoted);
    maxEnd = FindNoCase(inside, "characters");
    maxEnd = maxEnd == kNpos ? inside.size() : maxEnd + 10;
  } else {
    note.maxLength = inside.substr(0, maxEnd);
    maxEnd += 11;
  }
  const std::size_t tilde = inside.find('~', maxEnd);
  if (tilde != kNpos) {
    note.hasPrice = true;
    note.shown = inside.substr(tilde + 1);
  }
  return note;
}

}  // namespace

std::size_t TypedTextBefore(std::string_view text, std::size_t end, std::size_t earliest,
                            std::string_view quoted) {
  std::size_t q = quoted.size();
  std::size_t t = end;
  while (q > 0) {
    if (t <= earliest) return kNpos;
    if (text[t - 1] == '"' && q >= 6 && quoted.substr(q - 6, 6) == "&quot;") {
      q -= 6;
    } else if (text[t - 1] == quoted[q - 1]) {
      --q;
    } else {
      return kNpos;
    }
    --t;
  }
  return t;
}

FragmentRead<TextOption> ReadTextOption(const ReadPlace &place) {
  const std::string_view text = place.text;
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("input") ||
      !StartsWithNoCase(tag->Value("name"), kNameStart)) {
    return FragmentRead<TextOption>::Not("no input named textadd_");
  }
  const std::optional<Note> note = NoteAfter(text, tag->end, tag->Value("maxlength"));
  if (!note) return FragmentRead<TextOption>::Not("no note after the text input");
  // ": " before the input.
  std::size_t captionEnd = SkipBlanksBack(text, place.at);
  if (captionEnd <= place.earliest || text[captionEnd - 1] != ':') {
    return FragmentRead<TextOption>::Not("no caption before the text input");
  }
  --captionEnd;

  const std::string_view rest = tag->Value("name").substr(kNameStart.size());
  // Of the ways to split the name where the caption stands before the input, the one whose
  // price the note agrees with, then whose price is a number, then with the longest caption.
  FragmentRead<TextOption> read;
  std::tuple<bool, bool, std::size_t> best{false, false, 0};
  bool found = false;
  for (std::size_t split = rest.find('_', 1); split != kNpos; split = rest.find('_', split + 1)) {
    const std::size_t start =
        TypedTextBefore(text, captionEnd, place.earliest, rest.substr(0, split));
    if (start == kNpos) continue;
    std::string price = UnquoteEntity(rest.substr(split + 1));
    if (price.empty()) continue;
    const std::optional<double> value = ConvertPrice(price);
    const bool priced = value && *value > 0;
    const bool noteAgrees = priced == note->hasPrice && (!priced || note->shown.ends_with(price));
    const std::tuple<bool, bool, std::size_t> score{noteAgrees, value.has_value(),
                                                    captionEnd - start};
    if (found && score <= best) continue;
    found = true;
    best = score;
    read.start = start;
    read.values.caption = text.substr(start, captionEnd - start);
    read.values.price = std::move(price);
  }
  if (!found) {
    return FragmentRead<TextOption>::Not("the caption before the input is not its name's");
  }
  read.values.size = UnquoteEntity(tag->Value("size"));
  read.values.maxLength = note->maxLength;
  if (note->hasPrice) {
    const std::string_view shown = note->shown;
    if (shown.ends_with(read.values.price)) {
      read.shown.Currency = shown.substr(0, shown.size() - read.values.price.size());
    } else {
      std::size_t digit = 0;
      while (digit < shown.size() && !IsAsciiDigit(shown[digit])) ++digit;
      read.shown.Currency = shown.substr(0, digit);
    }
  }
  read.end = note->end;
  return read;
}

}  // namespace vendigo
