#include "builders/price_kit.h"

#include "builders/price_rules.h"

namespace vendigo {

TPriceKit::TPriceKit() : PriceRequired(true) {}

void TPriceKit::SetCustomizedStrings(const std::vector<std::string> &lines) {
  if (&lines != &customizedStrings_) customizedStrings_.assign(lines.begin(), lines.end());
}

std::string TPriceKit::FormatPrice(double value) const {
  return vendigo::FormatPrice(value);
}

std::string TPriceKit::ReplaceText(std::string_view pattern, std::string_view source,
                                   std::string_view replacement) const {
  return vendigo::ReplaceText(pattern, source, replacement);
}

}  // namespace vendigo
