#include "cli/grid_commands.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <array>
#include <string>

#include "builders/addit_table.h"
#include "builders/extended_option.h"
#include "builders/product_interface.h"
#include "cli/json_input.h"

namespace vendigo::cli {

namespace {

constexpr std::size_t kGridRows = 19;

// The cells of "Rows", each row filled up to cellCount with empty texts.
std::vector<std::vector<std::string>> GridRows(const QJsonObject &input, std::size_t cellCount,
                                               const QString &columns) {
  return Rows(input.value(QStringLiteral("Rows")), QStringLiteral("Rows"), kGridRows, cellCount,
              columns);
}

std::string BuildOptions(const Settings &, const QJsonObject &input) {
  CheckKeys(input, {QStringLiteral("Name"), QStringLiteral("Rows")}, QStringLiteral("the input"));
  const std::string name = Text(input.value(QStringLiteral("Name")), QStringLiteral("Name"));
  std::vector<OptionRow> rows;
  for (const auto &cells :
       GridRows(input, 4, QStringLiteral("Description, Price, Weight, Readable Text"))) {
    rows.push_back({cells[0], cells[1], cells[2], cells[3]});
  }
  return BuildExtendedOptionHtml(name, rows);
}

AddItMode ModeValue(const QJsonObject &input) {
  const QJsonValue value = input.value(QStringLiteral("Mode"));
  if (value.isUndefined()) return AddItMode::CheckboxTable;
  static const std::array<std::pair<const char *, AddItMode>, 4> modes = {{
      {"checkbox", AddItMode::CheckboxTable},
      {"radio", AddItMode::RadioTable},
      {"select", AddItMode::SelectList},
      {"quantity", AddItMode::QuantityTable},
  }};
  for (const auto &[name, mode] : modes) {
    if (value.isString() && value.toString() == QLatin1String(name)) return mode;
  }
  Refuse(QStringLiteral("Mode must be \"checkbox\", \"radio\", \"select\" or \"quantity\""));
}

std::string BuildAddIt(const Settings &settings, const QJsonObject &input) {
  CheckKeys(input,
            {QStringLiteral("Mode"), QStringLiteral("Rows"), QStringLiteral("ProductInterface")},
            QStringLiteral("the input"));
  const AddItMode mode = ModeValue(input);
  const bool wholeInterface =
      Flag(input.value(QStringLiteral("ProductInterface")), QStringLiteral("ProductInterface"));
  const bool generation4 = settings.PelluxGeneration == 4;
  if (mode == AddItMode::QuantityTable && !generation4) {
    Refuse(QStringLiteral("Mode \"quantity\" needs a generation 4 cart (PelluxGeneration=4); "
                          "the settings say %1")
               .arg(settings.PelluxGeneration));
  }
  std::vector<AddItRow> rows;
  for (const auto &cells :
       GridRows(input, 5, QStringLiteral("Description, Price, Weight, Taxable, Smart Tax"))) {
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
