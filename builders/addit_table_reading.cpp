#include "builders/addit_table_reading.h"

#include <optional>
#include <string>

#include "builders/extended_option_reading.h"
#include "builders/price_rules.h"
#include "core/text_encoding.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::string_view kTableStart =
    "<CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" CELLSPACING=\"1\" "
    "BORDER=\"1\"><TR><TH>Buy</TH><TH>Description</TH><TH>Price</TH></TR>";
constexpr std::string_view kTableEnd = "</TABLE></DIV></CENTER>";
constexpr std::string_view kRowStart = "<TR><TD align=\"center\">";
constexpr std::string_view kPriceCell = "</TD><TD ALIGN=\"RIGHT\"><FONT COLOR=\"#FF0000\">";
constexpr std::string_view kRowEnd = "</FONT></TD></TR>";
constexpr std::string_view kQuantityName = "pelluxqa_";
constexpr std::size_t kGridRows = 19;

// A price as FormatPrice writes it: digits in groups of three with "," between, "." and two
// digits.
bool IsFormattedPrice(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == kNpos || point == 0 || text.size() - point != 3 || !IsAsciiDigit(text[point + 1]) ||
      !IsAsciiDigit(text[point + 2])) {
    return false;
  }
  for (std::size_t i = 0; i < point; ++i) {
    const bool commaPlace = (point - i) % 4 == 0;
    if (commaPlace ? text[i] != ',' : !IsAsciiDigit(text[i])) return false;
  }
  return text[0] != ',';
}

std::string WithoutSeparators(std::string_view price) {
  std::string out;
  for (const char c : price) {
    if (c != ',') out += c;
  }
  return out;
}

// The row's fields from the value (Description, the formatted price, Weight, Taxable, Smart Tax
// joined by separator), the shown description helping to tell where the description ends.
// In a table the weight is a number (a row whose weight is none is left out), so only the select
// list's weight may hold the separator.
AddItRow RowFromValue(std::string_view value, char separator, std::string_view shownDescription,
                      bool table) {
  std::size_t split = kNpos;
  if (value.size() > shownDescription.size() && value.starts_with(shownDescription) &&
      value[shownDescription.size()] == separator) {
    const std::size_t next = value.find(separator, shownDescription.size() + 1);
    const std::string_view price = value.substr(
        shownDescription.size() + 1, next == kNpos ? kNpos : next - shownDescription.size() - 1);
    if (ConvertPrice(WithoutSeparators(price))) split = shownDescription.size();
  }
  for (std::size_t at = value.find(separator, 1); split == kNpos && at != kNpos;
       at = value.find(separator, at + 1)) {
    const std::size_t next = value.find(separator, at + 1);
    if (IsFormattedPrice(value.substr(at + 1, next == kNpos ? kNpos : next - at - 1))) split = at;
  }
  if (split == kNpos) split = value.find(separator, 1);
  AddItRow row;
  row.Description = UnquoteEntity(value.substr(0, split));
  if (split == kNpos) return row;
  std::string_view rest = value.substr(split + 1);
  const std::size_t priceEnd = rest.find(separator);
  row.Price = WithoutSeparators(rest.substr(0, priceEnd));
  rest = priceEnd == kNpos ? std::string_view() : rest.substr(priceEnd + 1);
  // Weight, Taxable, Smart Tax: empty tax fields where the value allows it.
  const std::string emptyTax(2, separator);
  if (!table && rest.ends_with(emptyTax)) {
    row.Weight = UnquoteEntity(rest.substr(0, rest.size() - 2));
    return row;
  }
  const std::size_t weightEnd = rest.find(separator);
  row.Weight = UnquoteEntity(rest.substr(0, weightEnd));
  if (weightEnd == kNpos) return row;
  rest = rest.substr(weightEnd + 1);
  const std::size_t taxEnd = rest.find(separator);
  row.Taxable = UnquoteEntity(rest.substr(0, taxEnd));
  if (taxEnd != kNpos) row.SmartTax = UnquoteEntity(rest.substr(taxEnd + 1));
  return row;
}

// The currency sign before the shown price.
std::string_view CurrencyOf(std::string_view shown, std::string_view formatted) {
  if (!formatted.empty() && shown.ends_with(formatted)) {
    return shown.substr(0, shown.size() - formatted.size());
  }
  std::size_t digit = 0;
  while (digit < shown.size() && !IsAsciiDigit(shown[digit])) ++digit;
  return shown.substr(0, digit);
}

std::string FormattedPrice(const std::string &price) {
  const std::optional<double> value = ConvertPrice(price);
  return value ? FormatPrice(*value) : std::string();
}

