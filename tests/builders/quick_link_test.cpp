#include "builders/quick_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendigo {
namespace {

Settings Shop() {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.Currency = "$";
  return settings;
}

QuickLink BlueMug() {
  QuickLink link;
  link.item = {"Blue Mug", "4.50", "2", "", ""};
  return link;
}

template <typename Change>
QuickLink BlueMugWith(Change change) {
  QuickLink link = BlueMug();
  change(link);
  return link;
}

TEST(QuickLinkHtml, BuildsTheWholeAnchor) {
  Settings euro = Shop();
  euro.Currency = "\xE2\x82\xAC";
  euro.CGI_BIN = "http://shop.example/cgi-bin/pellux.exe?shop=1&x=\"y\"";

  struct Case {
    const char *name;
    Settings settings;
    QuickLink link;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"defaults", Shop(), BlueMug(),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"},
      {"apostrophes in the status text", Shop(),
       BlueMugWith([](QuickLink &l) { l.statusText = "It's Bob's"; }),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='It\'s Bob\'s';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"},
      {"double quotes in the status text become entities after the apostrophe rule", Shop(),
       BlueMugWith([](QuickLink &l) { l.statusText = R"(Say "it's mine")"; }),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Say &quot;it\'s mine&quot;';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"},
      {"empty status text: short form, no onMouseOut", Shop(),
       BlueMugWith([](QuickLink &l) { l.statusText = ""; }),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='';  return true">BUY!</A>)"},
      {"every field encoded, carets plain", Shop(), BlueMugWith([](QuickLink &l) {
         l.item = {"Salt & Pepper", "1.2.3", "10", "1", "TX 1/a"};
         l.statusText = "Buy It!";
         l.linkCaption = "Order";
       }),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Salt+%26+Pepper^1.2.3^10^1^TX+1/a" onMouseOver="self.status='Buy It!';  return true"onMouseOut="self.status=''; return true">Order</A>)"},
      {"quotes, carets and accents in the description are encoded", Shop(),
       BlueMugWith([](QuickLink &l) {
         l.item.Description = "12\" Caf\xC3\xA9^Mug";
         l.statusText = "";
       }),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=12%22+Caf%E9%5EMug^4.50^2^^" onMouseOver="self.status='';  return true">BUY!</A>)"},
      {"empty weight, not taxable, no code", Shop(), BlueMugWith([](QuickLink &l) {
         l.item = {"Mug", "4", "", "0", ""};
         l.statusText = "";
       }),
       R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Mug^4^^0^" onMouseOver="self.status='';  return true">BUY!</A>)"},
      {"caption markup and cart URL written as they are", euro, BlueMugWith([](QuickLink &l) {
         l.linkCaption = R"(<img src="buy.gif">)";
         l.statusText = "";
       }),
       R"(<A HREF="http://shop.example/cgi-bin/pellux.exe?shop=1&x="y"?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='';  return true"><img src="buy.gif"></A>)"},
      {"brackets", Shop(), BlueMugWith([](QuickLink &l) { l.brackets = true; }),
       R"([<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>])"},
      {"product info", Shop(), BlueMugWith([](QuickLink &l) { l.insertProductInfo = true; }),
       R"(<b>Blue Mug</b> -- <b><font color="#FF0000">$4.50</font></b> <A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='Clicking this link will add this item to your shopping cart.';  return true"onMouseOut="self.status=''; return true">BUY!</A>)"},
      {"product info stands before the opening bracket", Shop(), BlueMugWith([](QuickLink &l) {
         l.insertProductInfo = true;
         l.brackets = true;
         l.statusText = "";
       }),
       R"(<b>Blue Mug</b> -- <b><font color="#FF0000">$4.50</font></b> [<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status='';  return true">BUY!</A>])"},
      {"product info: description as typed, price formatted", euro, BlueMugWith([](QuickLink &l) {
         l.item = {"Salt & \"Pepper\"", "1234.5", "", "", ""};
         l.insertProductInfo = true;
         l.statusText = "";
       }),
       "<b>Salt & \"Pepper\"</b> -- <b><font color=\"#FF0000\">\xE2\x82\xAC"
       "1,234.50</font></b> "
       "<A HREF=\"http://shop.example/cgi-bin/pellux.exe?shop=1&x=\"y\"?pelluxadd="
       "Salt+%26+%22Pepper%22^1234.5^^^\" onMouseOver=\"self.status='';  return true\">BUY!</A>"},
      {"product info with a lone point reads as zero", Shop(), BlueMugWith([](QuickLink &l) {
         l.item = {"Free", ".", "", "", ""};
         l.insertProductInfo = true;
         l.statusText = "";
       }),
       R"(<b>Free</b> -- <b><font color="#FF0000">$0.00</font></b> <A HREF="/cgi-bin/pellux.cgi?pelluxadd=Free^.^^^" onMouseOver="self.status='';  return true">BUY!</A>)"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QuickLinkHtml(c.settings, c.link), c.expected);
  }
}

// The status text sits in a single-quoted script string: whatever is typed stays in the string.
TEST(QuickLinkHtml, TheStatusTextStaysText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"(\';alert(1);//)", R"(\\\';alert(1);//)"},
      {R"(C:\)", R"(C:\\)"},
      {R"(a\b \\ c)", R"(a\\b \\\\ c)"},
      {"two\r\nlines\n", R"(two\r\nlines\n)"},
  };
  for (const auto &[status, script] : cases) {
    SCOPED_TRACE(status);
    EXPECT_EQ(
        QuickLinkHtml(Shop(), BlueMugWith([&](QuickLink &l) { l.statusText = status; })),
        R"(<A HREF="/cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^^" onMouseOver="self.status=')" +
            script + R"(';  return true"onMouseOut="self.status=''; return true">BUY!</A>)");
  }
}

TEST(QuickLinkHtml, ProductInfoWithAPriceThatDoesNotConvertFails) {
  struct Case {
    const char *price;
    const char *message;
  };
  const std::vector<Case> cases = {
      {"1.2.3", R"(Currency conversion error "1.2.3")"},
      {"", R"(Currency conversion error "")"},
      {"..", R"(Currency conversion error "..")"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.price);
    QuickLink link = BlueMug();
    link.item.Price = c.price;
    link.insertProductInfo = true;
    try {
      QuickLinkHtml(Shop(), link);
      ADD_FAILURE() << "no error";
    } catch (const CurrencyConversionError &error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

}  // namespace
}  // namespace vendigo
