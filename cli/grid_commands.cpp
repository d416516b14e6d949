#include "cli/grid_commands.h"

#include <nlohmann/json.hpp>

#include <array>
#include <string>

#include "builders/addit_table.h"
#include "builders/extended_option.h"
#include "builders/product_interface.h"
#include "core/json_fields.h"

namespace vendigo::cli {

namespace {

constexpr std::size_t kGridRows = 19;

// The cells of "Rows", each row filled up to cellCount with empty texts.
std::vector<std::vector<std::string>> GridRows(const nlohmann::json &input, std::size_t cellCount,
                                               const std::string &columns) {
  return Rows(Field(input, "Rows"), "Rows", kGridRows, cellCount, columns);
}

std::string BuildOptions(const Settings &, const nlohmann::json &input) {
  CheckKeys(input, {"Name", "Rows"}, "the input");
  const std::string name = Text(Field(input, "Name"), "Name");
  std::vector<OptionRow> rows;
  for (const auto &cells : GridRows(input, 4, "Description, Price, Weight, Readable Text")) {
    rows.push_back({cells[0], cells[1], cells[2], cells[3]});
  }
  return BuildExtendedOptionHtml(name, rows);
}

AddItMode ModeValue(const nlohmann::json &input) {
  const nlohmann::json *value = Field(input, "Mode");
  if (!value) return AddItMode::CheckboxTable;
  static const std::array<std::pair<const char *, AddItMode>, 4> modes = {{
      {"checkbox", AddItMode::CheckboxTable},
      {"radio", AddItMode::RadioTable},
      {"select", AddItMode::SelectList},
      {"quantity", AddItMode::QuantityTable},
  }};
  for (const auto &[name, mode] : modes) {
    if (value->is_string() && value->get_ref<const std::string &>() == name) return mode;
  }
  Refuse(R"(Mode must be "checkbox", "radio", "select" or "quantity")");
}

std::string BuildAddIt(const Settings &settings, const nlohmann::json &input) {
  CheckKeys(input, {"Mode", "Rows", "ProductInterface"}, "the input");
  const AddItMode mode = ModeValue(input);
  const bool wholeInterface = Flag(Field(input, "ProductInterface"), "ProductInterface");
  const bool generation4 = settings.PelluxGeneration == 4;
  if (mode == AddItMode::QuantityTable && !generation4) {
    Refuse("Mode \"quantity\" needs a generation 4 cart (PelluxGeneration=4); the settings say " +
           std::to_string(settings.PelluxGeneration));
  }
  std::vector<AddItRow> rows;
  for (const auto &cells : GridRows(input, 5, "Description, Price, Weight, Taxable, Smart Tax")) {
    // Without generation 4 the grid has no tax columns.
    rows.push_back({cells[0], cells[1], cells[2], generation4 ? cells[3] : std::string(),
                    generation4 ? cells[4] : std::string()});
  }
  return BuildAddItFragment(mode, rows, settings, wholeInterface, ProductInterfaceTemplate());
}

}  // namespace

std::vector<Command> GridCommands() {
  return {
      {"options", "product option list: an eop_ select from Name and Rows", true, BuildOptions},
      {"addit",
       "addit table or select list, or quantity-add table, from Mode, Rows and ProductInterface",
       true, BuildAddIt},
  };
}

}  // namespace vendigo::cli
