#include "builders/quick_link_reading.h"

#include <optional>

#include "builders/price_rules.h"
#include "builders/url_encode.h"
#include "core/text_encoding.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::string_view kItemQuery = "?pelluxadd=";
constexpr std::string_view kStatusStart = "self.status='";
constexpr std::string_view kStatusEnd = "';  return true";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "&#N;" at text[at] that URLEnCode wrote for a character Windows-1252 lacks: that character,
// and where the reference ends.
std::optional<std::pair<std::string, std::size_t>> CharacterReference(std::string_view text,
                                                                      std::size_t at) {
  if (text.substr(at, 2) != "&#") return std::nullopt;
  std::size_t end = at + 2;
  char32_t point = 0;
  while (end < text.size() && IsAsciiDigit(text[end]) && end - at < 10) {
    point = point * 10 + static_cast<char32_t>(text[end] - '0');
    ++end;
  }
  if (end == at + 2 || end >= text.size() || text[end] != ';') return std::nullopt;
  if (point < 0x80 || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return std::nullopt;
  std::string character;
  AppendUtf8(character, point);
  // Only the reference URLEnCode writes: the same number without leading zeros.
  if (URLEnCode(character) != URLEnCode(text.substr(at, end + 1 - at))) return std::nullopt;
  return std::pair(character, end + 1);
}

// The text before end ends with literal (ASCII letters in any case, blanks before it skipped);
// end moves to its start. False leaves end as it was.
bool EndsWithBack(std::string_view text, std::size_t &end, std::size_t earliest,
                  std::string_view literal) {
  const std::size_t at = SkipBlanksBack(text, end);
  if (at < earliest + literal.size() || !EndsWithNoCase(text.substr(0, at), literal)) return false;
  end = at - literal.size();
  return true;
}

struct ProductInfo {
  std::size_t start = 0;
  std::string description;
  std::string_view currency;
};

// The product info that ends at end: "<b>" description "</b> -- <b><font color="#FF0000">"
// currency price "</font></b> ", its description the link's (encodedDescription as in the
// address).
std::optional<ProductInfo> ProductInfoBefore(std::string_view text, std::size_t end,
                                             std::size_t earliest, std::string_view description,
                                             std::string_view encodedDescription,
                                             std::string_view price) {
  // The dialog writes no product info for a price that does not convert.
  const std::optional<double> value = ConvertPrice(price);
  if (!value) return std::nullopt;
  std::size_t at = end;
  if (!EndsWithBack(text, at, earliest, "</b>") || !EndsWithBack(text, at, earliest, "</font>")) {
    return std::nullopt;
  }
  const std::size_t shownEnd = at;
  const std::size_t fontStart = text.rfind('<', at == 0 ? 0 : at - 1);
  if (fontStart == kNpos || fontStart < earliest) return std::nullopt;
  const std::optional<RawTag> font = ReadRawTag(text, fontStart);
  if (!font || font->endTag || !font->Is("font") || font->end > shownEnd) return std::nullopt;
  const std::string_view shown = text.substr(font->end, shownEnd - font->end);
  at = fontStart;
  if (!EndsWithBack(text, at, earliest, "<b>") || !EndsWithBack(text, at, earliest, "--") ||
      !EndsWithBack(text, at, earliest, "</b>")) {
    return std::nullopt;
  }
  ProductInfo info;
  const std::size_t descriptionEnd = at;
  if (descriptionEnd >= earliest + description.size() + 3 &&
      text.substr(descriptionEnd - description.size(), description.size()) == description &&
      EqualsNoCase(text.substr(descriptionEnd - description.size() - 3, 3), "<b>")) {
    info.start = descriptionEnd - description.size() - 3;
    info.description = description;
  } else {
    // A description the address cannot tell apart from another (a reference typed as such):
    // the bold text whose encoding is the address's, the nearest first.
    constexpr int kMostBoldTags = 64;
    std::size_t open = descriptionEnd;
    bool found = false;
    for (int tries = 0; tries < kMostBoldTags && !found && open > earliest; ++tries) {
      open = text.substr(0, open).rfind('<');
      if (open == kNpos || open < earliest) break;
      if (!EqualsNoCase(text.substr(open, 3), "<b>")) continue;
      const std::string_view written = text.substr(open + 3, descriptionEnd - open - 3);
      found = URLEnCode(written) == encodedDescription;
      if (found) {
        info.start = open;
        info.description = written;
      }
    }
    if (!found) return std::nullopt;
  }
  const std::string formatted = FormatPrice(*value);
  if (shown.ends_with(formatted)) {
    info.currency = shown.substr(0, shown.size() - formatted.size());
  } else {
    // A price retyped by hand: the sign is what stands before its first digit.
    std::size_t digit = 0;
    while (digit < shown.size() && !IsAsciiDigit(shown[digit])) ++digit;
    info.currency = shown.substr(0, digit);
  }
  return info;
}

// The status text as the script string holds it, read back.
std::string StatusFromScript(std::string_view script) {
  const std::string unquoted = UnquoteEntity(script);
  std::string status;
  for (std::size_t i = 0; i < unquoted.size(); ++i) {
    const char c = unquoted[i];
    if (c == '\\' && i + 1 < unquoted.size()) {
      const char next = unquoted[++i];
      status += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    } else {
      status += c;
    }
  }
  return status;
}

}  // namespace

