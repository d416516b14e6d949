#include "builders/text_option.h"

#include <optional>

#include "builders/order_item_value.h"
#include "builders/price_rules.h"

namespace vendigo {

std::string TextOptionHtml(const Settings &settings, const TextOption &option) {
  std::string html = option.caption + ": <INPUT TYPE=\"TEXT\" NAME=\"textadd_" +
                     QuoteToEntity(option.caption) + "_" + QuoteToEntity(option.price) +
                     "\" SIZE=\"" + QuoteToEntity(option.size) + "\" MAXLENGTH=\"" +
                     QuoteToEntity(option.maxLength) + "\"><BR><FONT SIZE=\"1\">Maximum " +
                     option.maxLength + " Characters";
  // A price of 0, or one that does not convert, adds nothing to the note and is not reported.
  const std::optional<double> price = ConvertPrice(option.price);
  if (price && *price > 0) html += " ~" + settings.Currency + option.price;
  return html + "</FONT>";
}

}  // namespace vendigo
