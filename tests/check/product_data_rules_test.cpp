#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "check/site_check.h"
#include "cli/cli_commands.h"
#include "core/whole_file.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/finding_lines.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

using testing::FindingLines;
using testing::TempFolder;

Settings EuroShop(const std::string &currencyCode = "EUR") {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.cgi";
  settings.CurrencyCode = currencyCode;
  return settings;
}

struct DataCase {
  std::string page;
  std::string findings;
  std::string currencyCode = "EUR";
};

TEST(ProductDataRulesTest, EachRuleFindsItsFault) {
  const std::string form = "<form method=post action=\"https://shop.example/cgi-bin/pellux.cgi\">";
  const std::string mug = form + "<input type=hidden name=pelluxadd value=\"Mug^4.50^1^^\">";
  const std::string button = "<input type=submit value=Order!></form>";
  const auto data = [](const std::string &offers) {
    return "<script type=\"application/ld+json\">{\"@type\":\"Product\",\"offers\":" + offers +
           "}</script>\n";
  };
  const std::string catalogue =
      "<!DOCTYPE html><html><head><meta charset=utf-8><title>Mug</title>\r\n</head><body>\r\n"
      "<p><a href=\"index.html\">All products</a></p>\r\n";
  const std::string kNoIndex =
      "p.html:3:12: warning: the link goes to \"index.html\", which does not exist "
      "[missing-link]\n";
  const DataCase cases[] = {
      // The hidden price edited by hand, the data left; a related product's price is no offer.
      {data(R"({"price":5,"priceCurrency":"EUR"})") + mug +
           "<input type=checkbox name=addit value=\"Saucer^5^1^^\">" + button,
       "p.html:1:73: warning: the product data gives the price 5, but the page sends \"Mug\" at "
       "4.50 [product-data-price-differs]\n"},
      // Named offers stand for the items of their name; lines end in CR LF inside the script.
      {"<script type=application/ld+json>\r\n[{\"@type\": [\"Product\"], \"offers\": [\r\n"
       "{\"name\": \"Red\", \"price\": \"4\"},\r\n  {\"name\": \"Blue\", \"price\": "
       "4}]}]</script>" +
           form +
           "<select name=pelluxadd><option value=\"Red^4^1^^\">Red<option "
           "value=\"Blue^5^1^^\">Blue</select>" +
           button,
       "p.html:4:29: warning: the product data gives the price 4, but the page sends \"Blue\" at 5 "
       "[product-data-price-differs]\n"},
      {"<meta property=\"product:price:amount\" content=\"4.05\">\n"
       "<meta property=\"product:price:currency\" content=\"USD\">\n" +
           mug + button,
       "p.html:1:47: warning: the product:price:amount tag gives the price 4.05, but the page "
       "sends \"Mug\" at 4.50 [product-data-price-differs]\n"
       "p.html:2:49: warning: the product:price:currency tag gives the currency USD, but the "
       "settings' currency code is EUR [product-data-price-differs]\n"},
      {data(R"({"price":4.5,"availability":"https://schema.org/OutOfStock"})") + mug + button,
       "p.html:1:92: warning: the product data says OutOfStock, but the page's order button "
       "\"Order!\" is enabled [product-data-price-differs]\n"},
      // Enter in the quantity would send the form, but no shopper sees a way to order.
      {data(
           R"({"price":"4.50","priceCurrency":"USD","availability":"http://schema.org/InStock"})") +
           mug + "<input name=quantity value=1></form>",
       "p.html:1:96: warning: the product data gives the currency USD, but the settings' currency "
       "code is EUR [product-data-price-differs]\n"
       "p.html:1:117: warning: the product data says InStock, but the page has no enabled order "
       "button or link to the cart [product-data-price-differs]\n"},
      {"<script type=\"application/ld+json\">\n{\"@type\": \"Product\",}\n</script>",
       "p.html:1:1: warning: the ld+json script is no valid JSON (syntax error while parsing "
       "object key - unexpected '}'; expected string literal at 2:21), so search engines ignore "
       "the data it holds [product-data-invalid]\n"},
      {catalogue + mug + button,
       "p.html:1:22: warning: the catalogue page has no product data for search engines: build "
       "the catalogue again with a currency code in Options (now EUR) and the site's address "
       "(Build Catalogue's \"Site address\", vendigo-html catalogue --base-url), so the data "
       "also holds the page's address [product-data-missing]\n" +
           kNoIndex},
      // Without a currency code the catalogue gives no data on purpose.
      {catalogue + mug + button, kNoIndex, ""},
  };
  for (const DataCase &test : cases) {
    EXPECT_EQ(FindingLines(CheckPage("p.html", test.page, EuroShop(test.currencyCode))),
              test.findings)
        << test.page;
  }
}

// Every kind of page the catalogue makes, on both shipped templates, with its data and
// addresses: not one finding, and every product page carries its data.
TEST(ProductDataRulesTest, CataloguePagesGiveNoFinding) {
  const std::string csv =
      "Description,Price,Weight,Availability,Mode,Descriptions,Related\n"
      "Mug,4.50,1,,,,\"Saucer | 2.25 | 1\"\n"
      "Plate,3,1,out of stock,,,\n"
      "Bowl,1234.5,2,preorder,,,\n"
      "Cups,,,,multiple,\"Red cup | 4 | 1 | | | Red cup\nGreen cup | 5.5 | 2 | | | Green cup\",\n"
      "Lone cup,,,out of stock,multiple,\"Only cup | 7 | 1 | | | Only cup\",\n";
  for (const char *name : {"single_product", "product_range"}) {
    TempFolder folder;
    CatalogueCsvReader rows(csv);
    CatalogueOptions options;
    options.SiteAddress = "https://shop.example/";
    const CatalogueReport report =
        BuildCatalogue(ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) + "/" + name + ".zft"),
                       rows, EuroShop(), folder.path(), folder.path() / "out", options);
    ASSERT_EQ(report.PagesWritten, 5u);
    const SiteCheckResult result = CheckSite({(folder.path() / "out").string()}, EuroShop());
    EXPECT_EQ(FindingLines(result.findings), "") << name;
    int withData = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder.path() / "out")) {
      withData +=
          TempFolder::ReadBytes(entry.path()).find("application/ld+json") != std::string::npos;
    }
    EXPECT_EQ(withData, 5) << name;
  }
}

TEST(ProductDataRulesTest, WizardPagesGiveNoFinding) {
  const cli::Command *page = cli::FindCommand("page");
  for (const char *name : {"single_product.zft", "product_range.zft"}) {
    for (
        const char *input :
        {R"({"Description": "Blue <b>mug</b>", "Price": "4.5", "Related": [["Saucer", "1", "0"]]})",
         R"({"Mode": "multiple", "Descriptions": [["Red mug", "4", "1", "", "", "Red mug"],
              ["Green mug", "5.50", "2", "1", "B", "Green mug"]]})"}) {
      const std::string html =
          page->buildFromTemplate(EuroShop(), nlohmann::json::parse(input),
                                  std::string(VENDIGO_TEMPLATES_DIR) + "/" + name);
      ASSERT_NE(html.find("application/ld+json"), std::string::npos) << html;
      EXPECT_EQ(FindingLines(CheckPage("p.html", html, EuroShop())), "") << html;
    }
  }
}

}  // namespace
}  // namespace vendigo
