#include "cli/grid_commands.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <array>
#include <string>

#include "builders/addit_table.h"
#include "builders/extended_option.h"
#include "builders/product_interface.h"

namespace vendigo::cli {

namespace {

constexpr int kGridRows = 19;

[[noreturn]] void Refuse(const QString &message) {
  throw InputError(message.toStdString());
}

void CheckKeys(const QJsonObject &input, const QStringList &known) {
  for (const QString &key : input.keys()) {
    if (!known.contains(key)) {
      Refuse(QStringLiteral("unknown key '%1' in the input; the keys are %2")
                 .arg(key, known.join(QStringLiteral(", "))));
    }
  }
}

std::string TextValue(const QJsonObject &input, const QString &key) {
  const QJsonValue value = input.value(key);
  if (value.isUndefined()) return {};
  if (!value.isString()) Refuse(QStringLiteral("%1 must be a text").arg(key));
  return value.toString().toStdString();
}

bool BooleanValue(const QJsonObject &input, const QString &key) {
  const QJsonValue value = input.value(key);
  if (value.isUndefined()) return false;
  if (!value.isBool()) Refuse(QStringLiteral("%1 must be true or false").arg(key));
  return value.toBool();
}

// The cells of "Rows", each row filled up to cellCount with empty texts.
std::vector<std::vector<std::string>> GridRows(const QJsonObject &input, int cellCount,
                                               const QString &columns) {
  const QJsonValue value = input.value(QStringLiteral("Rows"));
  if (value.isUndefined()) return {};
  if (!value.isArray()) {
    Refuse(QStringLiteral("Rows must be a list of rows"));
  }
  const QJsonArray rows = value.toArray();
  if (rows.size() > kGridRows) {
    Refuse(QStringLiteral("Rows has %1 rows; the grid has %2").arg(rows.size()).arg(kGridRows));
  }
  std::vector<std::vector<std::string>> grid;
  for (qsizetype r = 0; r < rows.size(); ++r) {
    const int rowNumber = static_cast<int>(r) + 1;
    if (!rows[r].isArray()) {
      Refuse(QStringLiteral("Rows row %1 must be a list of up to %2 texts (%3)")
                 .arg(rowNumber)
                 .arg(cellCount)
                 .arg(columns));
    }
    const QJsonArray cells = rows[r].toArray();
    if (cells.size() > cellCount) {
      Refuse(QStringLiteral("Rows row %1 has %2 cells; a row has at most %3 (%4)")
                 .arg(rowNumber)
                 .arg(cells.size())
                 .arg(cellCount)
                 .arg(columns));
    }
    std::vector<std::string> texts(static_cast<std::size_t>(cellCount));
    for (qsizetype c = 0; c < cells.size(); ++c) {
      if (!cells[c].isString()) {
        Refuse(QStringLiteral("Rows row %1 cell %2 must be a text").arg(rowNumber).arg(c + 1));
      }
      texts[static_cast<std::size_t>(c)] = cells[c].toString().toStdString();
    }
    grid.push_back(std::move(texts));
  }
  return grid;
}

std::string BuildOptions(const Settings &, const QJsonObject &input) {
  CheckKeys(input, {QStringLiteral("Name"), QStringLiteral("Rows")});
  const std::string name = TextValue(input, QStringLiteral("Name"));
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
            {QStringLiteral("Mode"), QStringLiteral("Rows"), QStringLiteral("ProductInterface")});
  const AddItMode mode = ModeValue(input);
  const bool wholeInterface = BooleanValue(input, QStringLiteral("ProductInterface"));
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
