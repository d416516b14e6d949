#include "builders/hidden_item_reading.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "builders/price_rules.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
// More carets than this in one value are all given to the description.
constexpr std::size_t kMostExtraCarets = 6;

// The comment at text[at] that holds marker, and where it ends; npos when there is none.
std::size_t WebBotComment(std::string_view text, std::size_t at, std::string_view marker) {
  if (text.substr(at, 4) != "<!--") return kNpos;
  const std::size_t close = text.find("-->", at + 4);
  if (close == kNpos) return kNpos;
  const std::string_view inside = text.substr(at + 4, close - at - 4);
  if (FindNoCase(inside, "webbot") == kNpos || FindNoCase(inside, marker) == kNpos) return kNpos;
  return close + 3;
}

std::string Joined(const std::vector<std::string_view> &parts, std::size_t from, std::size_t to) {
  if (to == from + 1) return UnquoteEntity(parts[from]);
  std::string out;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from) out += '^';
    out.append(parts[i]);
  }
  return UnquoteEntity(out);
}

// The fields with extras[i] more parts in field i than one.
OrderItem Grouped(const std::vector<std::string_view> &parts,
                  const std::array<std::size_t, 5> &sizes) {
  std::array<std::string, 5> fields;
  std::size_t at = 0;
  for (std::size_t i = 0; i < 5; ++i) {
    fields[i] = Joined(parts, at, at + sizes[i]);
    at += sizes[i];
  }
  return {std::move(fields[0]), std::move(fields[1]), std::move(fields[2]), std::move(fields[3]),
          std::move(fields[4])};
}

bool Plausible(const OrderItem &item, bool priceConverts) {
  return !item.Description.empty() && !item.Price.empty() && IsTaxableText(item.Taxable) &&
         (!priceConverts || ConvertPrice(item.Price));
}

}  // namespace

OrderItem ItemFromValue(std::string_view written) {
  const std::size_t carets = std::count(written.begin(), written.end(), '^');
  if (carets <= 4) {
    // No caret typed into a field, as nearly always: the parts are the fields, the missing empty.
    std::array<std::string_view, 5> fields{};
    for (std::size_t i = 0, at = 0; i <= carets; ++i) {
      const std::size_t caret = written.find('^', at);
      fields[i] = written.substr(at, caret == kNpos ? kNpos : caret - at);
      at = caret + 1;
    }
    return {UnquoteEntity(fields[0]), UnquoteEntity(fields[1]), UnquoteEntity(fields[2]),
            UnquoteEntity(fields[3]), UnquoteEntity(fields[4])};
  }
  std::vector<std::string_view> parts;
  parts.reserve(carets + 1);
  for (std::size_t at = 0;;) {
    const std::size_t caret = written.find('^', at);
    parts.push_back(written.substr(at, caret == kNpos ? kNpos : caret - at));
    if (caret == kNpos) break;
    at = caret + 1;
  }
  const std::size_t extra = parts.size() - 5;
  if (extra > kMostExtraCarets) {
    // Taxable is one part: the last one that can be, with the description before and the smart
    // tax code after taking the other carets.
    for (std::size_t taxable = parts.size() - 1; taxable-- > 3;) {
      const std::size_t smartTax = parts.size() - taxable - 1;
      const OrderItem item = Grouped(parts, {taxable - 2, 1, 1, 1, smartTax});
      if (Plausible(item, false)) return item;
    }
    return Grouped(parts, {1 + extra, 1, 1, 1, 1});
  }
  // Every way to share the extra parts among the fields, the description's share largest first.
  for (const bool priceConverts : {true, false}) {
    for (std::size_t d = extra + 1; d-- > 0;) {
      for (std::size_t s = extra - d + 1; s-- > 0;) {
        for (std::size_t w = extra - d - s + 1; w-- > 0;) {
          for (std::size_t t = extra - d - s - w + 1; t-- > 0;) {
            const std::size_t p = extra - d - s - w - t;
            const OrderItem item = Grouped(parts, {1 + d, 1 + p, 1 + w, 1 + t, 1 + s});
            if (Plausible(item, priceConverts)) return item;
          }
        }
      }
    }
  }
  return Grouped(parts, {1 + extra, 1, 1, 1, 1});
}

FragmentRead<OrderItem> ReadHiddenItem(const ReadPlace &place) {
  // Every way out returns read, so that it is built in the caller's place.
  FragmentRead<OrderItem> read;
  const std::string_view text = place.text;
  const std::size_t opened = WebBotComment(text, place.at, "StartSpan");
  if (opened == kNpos) {
    read.notRead = "no WebBot comment starting a span";
    return read;
  }
  const std::optional<RawTag> input = ReadRawTag(text, SkipBlanks(text, opened));
  if (!input || input->endTag || !input->Is("input") ||
      !EqualsNoCase(input->Value("name"), "pelluxadd") ||
      !EqualsNoCase(input->Value("type"), "hidden")) {
    read.notRead = "no hidden input named pelluxadd in the span";
    return read;
  }
  const std::size_t closed = WebBotComment(text, SkipBlanks(text, input->end), "EndSpan");
  if (closed == kNpos) {
    read.notRead = "the span is not closed";
    return read;
  }
  read.values = ItemFromValue(input->Value("value"));
  // What the dialog would not build from is no hidden item of its.
  if (read.values.Description.empty() || read.values.Price.empty() ||
      !IsTaxableText(read.values.Taxable)) {
    read.notRead = "the item has no description or price, or a bad Taxable";
    return read;
  }
  read.start = place.at;
  read.end = closed;
  return read;
}

}  // namespace vendigo
