// What search engines and shopping feeds are told of a product, and the inputs that carry it.

#include "pages/product_data.h"

#include <gtest/gtest.h>

#include "core/currency_code.h"
#include "pages/catalogue_csv.h"

namespace vendigo {
namespace {

TEST(ProductData, ChecksGtinsAndAvailability) {
  const std::vector<std::pair<std::string, std::string>> gtins = {
      {"96385074", ""},
      {"036000291452", ""},
      {"4006381333931", ""},
      {"10012345678902", ""},
      {"4006381333932", "GTIN \"4006381333932\" has the check digit 2; its digits make 1"},
      {"40063813339", "GTIN \"40063813339\" must have 8, 12, 13 or 14 digits"},
      {"4006381333 93", "GTIN \"4006381333 93\" must be digits only"},
  };
  for (const auto &[gtin, error] : gtins) EXPECT_EQ(GtinError(gtin), error) << gtin;

  const std::vector<std::pair<std::string, std::optional<Availability>>> stocks = {
      {"", Availability::InStock},
      {"In Stock", Availability::InStock},
      {"out of stock", Availability::OutOfStock},
      {"pre-order", Availability::PreOrder},
      {"sold out", std::nullopt},
  };
  for (const auto &[text, stock] : stocks) EXPECT_EQ(ReadAvailability(text), stock) << text;
}

TEST(ProductData, TakesTheCurrencyCodeFromTheSettingOrAnUnambiguousSign) {
  struct Case {
    const char *sign;
    const char *chosen;
    const char *code;
  };
  const std::vector<Case> cases = {
      {"\xE2\x82\xAC", "", "EUR"},
      {"\xC2\xA3", "", "GBP"},
      {" chf", "", "CHF"},
      {"US$", "", "USD"},
      {"$", "", ""},
      {"\xC2\xA5", "", ""},
      {"$", "cad", "CAD"},
      {"\xE2\x82\xAC", "US", "EUR"},
  };
  for (const Case &c : cases) {
    Settings settings = DefaultSettings();
    settings.Currency = c.sign;
    settings.CurrencyCode = c.chosen;
    EXPECT_EQ(ProductCurrencyCode(settings), c.code) << c.sign << " " << c.chosen;
  }
}

TEST(ProductData, KeepsTheSiteAddressToHttpAddresses) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"https://shop.example", "https://shop.example/"},
      {"http://shop.example/cat/", "http://shop.example/cat/"},
      {"ftp://shop.example/", ""},
      {"https:///x", ""},
      {"https://shop.example/a b", ""},
      {"https://shop.example/?q", ""},
      {"shop.example", ""},
  };
  for (const auto &[text, address] : cases) {
    std::string error;
    EXPECT_EQ(SiteAddress(text, error), address) << text;
    EXPECT_EQ(error.empty(), !address.empty()) << text;
  }
}

TEST(ProductData, NoTextEndsTheScriptAndEachOrderedItemIsAnOffer) {
  ProductPageInput input;
  input.Mode = DescriptionMode::Multiple;
  input.Description = "Mugs </script><!-- & \"cups\"";
  input.Descriptions = {{"Small", "3.5", "", "", "", ""},
                        {"No price", "", "", "", "", ""},
                        {"Big", "7.25", "", "", "", ""}};
  input.LongText = "Made <b>by hand</b>,\r\nglazed &amp; fired";
  input.Sku = "M-1";
  input.Stock = Availability::PreOrder;
  Settings settings = DefaultSettings();
  ProductFacts facts = ProductFactsOf(input, settings, false);
  facts.CurrencyCode = "EUR";
  facts.Url = "https://shop.example/mugs.html";
  EXPECT_EQ(
      ProductDataScript(facts),
      R"(<script type="application/ld+json">{"@context":"https://schema.org","@type":"Product",)"
      R"("description":"Made by hand, glazed & fired","name":"Mugs \u003c/script>\u003c!-- & \"cups\"",)"
      R"("offers":[{"@type":"Offer","availability":"https://schema.org/PreOrder","name":"Small",)"
      R"("price":3.5,"priceCurrency":"EUR","url":"https://shop.example/mugs.html"},)"
      R"({"@type":"Offer","availability":"https://schema.org/PreOrder","name":"Big","price":7.25,)"
      R"("priceCurrency":"EUR","url":"https://shop.example/mugs.html"}],"sku":"M-1",)"
      R"("url":"https://shop.example/mugs.html"}</script>)");
  EXPECT_EQ(FeedPrice(7.25, "EUR"), "7.25 EUR");
  EXPECT_EQ(FeedPrice(12, "GBP"), "12.00 GBP");
  EXPECT_EQ(FeedPrice(0.125, "USD"), "0.125 USD");
}

