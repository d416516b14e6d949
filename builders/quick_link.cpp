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
    // A backslash would escape what follows it, an apostrophe end the string and a line break
    // leave it open, so each is written as its escape: whatever is typed stays text.
    std::string script = ReplaceText("\\", link.statusText, "\\\\");
    script = ReplaceText("'", script, "\\'");
    script = ReplaceText("\r", script, "\\r");
    script = ReplaceText("\n", script, "\\n");
    const std::string status = QuoteToEntity(script);
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
