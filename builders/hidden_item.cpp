#include "builders/hidden_item.h"

namespace vendigo {

std::string HiddenItemHtml(const OrderItem &item) {
  const OrderItem quoted{QuoteToEntity(item.Description), QuoteToEntity(item.Price),
                         QuoteToEntity(item.Weight), QuoteToEntity(item.Taxable),
                         QuoteToEntity(item.SmartTaxCode)};
  return "<!--webbot bot=\"HTMLMarkup\" Alt=\"&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;\" "
         "StartSpan --><INPUT TYPE=\"HIDDEN\" NAME=\"pelluxadd\" VALUE=\"" +
         OrderItemValue(quoted) + "\"><!--WEBBOT bot=\"HTMLMarkup\" EndSpan -->";
}

}  // namespace vendigo
