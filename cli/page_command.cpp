#include "cli/page_command.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

#include <filesystem>
#include <string_view>

#include "app/file_error.h"
#include "app/text_encoding.h"
#include "wizard/template_package.h"

namespace vendigo::cli {
namespace {

// The longest description the wizard's Description edit takes.
constexpr std::size_t kMaxDescriptionLength = 230;

[[noreturn]] void Refuse(const QString &message) {
  throw InputError(message.toStdString());
}

void CheckKeys(const QJsonObject &object, const QStringList &known, const QString &where) {
  for (const QString &key : object.keys()) {
    if (!known.contains(key)) {
      Refuse(QStringLiteral("unknown key '%1' in %2; the keys are %3")
                 .arg(key, where, known.join(QStringLiteral(", "))));
    }
  }
}

std::string Text(const QJsonValue &value, const QString &where) {
  if (value.isUndefined()) return "";
  if (!value.isString()) Refuse(QStringLiteral("%1 must be a text").arg(where));
  return value.toString().toStdString();
}

TaxState Taxable(const QJsonValue &value) {
  if (value.isUndefined() || value.isNull()) return TaxState::Grayed;
  if (value.isBool()) return value.toBool() ? TaxState::Checked : TaxState::Unchecked;
  if (value.isString()) {
    const QString text = value.toString();
    if (text == QStringLiteral("1")) return TaxState::Checked;
    if (text == QStringLiteral("0")) return TaxState::Unchecked;
    if (text.isEmpty()) return TaxState::Grayed;
  }
  Refuse(QStringLiteral("Taxable must be true, false, \"1\", \"0\", \"\" or null"));
}

// The rows of a grid: an array of arrays of at most `cells` texts, at most `maxRows` rows.
std::vector<std::vector<std::string>> Rows(const QJsonValue &value, const QString &where,
                                           std::size_t maxRows, std::size_t cells,
                                           const QString &columns) {
  std::vector<std::vector<std::string>> rows;
  if (value.isUndefined()) return rows;
  if (!value.isArray()) Refuse(QStringLiteral("%1 must be a list of rows").arg(where));
  const QJsonArray array = value.toArray();
  if (static_cast<std::size_t>(array.size()) > maxRows) {
    Refuse(QStringLiteral("%1 has %2 rows; the grid has %3")
               .arg(where)
               .arg(array.size())
               .arg(maxRows));
  }
  for (qsizetype r = 0; r < array.size(); ++r) {
    const QString rowName = QStringLiteral("%1 row %2").arg(where).arg(r + 1);
    if (!array[r].isArray()) {
      Refuse(QStringLiteral("%1 must be a list of up to %2 texts (%3)")
                 .arg(rowName)
                 .arg(cells)
                 .arg(columns));
    }
    const QJsonArray row = array[r].toArray();
    if (static_cast<std::size_t>(row.size()) > cells) {
      Refuse(QStringLiteral("%1 has %2 cells; a row has at most %3 (%4)")
                 .arg(rowName)
                 .arg(row.size())
                 .arg(cells)
                 .arg(columns));
    }
    std::vector<std::string> texts(cells);
    for (qsizetype c = 0; c < row.size(); ++c) {
      texts[c] = Text(row[c], QStringLiteral("%1 cell %2").arg(rowName).arg(c + 1));
    }
    rows.push_back(std::move(texts));
  }
  return rows;
}

std::string ImageTag(const QJsonValue &value) {
  const std::string path = Text(value, QStringLiteral("ProductImage"));
  if (path.empty()) return "";
  if (!IsProductImageFile(path)) {
    Refuse(QStringLiteral("ProductImage must be a .jpg, .gif or .png file: %1")
               .arg(QString::fromStdString(path)));
  }
  const bool windowsForm = path.size() >= 2 && path[1] == ':';
  if (path.starts_with('/') || windowsForm) return ProductImageTag(path);
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error)
    Refuse(
        QStringLiteral("cannot make ProductImage absolute: %1").arg(QString::fromStdString(path)));
  return ProductImageTag(absolute.lexically_normal().string());
}

}  // namespace

