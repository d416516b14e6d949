#include "pages/template_coverage.h"

#include <algorithm>

#include "builders/order_item_value.h"
#include "core/text_encoding.h"
#include "pages/template_engine.h"

namespace vendigo {
namespace {}  // namespace

std::vector<std::string> EntriesNotShown(std::string_view templateText,
                                         const ProductPageInput &typed, const Settings &settings) {
  const ProductPageInput input = WithHiddenCellsCleared(typed, settings);
  const std::string page =
      AsciiLowered(ParseIfBlocks(templateText, "image", !input.ProductImageTag.empty()));
  const bool single = input.Mode == DescriptionMode::Single;
  struct Entry {
    const char *name;
    bool entered;
    const char *placeholder;
  };
  const Entry entries[] = {
      {"description", single && !input.Description.empty(), "%zf_description%"},
      {"price", single && !input.Price.empty(), "%zf_price%"},
      {"weight and tax",
       single && (!input.Weight.empty() || input.Taxable != TaxState::Grayed ||
                  !input.SmartTaxCode.empty()),
       "%zf_pelluxaddh%"},
      {"product list", !single && !GetPelluxAddSelect(input.Descriptions, settings).empty(),
       "%zf_pelluxadds%"},
      {"product image", !input.ProductImageTag.empty(), "%zf_product_image%"},
      {"long description", !input.LongText.empty(), "%zf_long_text%"},
      {"options", !GetEops(input.Options).empty(), "%zf_all_options%"},
      {"related products", !GetUpsells(input.Related, settings.Currency).empty(), "%zf_upsells%"},
  };
  std::vector<std::string> missing;
  for (const Entry &entry : entries) {
    if (entry.entered && page.find(entry.placeholder) == std::string::npos) {
      missing.push_back(entry.name);
    }
  }
  return missing;
}

std::string NotShownLine(const std::vector<std::string> &entries) {
  if (entries.empty()) return "";
  std::string line = "This template does not show your ";
  for (std::size_t i = 0; i < entries.size(); ++i) line += (i ? ", " : "") + entries[i];
  return line + ".";
}

}  // namespace vendigo
