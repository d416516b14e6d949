#include "cli/page_command.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

#include <filesystem>
#include <string_view>

#include "cli/json_input.h"
#include "core/file_error.h"
#include "core/text_encoding.h"
#include "pages/template_package.h"

namespace vendigo::cli {
namespace {

// The longest description the wizard's Description edit takes.
constexpr std::size_t kMaxDescriptionLength = 230;

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
    try {
      return BuildProductPage(templateText, input, settings);
    } catch (const PageTooLarge &error) {
      throw CommandFailure(error.what());
    }
  };
  return command;
}

}  // namespace vendigo::cli