struct TableRead {
  AddItMode mode = AddItMode::CheckboxTable;
  std::vector<AddItRow> rows;
  std::optional<std::string_view> currency;
  std::size_t end = 0;
};

// The table whose <CENTER> is at text[at], up to its </CENTER>.
std::optional<TableRead> ReadTable(std::string_view text, std::size_t at) {
  std::size_t pos = MatchLoose(text, at, kTableStart);
  if (pos == kNpos) return std::nullopt;
  TableRead table;
  bool modeKnown = false;
  while (true) {
    const std::size_t tableEnd = MatchLoose(text, pos, kTableEnd);
    if (tableEnd != kNpos) {
      table.end = tableEnd;
      return table;
    }
    pos = MatchLoose(text, pos, kRowStart);
    if (pos == kNpos) return std::nullopt;
    const std::optional<RawTag> input = ReadRawTag(text, SkipBlanks(text, pos));
    if (!input || input->endTag || !input->Is("input")) return std::nullopt;
    const std::string_view type = input->Value("type");
    const std::string_view name = input->Value("name");
    AddItMode mode;
    if (EqualsNoCase(type, "checkbox") && name == "addit") {
      mode = AddItMode::CheckboxTable;
    } else if (EqualsNoCase(type, "radio") && name == "addit") {
      mode = AddItMode::RadioTable;
    } else if (name.starts_with(kQuantityName)) {
      mode = AddItMode::QuantityTable;
    } else {
      return std::nullopt;
    }
    if (modeKnown && mode != table.mode) return std::nullopt;
    table.mode = mode;
    modeKnown = true;
    pos = MatchLoose(text, input->end, "</TD><TD>");
    if (pos == kNpos) return std::nullopt;
    std::size_t priceStart = 0;
    const std::size_t descriptionEnd = FindLoose(text, pos, kPriceCell, &priceStart);
    if (descriptionEnd == kNpos) return std::nullopt;
    const std::string_view shownDescription = text.substr(pos, descriptionEnd - pos);
    std::size_t rowEnd = 0;
    const std::size_t priceEnd = FindLoose(text, priceStart, kRowEnd, &rowEnd);
    if (priceEnd == kNpos) return std::nullopt;
    const AddItRow row =
        mode == AddItMode::QuantityTable
            ? RowFromValue(name.substr(kQuantityName.size()), '_', shownDescription, true)
            : RowFromValue(input->Value("value"), '^', shownDescription, true);
    if (!table.currency) {
      table.currency =
          CurrencyOf(text.substr(priceStart, priceEnd - priceStart), FormattedPrice(row.Price));
    }
    table.rows.push_back(row);
    pos = MatchLoose(text, rowEnd, "\r\n");
    if (pos == kNpos) pos = rowEnd;
  }
}

// The select list whose <SELECT> is at text[at].
std::optional<TableRead> ReadSelectList(std::string_view text, std::size_t at) {
  const std::optional<RawTag> tag = ReadRawTag(text, at);
  if (!tag || tag->endTag || !tag->Is("select") || tag->Value("name") != "addit") {
    return std::nullopt;
  }
  const auto options = ReadWrittenOptions(text, tag->end);
  if (!options) return std::nullopt;
  TableRead list;
  list.mode = AddItMode::SelectList;
  if (!options->first.empty() && !options->first.front().selected) list.rows.emplace_back();
  for (const WrittenOption &option : options->first) {
    // The shown text is the description, " -- ", the currency and the formatted price.
    const std::size_t dashes = option.shown.find(" -- ");
    std::string_view shownDescription = option.shown.substr(0, dashes);
    // A description holding " -- " itself: the value says how far it goes.
    for (std::size_t more = dashes; more != kNpos; more = option.shown.find(" -- ", more + 1)) {
      const std::string_view candidate = option.shown.substr(0, more);
      if (option.value.starts_with(candidate) && option.value.size() > candidate.size() &&
          option.value[candidate.size()] == '^') {
        shownDescription = candidate;
        const std::size_t priceEnd = option.value.find('^', candidate.size() + 1);
        if (IsFormattedPrice(
                option.value.substr(candidate.size() + 1,
                                    priceEnd == kNpos ? kNpos : priceEnd - candidate.size() - 1))) {
          break;
        }
      }
    }
    const AddItRow row = RowFromValue(option.value, '^', shownDescription, false);
    if (!list.currency && dashes != kNpos) {
      list.currency =
          CurrencyOf(option.shown.substr(shownDescription.size() + 4), FormattedPrice(row.Price));
    }
    list.rows.push_back(row);
  }
  list.end = options->second;
  return list;
}

