#include "builders/simple_elements.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vendigo {
namespace {

Settings ShopSettings(std::string orderButton = "Order!") {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.OrderButton = std::move(orderButton);
  return settings;
}

struct FragmentCase {
  const char *name;
  std::function<std::string(const Settings &)> build;
  Settings settings;
  std::string expected;
};

TEST(SimpleElements, BuildExactlyTheirFragments) {
  Settings oddValues = ShopSettings();
  oddValues.CGI_BIN = R"(http://shop.example/cgi-bin/pellux.cgi?a="1"&b=<2>)";
  oddValues.ViewCart = R"(<b>"Cart"</b> & more)";

  const std::vector<FragmentCase> cases = {
      {"form container", FormContainerHtml, ShopSettings(),
       R"(<form method="POST" action="/cgi-bin/pellux.cgi"><p>&nbsp;</p></form>)"},
      {"form container with the unconfigured cart location", FormContainerHtml, DefaultSettings(),
       R"(<form method="POST" action="<Enter the URL to the Pellux CGI Program here>"><p>&nbsp;</p></form>)"},
      {"quantity box", [](const Settings &) { return QuantityBoxHtml(); }, ShopSettings(),
       R"(<input TYPE="TEXT" NAME="quantity" VALUE="1" SIZE="3" MAXLENGTH="3">)"},
      {"view cart link", ViewCartLinkHtml, ShopSettings(),
       R"(<a href="/cgi-bin/pellux.cgi">View Your Shopping Cart</a>)"},
      {"view cart link is not escaped", ViewCartLinkHtml, oddValues,
       R"(<a href="http://shop.example/cgi-bin/pellux.cgi?a="1"&b=<2>"><b>"Cart"</b> & more</a>)"},
      {"buy button", BuyButtonHtml, ShopSettings(), R"(<input TYPE="SUBMIT" VALUE="Order!">)"},
      {"buy button from an image tag", BuyButtonHtml, ShopSettings(R"(<img src="buy.gif">)"),
       R"(<img src="buy.gif">)"},
      {"buy button with an empty order button", BuyButtonHtml, ShopSettings(""), ""},
      {"buy button with a one-character order button", BuyButtonHtml, ShopSettings("O"), ""},
      {"ebay form", EbayFormHtml, ShopSettings(),
       R"(<form method="POST" action="/cgi-bin/pellux.cgi"><B>Congratulations on your winning bid!</B><P>Please enter the information we sent you via email.<P><TABLE CELLPADDING="2" CELLSPACING="2" BORDER="0" ALIGN="">   <TR>    <TD>eBay Item Number:</TD> <TD><INPUT TYPE="TEXT" NAME="description" SIZE="20" MAXLENGTH="40"></TD>   </TR>   <TR>    <TD>Amount:</TD> <TD><INPUT TYPE="TEXT" NAME="price" SIZE="10" MAXLENGTH="10"></TD>   </TR>   <TR>    <TD>Shipping:</TD> <TD><INPUT TYPE="TEXT" NAME="eop_Shipping" SIZE="10" MAXLENGTH="10"></TD>   </TR></TABLE><input TYPE="SUBMIT" VALUE="Order!"></FORM>)"},
      {"ebay form carries an image button unchanged", EbayFormHtml,
       ShopSettings(R"(<input type="image" src="pay.gif">)"),
       R"(<form method="POST" action="/cgi-bin/pellux.cgi"><B>Congratulations on your winning bid!</B><P>Please enter the information we sent you via email.<P><TABLE CELLPADDING="2" CELLSPACING="2" BORDER="0" ALIGN="">   <TR>    <TD>eBay Item Number:</TD> <TD><INPUT TYPE="TEXT" NAME="description" SIZE="20" MAXLENGTH="40"></TD>   </TR>   <TR>    <TD>Amount:</TD> <TD><INPUT TYPE="TEXT" NAME="price" SIZE="10" MAXLENGTH="10"></TD>   </TR>   <TR>    <TD>Shipping:</TD> <TD><INPUT TYPE="TEXT" NAME="eop_Shipping" SIZE="10" MAXLENGTH="10"></TD>   </TR></TABLE><input type="image" src="pay.gif"></FORM>)"},
      {"ebay form without an order button", EbayFormHtml, ShopSettings("!"), ""},
  };
  for (const FragmentCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.build(c.settings), c.expected);
  }
}

}  // namespace
}  // namespace vendigo