TEST(ProductData, SpreadsheetRowsWithBadStockOrGtinAreErrorsOfTheirLine) {
  const std::vector<CatalogueRow> rows = ReadCatalogueCsv(
      "Description,Price,Availability,GTIN,SKU,Brand\n"
      "Mug,4,out of stock,96385074, M-1 ,Acme\n"
      "Cup,2,sold out,,,\n"
      "Pot,3,,96385075,,\n");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Error, "");
  EXPECT_EQ(rows[0].Page.Stock, Availability::OutOfStock);
  EXPECT_EQ(rows[0].Page.Gtin + "|" + rows[0].Page.Sku + "|" + rows[0].Page.Brand,
            "96385074|M-1|Acme");
  EXPECT_EQ(rows[1].Line, 3u);
  EXPECT_EQ(rows[1].Error,
            "Availability \"sold out\" must be in stock, out of stock, preorder or empty");
  EXPECT_EQ(rows[2].Error, "GTIN \"96385075\" has the check digit 5; its digits make 4");
}

TEST(ProductData, OutOfStockTakesTheOrderButtonAway) {
  const std::string withNote =
      "<zf_if=\"instock\">%zf_addcart_button%<zf_else=\"instock\">Out of stock</zf_if=\"instock\">";
  struct Case {
    const char *name;
    std::string templateText;
    std::string orderButton;
    Availability stock;
    std::string page;
  };
  const std::vector<Case> cases = {
      {"in stock, with the note", withNote, "Order!", Availability::InStock,
       R"(<input TYPE="SUBMIT" VALUE="Order!">)"},
      {"out of stock, with the note", withNote, "Order!", Availability::OutOfStock, "Out of stock"},
      {"out of stock, no note", "[%zf_addcart_button%]", "Order!", Availability::OutOfStock,
       R"([<input TYPE="SUBMIT" VALUE="Order!" disabled>])"},
      {"out of stock, a button of HTML", "[%zf_addcart_button%]", "<img src=\"b.gif\">",
       Availability::OutOfStock, "[]"},
      {"in stock, no note", "[%zf_addcart_button%]", "Order!", Availability::InStock,
       R"([<input TYPE="SUBMIT" VALUE="Order!">])"},
  };
  for (const Case &c : cases) {
    Settings settings = DefaultSettings();
    settings.OrderButton = c.orderButton;
    ProductPageInput input;
    input.Stock = c.stock;
    EXPECT_EQ(BuildProductPage(c.templateText, input, settings), c.page) << c.name;
  }
}

TEST(ProductData, TheWizardPlaceholderTakesTheDataOnlyWithACurrencyCode) {
  ProductPageInput input;
  input.Description = "Blue <b>mug</b> &amp; saucer";
  input.Price = "19.9";
  Settings settings = DefaultSettings();
  EXPECT_EQ(BuildProductPage("[%zf_product_data%]", input, settings), "[]");
  settings.CurrencyCode = "usd";
  EXPECT_EQ(BuildProductPage("[%zf_product_data%]", input, settings),
            R"([<script type="application/ld+json">{"@context":"https://schema.org",)"
            R"("@type":"Product","description":"Blue mug & saucer","name":"Blue mug & saucer",)"
            R"("offers":{"@type":"Offer","availability":"https://schema.org/InStock",)"
            R"("price":19.9,"priceCurrency":"USD"}}</script>])");
}

}  // namespace
}  // namespace vendigo
