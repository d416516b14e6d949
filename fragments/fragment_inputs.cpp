#include "fragments/fragment_inputs.h"

#include <nlohmann/json.hpp>

#include <array>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>

#include "core/json_fields.h"

namespace vendigo {

namespace {

constexpr std::size_t kGridRows = 19;

// Reads the fields of one command's JSON input, each with the dialog's initial value when it is
// absent, and refuses keys it does not know and what the dialog would not build from.
class FieldReader {
 public:
  explicit FieldReader(const nlohmann::json &input) : input_(input) {}

  std::string Text(const char *key, const std::string &initial = {}) {
    const nlohmann::json *value = Field(input_, Known(key));
    return value ? vendigo::Text(value, key) : initial;
  }

  bool Flag(const char *key) { return vendigo::Flag(Field(input_, Known(key)), key); }

  // The five item fields; Taxable is "1" (checked), "0" (unchecked) or "" (grayed, as the
  // dialog starts).
  OrderItem Item() {
    OrderItem item;
    item.Description = Text("Description");
    item.Price = Text("Price");
    item.Weight = Text("Weight");
    item.Taxable = Text("Taxable");
    if (!IsTaxableText(item.Taxable)) Refuse(R"(Taxable must be "1", "0" or "")");
    item.SmartTaxCode = Text("SmartTaxCode");
    return item;
  }

  // Call after reading every field.
  void RefuseUnknownKeys() const { CheckKeys(input_, known_, "the input"); }

  // The fields the dialog's OK needs: the dialog builds nothing while one of them is empty.
  static void Require(std::initializer_list<std::pair<const char *, const std::string *>> fields) {
    for (const auto &[key, text] : fields) {
      if (text->empty()) Refuse(std::string(key) + " must not be empty");
    }
  }

 private:
  const std::string &Known(const char *key) { return known_.emplace_back(key); }