std::string URLDeCode(std::string_view encoded) {
  std::string text;
  text.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '+') {
      text += ' ';
    } else if (c == '%' && i + 2 < encoded.size() && HexValue(encoded[i + 1]) >= 0 &&
               HexValue(encoded[i + 2]) >= 0) {
      const char byte = static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
      if (static_cast<unsigned char>(byte) < 0x80) {
        text += byte;
      } else {
        text += Windows1252ToUtf8(std::string_view(&byte, 1));
      }
      i += 2;
    } else {
      // Written as it is: ASCII, or a character typed into the address by hand.
      text += c;
    }
  }
  if (text.find("&#") == kNpos) return text;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const auto reference = CharacterReference(text, i)) {
      out += reference->first;
      i = reference->second;
    } else {
      out += text[i++];
    }
  }
  return out;
}

FragmentRead<QuickLink> ReadQuickLink(const ReadPlace &place) {
  const std::string_view text = place.text;
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("a")) return FragmentRead<QuickLink>::Not("no link");
  const std::string_view address = tag->Value("href");
  const std::size_t query = address.find(kItemQuery);
  // The query names the field the cart reads; the address before it is the cart's, whatever
  // the settings say.
  if (query == kNpos) {
    return FragmentRead<QuickLink>::Not("the link puts no item into the cart");
  }
  FragmentRead<QuickLink> read;
  QuickLink &link = read.values;
  // The five fields, "^" between them (URLEnCode writes a typed "^" as %5E).
  std::array<std::string_view, 5> encoded{};
  std::string_view fields = address.substr(query + kItemQuery.size());
  for (std::size_t i = 0; i < 5; ++i) {
    const std::size_t caret = i < 4 ? fields.find('^') : kNpos;
    encoded[i] = fields.substr(0, caret);
    fields = caret == kNpos ? std::string_view() : fields.substr(caret + 1);
  }
  link.item = {URLDeCode(encoded[0]), URLDeCode(encoded[1]), URLDeCode(encoded[2]),
               URLDeCode(encoded[3]), URLDeCode(encoded[4])};

  const std::string_view over = tag->Value("onmouseover");
  if (tag->Attribute("onmouseout") && over.starts_with(kStatusStart)) {
    const std::size_t scriptEnd = over.rfind("';");
    link.statusText = StatusFromScript(
        over.substr(kStatusStart.size(), scriptEnd == kNpos || scriptEnd < kStatusStart.size()
                                             ? kNpos
                                             : scriptEnd - kStatusStart.size()));
  } else {
    link.statusText.clear();
  }

  const bool opening = place.at > place.earliest && text[place.at - 1] == '[';
  std::size_t close = FindNoCase(text, "</a>", tag->end);
  while (opening && close != kNpos && (close + 4 >= text.size() || text[close + 4] != ']')) {
    const std::size_t next = FindNoCase(text, "</a>", close + 4);
    if (next == kNpos) break;
    close = next;
  }
  if (close == kNpos) return FragmentRead<QuickLink>::Not("the link is not closed");
  link.linkCaption = text.substr(tag->end, close - tag->end);
  read.end = close + 4;
  link.brackets = opening && read.end < text.size() && text[read.end] == ']';
  read.start = link.brackets ? place.at - 1 : place.at;
  if (link.brackets) ++read.end;

  if (link.item.Description.empty() || link.item.Price.empty() || link.linkCaption.empty() ||
      !IsTaxableText(link.item.Taxable)) {
    return FragmentRead<QuickLink>::Not("the link's item or caption is one the dialog refuses");
  }
  read.shown.CGI_BIN = address.substr(0, query);
  if (const auto info = ProductInfoBefore(text, read.start, place.earliest, link.item.Description,
                                          encoded[0], link.item.Price)) {
    link.insertProductInfo = true;
    link.item.Description = info->description;
    read.shown.Currency = info->currency;
    read.start = info->start;
  }
  return read;
}

}  // namespace vendigo
