#include "builders/quick_link.h"

#include <optional>

#include "builders/price_rules.h"
#include "builders/url_encode.h"

namespace vendigo {

const std::vector<std::string> &StatusTextChoices() {
  static const std::vector<std::string> choices = {"Place item in shopping cart.", "Order Now!",
                                                   kDefaultStatusText, "Buy It!"};
  return choices;
}

CurrencyConversionError::CurrencyConversionError(const std::string &price)
    : std::runtime_error("Currency conversion error \"" + price + "\"") {}

std::string QuickLinkHtml(const Settings &settings, const QuickLink &link) {
  const OrderItem &item = link.item;
  std::string html = "<A HREF=\"" + settings.CGI_BIN + "?pelluxadd=" + URLEnCode(item.Description) +
                     "^" + URLEnCode(item.Price) + "^" + URLEnCode(item.Weight) + "^" +
                     URLEnCode(item.Taxable) + "^" + URLEnCode(item.SmartTaxCode) + "\"";
  if (!link.statusText.empty()) {
    // The status text sits in a single-quoted script string inside a double-quoted attribute.
    const std::string status = QuoteToEntity(ReplaceText("'", link.statusText, "\\'"));
    html += " onMouseOver=\"self.status='" + status + "';  return true\"" +
            "onMouseOut=\"self.status=''; return true\">" + link.linkCaption + "</A>";
  } else {
    html += " onMouseOver=\"self.status='';  return true\">" + link.linkCaption + "</A>";
  }
  if (link.brackets) html = "[" + html + "]";
  if (link.insertProductInfo) {
    const std::optional<double> price = ConvertPrice(item.Price);
    if (!price) throw CurrencyConversionError(item.Price);
    html = "<b>" + item.Description + "</b> -- <b><font color=\"#FF0000\">" + settings.Currency +
           FormatPrice(*price) + "</font></b> " + html;
  }
  return html;
}

}  // namespace vendigo