  const nlohmann::json &input_;
  std::vector<std::string> known_;
};

// The inputs are built key by key in the order of nlohmann's object (a std::map), each key put at
// the end without a search, with their texts moved in: a braced list of key and value pairs would
// make an array of each pair and copy every text. A key out of order is only slower.
template <typename Value>
void AddInOrder(nlohmann::json::object_t &input, const char *key, Value &&value) {
  input.emplace_hint(input.end(), std::piecewise_construct, std::forward_as_tuple(key),
                     std::forward_as_tuple(std::forward<Value>(value)));
}

// A row of "Rows": its texts as a JSON array.
template <typename... Texts>
nlohmann::json Cells(Texts &&...texts) {
  nlohmann::json::array_t cells;
  cells.reserve(sizeof...(texts));
  (cells.emplace_back(std::forward<Texts>(texts)), ...);
  return cells;
}

// The cells of "Rows", each row filled up to cellCount with empty texts.
std::vector<std::vector<std::string>> GridRows(const nlohmann::json &input, std::size_t cellCount,
                                               const std::string &columns) {
  return Rows(Field(input, "Rows"), "Rows", kGridRows, cellCount, columns);
}

constexpr std::array<std::pair<const char *, AddItMode>, 4> kAddItModes = {{
    {"checkbox", AddItMode::CheckboxTable},
    {"radio", AddItMode::RadioTable},
    {"select", AddItMode::SelectList},
    {"quantity", AddItMode::QuantityTable},
}};

AddItMode ModeValue(const nlohmann::json &input) {
  const nlohmann::json *value = Field(input, "Mode");
  if (!value) return AddItMode::CheckboxTable;
  for (const auto &[name, mode] : kAddItModes) {
    if (value->is_string() && value->get_ref<const std::string &>() == name) return mode;
  }
  Refuse(R"(Mode must be "checkbox", "radio", "select" or "quantity")");
}

}  // namespace

OrderItem HiddenItemFromInput(const nlohmann::json &input) {
  FieldReader fields(input);
  const OrderItem item = fields.Item();
  fields.RefuseUnknownKeys();
  fields.Require({{"Description", &item.Description}, {"Price", &item.Price}});
  return item;
}

nlohmann::json HiddenItemInput(OrderItem &&item) {
  nlohmann::json::object_t input;
  AddInOrder(input, "Description", std::move(item.Description));
  AddInOrder(input, "Price", std::move(item.Price));
  AddInOrder(input, "SmartTaxCode", std::move(item.SmartTaxCode));
  AddInOrder(input, "Taxable", std::move(item.Taxable));
  AddInOrder(input, "Weight", std::move(item.Weight));
  return input;
}

QuickLink QuickLinkFromInput(const nlohmann::json &input) {
  FieldReader fields(input);
  QuickLink link;
  link.item = fields.Item();
  link.linkCaption = fields.Text("LinkCaption", kDefaultLinkCaption);
  link.statusText = fields.Text("StatusText", kDefaultStatusText);
  link.insertProductInfo = fields.Flag("InsertProductInfo");
  link.brackets = fields.Flag("Brackets");
  fields.RefuseUnknownKeys();
  fields.Require({{"Description", &link.item.Description},
                  {"Price", &link.item.Price},
                  {"LinkCaption", &link.linkCaption}});
  return link;
}

nlohmann::json QuickLinkInput(QuickLink &&link) {
  nlohmann::json::object_t input;
  AddInOrder(input, "Brackets", link.brackets);
  AddInOrder(input, "Description", std::move(link.item.Description));
  AddInOrder(input, "InsertProductInfo", link.insertProductInfo);
  AddInOrder(input, "LinkCaption", std::move(link.linkCaption));
  AddInOrder(input, "Price", std::move(link.item.Price));
  AddInOrder(input, "SmartTaxCode", std::move(link.item.SmartTaxCode));
  AddInOrder(input, "StatusText", std::move(link.statusText));
  AddInOrder(input, "Taxable", std::move(link.item.Taxable));
  AddInOrder(input, "Weight", std::move(link.item.Weight));
  return input;
}

TextOption TextOptionFromInput(const nlohmann::json &input) {
  FieldReader fields(input);
  TextOption option;
  option.caption = fields.Text("Caption");
  option.price = fields.Text("Price");
  option.size = fields.Text("Size", kDefaultTextOptionSize);
  option.maxLength = fields.Text("MaxLength", kDefaultTextOptionSize);
  fields.RefuseUnknownKeys();
  fields.Require({{"Caption", &option.caption}, {"Price", &option.price}});
  return option;
}

nlohmann::json TextOptionInput(TextOption &&option) {
  nlohmann::json::object_t input;
  AddInOrder(input, "Caption", std::move(option.caption));
  AddInOrder(input, "MaxLength", std::move(option.maxLength));
  AddInOrder(input, "Price", std::move(option.price));
  AddInOrder(input, "Size", std::move(option.size));
  return input;
}

ExtendedOption ExtendedOptionFromInput(const nlohmann::json &input) {
  CheckKeys(input, {"Name", "Rows"}, "the input");
  ExtendedOption option;
  option.name = Text(Field(input, "Name"), "Name");
  for (const auto &cells : GridRows(input, 4, "Description, Price, Weight, Readable Text")) {
    option.rows.push_back({cells[0], cells[1], cells[2], cells[3]});
  }
  return option;
}

nlohmann::json ExtendedOptionInput(ExtendedOption &&option) {
  nlohmann::json::array_t rows;
  rows.reserve(option.rows.size());
  for (OptionRow &row : option.rows) {
    rows.push_back(Cells(std::move(row.Description), std::move(row.Price), std::move(row.Weight),
                         std::move(row.ReadableText)));
  }
  nlohmann::json::object_t input;
  AddInOrder(input, "Name", std::move(option.name));
  AddInOrder(input, "Rows", std::move(rows));
  return input;
}

AddItTable AddItTableFromInput(const nlohmann::json &input, const Settings &settings) {
  CheckKeys(input, {"Mode", "Rows", "ProductInterface"}, "the input");
  AddItTable table;
  table.mode = ModeValue(input);
  table.wholeInterface = Flag(Field(input, "ProductInterface"), "ProductInterface");
  const bool generation4 = settings.PelluxGeneration == 4;
  if (table.mode == AddItMode::QuantityTable && !generation4) {
    Refuse("Mode \"quantity\" needs a generation 4 cart (PelluxGeneration=4); the settings say " +
           std::to_string(settings.PelluxGeneration));
  }
  for (const auto &cells : GridRows(input, 5, "Description, Price, Weight, Taxable, Smart Tax")) {
    // Without generation 4 the grid has no tax columns.
    table.rows.push_back({cells[0], cells[1], cells[2], generation4 ? cells[3] : std::string(),
                          generation4 ? cells[4] : std::string()});
  }
  return table;
}

nlohmann::json AddItTableInput(AddItTable &&table) {
  nlohmann::json::array_t rows;
  rows.reserve(table.rows.size());
  for (AddItRow &row : table.rows) {
    rows.push_back(Cells(std::move(row.Description), std::move(row.Price), std::move(row.Weight),
                         std::move(row.Taxable), std::move(row.SmartTax)));
  }
  nlohmann::json::object_t input;
  AddInOrder(input, "Mode", AddItModeName(table.mode));
  AddInOrder(input, "ProductInterface", table.wholeInterface);
  AddInOrder(input, "Rows", std::move(rows));
  return input;
}

const char *AddItModeName(AddItMode mode) {
  for (const auto &[name, value] : kAddItModes) {
    if (value == mode) return name;
  }
  return "checkbox";
}

}  // namespace vendigo
