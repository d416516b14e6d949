#include "builders/simple_elements_reading.h"

#include "check/page_orders.h"
#include "core/text_encoding.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;

// The caption of an order button that OrderButtonHtml writes as a submit input: two characters
// or more, not beginning with "<" (that one is written as it is).
bool IsSubmitCaption(std::string_view caption) {
  return caption.size() >= 2 && caption.front() != '<';
}

bool IsSubmitInput(const RawTag &tag) {
  return !tag.endTag && tag.Is("input") && EqualsNoCase(tag.Value("type"), "submit");
}

}  // namespace

std::optional<std::string_view> OrderButtonFromHtml(std::string_view html) {
  const std::optional<RawTag> tag = ReadRawTag(html, 0);
  if (tag && tag->end == html.size() && IsSubmitInput(*tag) && tag->attributeCount == 2 &&
      tag->Attribute("value") && IsSubmitCaption(tag->Value("value"))) {
    return tag->Value("value");
  }
  if (html.size() >= 2 && html.front() == '<') return html;
  return std::nullopt;
}

FragmentRead<NoValues> ReadFormContainer(const ReadPlace &place) {
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("form") || !tag->Attribute("action")) {
    return FragmentRead<NoValues>::Not("no form start tag with an action");
  }
  const std::size_t end = MatchLoose(place.text, tag->end, "<p>&nbsp;</p></form>");
  if (end == kNpos) return FragmentRead<NoValues>::Not("the form holds more than a paragraph");
  FragmentRead<NoValues> read;
  read.shown.CGI_BIN = tag->Value("action");
  read.start = place.at;
  read.end = end;
  return read;
}

FragmentRead<NoValues> ReadQuantityBox(const ReadPlace &place) {
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("input") || tag->Value("name") != "quantity") {
    return FragmentRead<NoValues>::Not("no input named quantity");
  }
  const std::string_view type = tag->Value("type");
  if (!type.empty() && !EqualsNoCase(type, "text")) {
    return FragmentRead<NoValues>::Not("the quantity input is no text input");
  }
  FragmentRead<NoValues> read;
  read.start = place.at;
  read.end = tag->end;
  return read;
}

FragmentRead<NoValues> ReadViewCartLink(const ReadPlace &place, const Settings &settings) {
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("a") || !tag->Attribute("href")) {
    return FragmentRead<NoValues>::Not("no link");
  }
  const std::string_view address = tag->Value("href");
  if (address.find('?') != kNpos || !IsCartAddress(address, settings)) {
    return FragmentRead<NoValues>::Not("the link does not lead to the cart program");
  }
  const std::size_t close = FindNoCase(place.text, "</a>", tag->end);
  if (close == kNpos) return FragmentRead<NoValues>::Not("the link is not closed");
  FragmentRead<NoValues> read;
  read.shown.CGI_BIN = address;
  read.shown.ViewCart = place.text.substr(tag->end, close - tag->end);
  read.start = place.at;
  read.end = close + 4;
  return read;
}

FragmentRead<NoValues> ReadBuyButton(const ReadPlace &place, const Settings &settings) {
  FragmentRead<NoValues> read;
  read.start = place.at;
  const std::string &own = settings.OrderButton;
  if (own.size() >= 2 && own.front() == '<' && place.text.substr(place.at, own.size()) == own) {
    read.end = place.at + own.size();
    return read;
  }
  const RawTag *tag = place.tag;
  if (!tag || !IsSubmitInput(*tag) || tag->attributeCount != 2 || !tag->Attribute("value") ||
      !IsSubmitCaption(tag->Value("value"))) {
    return FragmentRead<NoValues>::Not("no submit input with a caption and nothing else");
  }
  read.shown.OrderButton = tag->Value("value");
  read.end = tag->end;
  return read;
}

FragmentRead<NoValues> ReadEbayForm(const ReadPlace &place) {
  const std::string_view text = place.text;
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag || !tag->Is("form") || !tag->Attribute("action")) {
    return FragmentRead<NoValues>::Not("no form start tag with an action");
  }
  const std::size_t close = FindNoCase(text, "</form>", tag->end);
  if (close == kNpos) return FragmentRead<NoValues>::Not("the form is not closed");
  // The three fields the cart reads from the winner.
  bool description = false;
  bool price = false;
  bool shipping = false;
  for (std::size_t at = text.find('<', tag->end); at < close; at = text.find('<', at + 1)) {
    if (AsciiLower(text[at + 1]) != 'i') continue;
    const std::optional<RawTag> field = ReadRawTag(text, at);
    if (!field || field->endTag || !field->Is("input")) continue;
    const std::string_view name = field->Value("name");
    description = description || name == "description";
    price = price || name == "price";
    shipping = shipping || name == "eop_Shipping";
    at = field->end - 1;
  }
  if (!description || !price || !shipping) {
    return FragmentRead<NoValues>::Not("the form lacks the description, price or shipping field");
  }
  // The order button follows the last table.
  const std::size_t tableEnd = FindLastNoCase(text.substr(0, close), "</table>", tag->end);
  if (tableEnd == kNpos) return FragmentRead<NoValues>::Not("the form has no table");
  const std::size_t from = SkipBlanks(text, tableEnd + 8);
  const std::optional<std::string_view> button =
      OrderButtonFromHtml(text.substr(from, SkipBlanksBack(text, close) - from));
  if (!button) return FragmentRead<NoValues>::Not("the form has no order button");
  FragmentRead<NoValues> read;
  read.shown.CGI_BIN = tag->Value("action");
  read.shown.OrderButton = button;
  read.start = place.at;
  read.end = close + 7;
  return read;
}

}  // namespace vendigo