struct Interface {
  std::string_view cart;
  std::string_view orderButton;
  std::string_view viewCart;
  TableRead table;
};

// The product interface whose form start tag is at text[at].
std::optional<Interface> ReadInterface(std::string_view text, std::size_t at) {
  const std::optional<RawTag> form = ReadRawTag(text, at);
  if (!form || form->endTag || !form->Is("form") || !form->Attribute("action")) {
    return std::nullopt;
  }
  Interface interface;
  interface.cart = form->Value("action");
  // The ordering instructions, in whatever words the merchant gave them.
  std::size_t pos = MatchLoose(
      text, SkipBlanks(text, form->end),
      "<CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" CELLSPACING=\"1\" "
      "BORDER=\"0\">");
  if (pos == kNpos) return std::nullopt;
  std::size_t instructionsEnd = 0;
  if (FindLoose(text, pos, "</TABLE></CENTER></DIV>", &instructionsEnd) == kNpos) {
    return std::nullopt;
  }
  std::optional<TableRead> table = ReadTable(text, SkipBlanks(text, instructionsEnd));
  if (!table) return std::nullopt;
  // The order button's text goes into the value as it is, quotes and all.
  pos = MatchLoose(text, SkipBlanks(text, table->end),
                   "<P ALIGN=\"CENTER\"><INPUT TYPE=\"SUBMIT\" VALUE=\"");
  if (pos == kNpos) return std::nullopt;
  const std::size_t buttonStart = pos;
  const std::size_t buttonEnd =
      FindLoose(text, buttonStart, "\"></P>\r\n</form>\r\n<p>\r\n<center>", &pos);
  if (buttonEnd == kNpos) return std::nullopt;
  interface.orderButton = text.substr(buttonStart, buttonEnd - buttonStart);
  const std::optional<RawTag> link = ReadRawTag(text, SkipBlanks(text, pos));
  if (!link || link->endTag || !link->Is("a")) return std::nullopt;
  const std::size_t linkEnd = FindNoCase(text, "</a>", link->end);
  if (linkEnd == kNpos) return std::nullopt;
  interface.viewCart = text.substr(link->end, linkEnd - link->end);
  pos = MatchLoose(text, linkEnd, "</a></center>\r\n</p>\r\n");
  if (pos == kNpos) return std::nullopt;
  table->end = pos;
  interface.table = std::move(*table);
  return interface;
}

FragmentRead<AddItTable> Finish(TableRead table, bool wholeInterface, std::size_t start,
                                std::string_view text) {
  const std::size_t end = MatchLoose(text, table.end, kAddItClosing);
  if (end == kNpos) return FragmentRead<AddItTable>::Not("no closing paragraph after the table");
  if (table.rows.size() > kGridRows) {
    return FragmentRead<AddItTable>::Not("the table has more rows than the grid");
  }
  bool taxed = table.mode == AddItMode::QuantityTable;
  for (const AddItRow &row : table.rows) {
    taxed = taxed || !row.Taxable.empty() || !row.SmartTax.empty();
  }
  FragmentRead<AddItTable> read;
  read.values = {table.mode, std::move(table.rows), wholeInterface};
  read.shown.Currency = table.currency;
  if (taxed) read.shown.PelluxGeneration = 4;
  read.start = start;
  read.end = end;
  return read;
}

}  // namespace

FragmentRead<AddItTable> ReadAddItTable(const ReadPlace &place) {
  const std::string_view text = place.text;
  const RawTag *tag = place.tag;
  if (!tag || tag->endTag) return FragmentRead<AddItTable>::Not("no start tag");
  if (tag->Is("center")) {
    std::optional<TableRead> table = ReadTable(text, place.at);
    if (!table) return FragmentRead<AddItTable>::Not("no addit table");
    return Finish(std::move(*table), false, place.at, text);
  }
  if (tag->Is("select")) {
    std::optional<TableRead> list = ReadSelectList(text, place.at);
    if (!list) return FragmentRead<AddItTable>::Not("no addit select list");
    return Finish(std::move(*list), false, place.at, text);
  }
  if (tag->Is("form")) {
    std::optional<Interface> interface = ReadInterface(text, place.at);
    if (!interface) return FragmentRead<AddItTable>::Not("no product interface around a table");
    FragmentRead<AddItTable> read = Finish(std::move(interface->table), true, place.at, text);
    if (!read) return read;
    read.shown.CGI_BIN = interface->cart;
    read.shown.OrderButton = interface->orderButton;
    read.shown.ViewCart = interface->viewCart;
    return read;
  }
  return FragmentRead<AddItTable>::Not("no table, select list or form");
}

}  // namespace vendigo
