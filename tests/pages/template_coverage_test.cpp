#include "pages/template_coverage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/template_package.h"

namespace vendigo {
namespace {

// Something in every entry of the wizard, in the given mode.
ProductPageInput Everything(DescriptionMode mode) {
  ProductPageInput input;
  input.Mode = mode;
  input.Description = "Mug";
  input.Price = "4.50";
  input.Weight = "1";
  input.Descriptions = {{"Mug", "4.50", "1", "", "", "Mug -- $4.50"}};
  input.Options[0] = {"Size", {{"Large", "1", "0", "Large"}}};
  input.Related = {{"Cup", "2", "1", "", ""}};
  input.LongText = "Hand made.";
  input.ProductImageTag = "<IMG SRC=\"file:///mug.png\">";
  return input;
}

Settings Shop() {
  Settings settings = DefaultSettings();
  settings.PelluxGeneration = 4;
  return settings;
}

TEST(EntriesNotShown, NamesWhatTheTemplateHasNoPlaceFor) {
  struct Case {
    const char *name;
    std::string templateText;
    ProductPageInput input;
    std::string line;
  };
  ProductPageInput plain;
  plain.Description = "Mug";
  const std::vector<Case> cases = {
      {"all placeholders, any letter case",
       "%ZF_Description%%zf_price%%zf_pelluxaddh%%zf_pelluxadds%%zf_product_image%%zf_long_text%"
       "%zf_all_options%%zf_upsells%",
       Everything(DescriptionMode::Single), ""},
      {"single mode, only the description", "<h1>%zf_description%</h1>",
       Everything(DescriptionMode::Single),
       "This template does not show your price, weight and tax, product image, long description, "
       "options, related products."},
      {"multiple mode needs the list only",
       "%zf_pelluxadds%%zf_product_image%%zf_long_text%"
       "%zf_all_options%%zf_upsells%",
       Everything(DescriptionMode::Multiple), ""},
      {"multiple mode without the list", "%zf_description%%zf_price%%zf_pelluxaddh%",
       Everything(DescriptionMode::Multiple),
       "This template does not show your product list, product image, long description, options, "
       "related products."},
      {"the image placeholder only where no image is chosen",
       "%zf_description%<zf_if=\"image\">x<zf_else=\"image\">%zf_product_image%</zf_if=\"image\">",
       plain, ""},
      {"the image placeholder only where no image is chosen, with an image",
       "%zf_description%<zf_if=\"image\">x<zf_else=\"image\">%zf_product_image%</zf_if=\"image\">",
       [&] {
         ProductPageInput withImage = plain;
         withImage.ProductImageTag = "<IMG>";
         return withImage;
       }(),
       "This template does not show your product image."},
      {"nothing entered", "<p>hello</p>", ProductPageInput{}, ""},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(NotShownLine(EntriesNotShown(c.templateText, c.input, Shop())), c.line) << c.name;
  }
}

TEST(EntriesNotShown, TheShippedTemplatesShowEverythingInBothModes) {
  const std::filesystem::path folder = VENDIGO_TEMPLATES_DIR;
  for (const std::string &name : ListTemplates(folder)) {
    for (const DescriptionMode mode : {DescriptionMode::Single, DescriptionMode::Multiple}) {
      EXPECT_EQ(EntriesNotShown(ReadTemplateText(folder / name), Everything(mode), Shop()),
                std::vector<std::string>{})
          << name << (mode == DescriptionMode::Single ? " single" : " multiple");
    }
  }
}

}  // namespace
}  // namespace vendigo
