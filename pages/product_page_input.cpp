#include "pages/product_page_input.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string_view>

#include "core/json_fields.h"
#include "core/text_encoding.h"
#include "pages/product_data.h"
#include "pages/template_package.h"

namespace vendigo {
namespace {

// The longest description the wizard's Description edit takes.
constexpr std::size_t kMaxDescriptionLength = 230;

TaxState Taxable(const nlohmann::json *value) {
  if (!value || value->is_null()) return TaxState::Grayed;
  if (value->is_boolean()) return value->get<bool>() ? TaxState::Checked : TaxState::Unchecked;
  if (value->is_string()) {
    const std::string &text = value->get_ref<const std::string &>();
    if (text == "1") return TaxState::Checked;
    if (text == "0") return TaxState::Unchecked;
    if (text.empty()) return TaxState::Grayed;
  }
  Refuse(R"(Taxable must be true, false, "1", "0", "" or null)");
}

std::string ImageTag(const nlohmann::json *value) {
  const std::string path = Text(value, "ProductImage");
  if (path.empty()) return "";
  if (!IsProductImageFile(path)) {
    Refuse("ProductImage must be a .jpg, .gif or .png file: " + path);
  }
  const bool windowsForm = path.size() >= 2 && path[1] == ':';
  if (path.starts_with('/') || windowsForm) return ProductImageTag(path);
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) Refuse("cannot make ProductImage absolute: " + path);
  return ProductImageTag(absolute.lexically_normal().string());
}

}  // namespace

ProductPageInput ReadProductPageInput(const nlohmann::json &object) {
  CheckKeys(
      object,
      {"Mode", "Description", "Price", "Weight", "Taxable", "SmartTaxCode", "Descriptions",
       "Options", "Related", "LongText", "ProductImage", "SKU", "Brand", "GTIN", "Availability"},
      "the input");
  ProductPageInput input;

  const nlohmann::json *mode = Field(object, "Mode");
  if (mode && *mode == "multiple") {
    input.Mode = DescriptionMode::Multiple;
  } else if (mode && *mode != "single") {
    Refuse(R"(Mode must be "single" or "multiple")");
  }

  input.Description = Text(Field(object, "Description"), "Description");
  if (Utf8Length(input.Description) > kMaxDescriptionLength) {
    Refuse("Description is longer than " + std::to_string(kMaxDescriptionLength) + " characters");
  }
  input.Price = Text(Field(object, "Price"), "Price");
  input.Weight = Text(Field(object, "Weight"), "Weight");
  input.Taxable = Taxable(Field(object, "Taxable"));
  input.SmartTaxCode = Text(Field(object, "SmartTaxCode"), "SmartTaxCode");

  for (const auto &cells :
       Rows(Field(object, "Descriptions"), "Descriptions", kDescriptionRows, 6,
            "Cart Description, Price, Weight, Taxable, Smart Tax, Readable Text")) {
    input.Descriptions.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
  }

  if (const nlohmann::json *groups = Field(object, "Options")) {
    if (!groups->is_array() || groups->size() > kOptionGroups) {
      Refuse("Options must be a list of up to three option groups");
    }
    for (std::size_t g = 0; g < groups->size(); ++g) {
      const std::string where = "Options group " + std::to_string(g + 1);
      const nlohmann::json &group = (*groups)[g];
      if (!group.is_object()) Refuse(where + " must be an object with Name and Rows");
      CheckKeys(group, {"Name", "Rows"}, where);
      OptionGroup &target = input.Options[g];
      target.Name = Text(Field(group, "Name"), where + " Name");
      for (const auto &cells : Rows(Field(group, "Rows"), where + " Rows", kOptionRows, 4,
                                    "Cart Description, Price, Weight, Readable Text")) {
        target.Rows.push_back({cells[0], cells[1], cells[2], cells[3]});
      }
    }
  }

  for (const auto &cells : Rows(Field(object, "Related"), "Related", kRelatedRows, 5,
                                "Cart Description, Price, Weight, Taxable, Smart Tax")) {
    input.Related.push_back({cells[0], cells[1], cells[2], cells[3], cells[4]});
  }

  // The long text is held as lines joined by CR LF, whatever line breaks the input used.
  input.LongText = WithCrLfLineBreaks(Text(Field(object, "LongText"), "LongText"));
  input.ProductImageTag = ImageTag(Field(object, "ProductImage"));
  input.Sku = Text(Field(object, "SKU"), "SKU");
  input.Brand = Text(Field(object, "Brand"), "Brand");
  input.Gtin = Text(Field(object, "GTIN"), "GTIN");
  if (!input.Gtin.empty()) {
    if (const std::string error = GtinError(input.Gtin); !error.empty()) Refuse(error);
  }
  const std::string stock = Text(Field(object, "Availability"), "Availability");
  if (const auto availability = ReadAvailability(stock)) {
    input.Stock = *availability;
  } else {
    Refuse("Availability must be \"in stock\", \"out of stock\", \"preorder\" or \"\"");
  }
  return input;
}

}  // namespace vendigo
