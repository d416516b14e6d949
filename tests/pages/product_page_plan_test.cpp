#include "pages/product_page_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/template_package.h"

namespace vendigo {
namespace {

// The page, or the message of the PageTooLarge thrown instead.
template <typename Build>
std::string PageOrLimit(Build build) {
  try {
    return build();
  } catch (const PageTooLarge &tooLarge) {
    return tooLarge.what();
  }
}

ProductPageInput Product(std::string description, std::string longText = "") {
  ProductPageInput input;
  input.Description = std::move(description);
  input.Price = "4.5";
  input.Weight = "1";
  input.LongText = std::move(longText);
  return input;
}

// Texts that hold placeholders or complete those the template has halves of, in every template,
// shipped or with placeholders next to each other, give the page of the replacements made one
// after another.
TEST(ProductPagePlan, BuildsWhatTheReplacementsOneAfterAnotherBuild) {
  const std::string templates[] = {
      ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) + "/single_product.zft"),
      ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) + "/product_range.zft"),
      "<b>%zf_currency%%zf_price%</b>%zf_pelluxaddh%%zf_pelluxadds%\n%zf_all_options% 50%"
      "%zf_description%%<zf_if=\"image\">%zf_product_image%</zf_if=\"image\">%zf_upsells%"
      "%zf_long_text%%zf_product_data%",
      "%zf_%zf_currency%% %zf_pri%zf_long_text%ice% %zf_%zf_upsells%upsells%%ZF_Description%"
      "%zf_pelluxaddh%%zf_pelluxadds%",
  };
  std::vector<ProductPageInput> inputs = {Product("Mug"), Product("20% off %ZF_PRICE%"),
                                          Product("Mug", "%zf_description% %zf_"),
                                          Product("zf_price"), Product("")};
  ProductPageInput range = Product("");
  range.Mode = DescriptionMode::Multiple;
  range.Descriptions = {{"Small", "4", "1", "", "", "Small"}, {"Large %", "6", "2", "", "", "L"}};
  range.Options[0] = {"Size", {{"Small", "0", "0", "Small %zf_price%"}}};
  range.Related = {{"Saucer", "2.25", "1", "", ""}};
  range.Stock = Availability::OutOfStock;
  inputs.push_back(range);
  ProductPageInput pictured = Product("Mug %zf_product_data%");
  pictured.ProductImageTag = "<IMG SRC=\"mug.png\">";
  inputs.push_back(pictured);

  Settings plain;
  plain.Company = "Blue Mug";
  plain.Currency = "$";
  plain.OrderButton = "Order!";
  plain.CurrencyCode = "USD";
  Settings joining = plain;  // a currency sign that makes "%zf_price%" of "%zf_%zf_currency%%"
  joining.Currency = "price";
  joining.OrderButton = "";
  for (const Settings &settings : {plain, joining}) {
    for (const std::string &templateText : templates) {
      const ProductPagePlan plan(templateText, settings);
      for (const ProductPageInput &input : inputs) {
        for (const std::size_t limit : {kMaxPageBytes, std::size_t{1000}}) {
          EXPECT_EQ(PageOrLimit([&] { return plan.Build(input, limit); }), PageOrLimit([&] {
                      return BuildProductPage(templateText, input, settings, limit);
                    }))
              << templateText << "\n"
              << input.Description << " / " << settings.Currency;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vendigo