ProductPageInput ReadProductPageInput(const QJsonObject &object) {
  CheckKeys(object,
            {"Mode", "Description", "Price", "Weight", "Taxable", "SmartTaxCode", "Descriptions",
             "Options", "Related", "LongText", "ProductImage"},
            QStringLiteral("the input"));
  ProductPageInput input;

  const QJsonValue mode = object.value(QStringLiteral("Mode"));
  if (mode == QJsonValue(QStringLiteral("multiple"))) {
    input.Mode = DescriptionMode::Multiple;
  } else if (!mode.isUndefined() && mode != QJsonValue(QStringLiteral("single"))) {
    Refuse(QStringLiteral("Mode must be \"single\" or \"multiple\""));
  }

  input.Description =
      Text(object.value(QStringLiteral("Description")), QStringLiteral("Description"));
  if (Utf8Length(input.Description) > kMaxDescriptionLength) {
    Refuse(QStringLiteral("Description is longer than %1 characters").arg(kMaxDescriptionLength));
  }
  input.Price = Text(object.value(QStringLiteral("Price")), QStringLiteral("Price"));
  input.Weight = Text(object.value(QStringLiteral("Weight")), QStringLiteral("Weight"));
  input.Taxable = Taxable(object.value(QStringLiteral("Taxable")));
  input.SmartTaxCode =
      Text(object.value(QStringLiteral("SmartTaxCode")), QStringLiteral("SmartTaxCode"));

  for (const auto &cells :
       Rows(object.value(QStringLiteral("Descriptions")), QStringLiteral("Descriptions"),
            kDescriptionRows, 6,
            QStringLiteral("Cart Description, Price, Weight, Taxable, Smart Tax, Readable Text"))) {
    input.Descriptions.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
  }

  const QJsonValue options = object.value(QStringLiteral("Options"));
  if (!options.isUndefined()) {
    if (!options.isArray() || options.toArray().size() > static_cast<qsizetype>(kOptionGroups)) {
      Refuse(QStringLiteral("Options must be a list of up to three option groups"));
    }
    const QJsonArray groups = options.toArray();
    for (qsizetype g = 0; g < groups.size(); ++g) {
      const QString where = QStringLiteral("Options group %1").arg(g + 1);
      if (!groups[g].isObject()) {
        Refuse(QStringLiteral("%1 must be an object with Name and Rows").arg(where));
      }
      const QJsonObject group = groups[g].toObject();
      CheckKeys(group, {"Name", "Rows"}, where);
      OptionGroup &target = input.Options[static_cast<std::size_t>(g)];
      target.Name = Text(group.value(QStringLiteral("Name")), where + QStringLiteral(" Name"));
      for (const auto &cells :
           Rows(group.value(QStringLiteral("Rows")), where + QStringLiteral(" Rows"), kOptionRows,
                4, QStringLiteral("Cart Description, Price, Weight, Readable Text"))) {
        target.Rows.push_back({cells[0], cells[1], cells[2], cells[3]});
      }
    }
  }

  for (const auto &cells :
       Rows(object.value(QStringLiteral("Related")), QStringLiteral("Related"), kRelatedRows, 5,
            QStringLiteral("Cart Description, Price, Weight, Taxable, Smart Tax"))) {
    input.Related.push_back({cells[0], cells[1], cells[2], cells[3], cells[4]});
  }

  // The long text is held as lines joined by CR LF, whatever line breaks the input used.
  input.LongText = WithCrLfLineBreaks(
      Text(object.value(QStringLiteral("LongText")), QStringLiteral("LongText")));
  input.ProductImageTag = ImageTag(object.value(QStringLiteral("ProductImage")));
  return input;
}

Command PageCommand() {
  Command command;
  command.name = "page";
  command.summary = "a product page from the template given with --template FILE";
  command.takesInput = true;
  command.buildFromTemplate = [](const Settings &settings, const QJsonObject &json,
                                 const std::string &templateFile) {
    const ProductPageInput input = ReadProductPageInput(json);
    std::string templateText;
    try {
      templateText = ReadTemplateText(templateFile);
    } catch (const FileError &error) {
      throw InputError(std::string("cannot read the template: ") + error.what());
    }
    return BuildProductPage(templateText, input, settings);
  };
  return command;
}

}  // namespace vendigo::cli
