#include "builders/simple_elements.h"

namespace vendigo {

namespace {

std::string FormStartHtml(const Settings &settings) {
  return "<form method=\"POST\" action=\"" + settings.CGI_BIN + "\">";
}

}  // namespace

std::string FormContainerHtml(const Settings &settings) {
  return FormStartHtml(settings) + "<p>&nbsp;</p></form>";
}

std::string QuantityBoxHtml() {
  return "<input TYPE=\"TEXT\" NAME=\"quantity\" VALUE=\"1\" SIZE=\"3\" MAXLENGTH=\"3\">";
}

std::string ViewCartLinkHtml(const Settings &settings) {
  return "<a href=\"" + settings.CGI_BIN + "\">" + settings.ViewCart + "</a>";
}

std::string BuyButtonHtml(const Settings &settings) {
  return OrderButtonHtml(settings);
}

std::string EbayFormHtml(const Settings &settings) {
  const std::string button = OrderButtonHtml(settings);
  if (button.empty()) return {};
  return FormStartHtml(settings) +
         "<B>Congratulations on your winning bid!</B>"
         "<P>"
         "Please enter the information we sent you via email."
         "<P>"
         "<TABLE CELLPADDING=\"2\" CELLSPACING=\"2\" BORDER=\"0\" ALIGN=\"\">"
         "   <TR>"
         "    <TD>eBay Item Number:</TD> <TD><INPUT TYPE=\"TEXT\" NAME=\"description\" "
         "SIZE=\"20\" MAXLENGTH=\"40\"></TD>"
         "   </TR>"
         "   <TR>"
         "    <TD>Amount:</TD> <TD><INPUT TYPE=\"TEXT\" NAME=\"price\" SIZE=\"10\" "
         "MAXLENGTH=\"10\"></TD>"
         "   </TR>"
         "   <TR>"
         "    <TD>Shipping:</TD> <TD><INPUT TYPE=\"TEXT\" NAME=\"eop_Shipping\" SIZE=\"10\" "
         "MAXLENGTH=\"10\"></TD>"
         "   </TR>"
         "</TABLE>" +
         button + "</FORM>";
}

}  // namespace vendigo
