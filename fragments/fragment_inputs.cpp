#include "fragments/fragment_inputs.h"

#include <nlohmann/json.hpp>

#include <array>
#include <initializer_list>
#include <string>
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

nlohmann::json ItemFields(const OrderItem &item) {
  return {{"Description", item.Description},
          {"Price", item.Price},
          {"Weight", item.Weight},
          {"Taxable", item.Taxable},
          {"SmartTaxCode", item.SmartTaxCode}};
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

nlohmann::json HiddenItemInput(const OrderItem &item) {
  return ItemFields(item);
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

nlohmann::json QuickLinkInput(const QuickLink &link) {
  nlohmann::json input = ItemFields(link.item);
  input["LinkCaption"] = link.linkCaption;
  input["StatusText"] = link.statusText;
  input["InsertProductInfo"] = link.insertProductInfo;
  input["Brackets"] = link.brackets;
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

nlohmann::json TextOptionInput(const TextOption &option) {
  return {{"Caption", option.caption},
          {"Price", option.price},
          {"Size", option.size},
          {"MaxLength", option.maxLength}};
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

nlohmann::json ExtendedOptionInput(const ExtendedOption &option) {
  nlohmann::json rows = nlohmann::json::array();
  for (const OptionRow &row : option.rows) {
    rows.push_back({row.Description, row.Price, row.Weight, row.ReadableText});
  }
  return {{"Name", option.name}, {"Rows", std::move(rows)}};
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

nlohmann::json AddItTableInput(const AddItTable &table) {
  nlohmann::json rows = nlohmann::json::array();
  for (const AddItRow &row : table.rows) {
    rows.push_back({row.Description, row.Price, row.Weight, row.Taxable, row.SmartTax});
  }
  return {{"Mode", AddItModeName(table.mode)},
          {"Rows", std::move(rows)},
          {"ProductInterface", table.wholeInterface}};
}

const char *AddItModeName(AddItMode mode) {
  for (const auto &[name, value] : kAddItModes) {
    if (value == mode) return name;
  }
  return "checkbox";
}

}  // namespace vendigo
