#include "builders/order_item_value.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace vendigo {
namespace {

struct Case {
  OrderItem item;
  std::string item_form, option_form, underscore_form;
};

TEST(OrderItemValueTest, Forms) {
  const std::vector<Case> cases = {
      {{"Mug", "4.50", "1", TaxableText(TaxState::Grayed), ""},
       "Mug^4.50^1^^",
       "Mug^4.50^1",
       "Mug_4.50_1__"},
      {{"Mug", "4.50", "1", TaxableText(TaxState::Checked), "TX1"},
       "Mug^4.50^1^1^TX1",
       "Mug^4.50^1",
       "Mug_4.50_1_1_TX1"},
      {{"Mug", "4.50", "1", TaxableText(TaxState::Unchecked), ""},
       "Mug^4.50^1^0^",
       "Mug^4.50^1",
       "Mug_4.50_1_0_"},
      // Fields go in as they are: a caret gives a sixth field, quotes and blanks stay.
      {{"Big^Mug", "4.50", "1", "", ""}, "Big^Mug^4.50^1^^", "Big^Mug^4.50^1", "Big^Mug_4.50_1__"},
      {{" 12\" Plate <b>", "00.00", "0", "1", "a_b"},
       " 12\" Plate <b>^00.00^0^1^a_b",
       " 12\" Plate <b>^00.00^0",
       " 12\" Plate <b>_00.00_0_1_a_b"},
      {{}, "^^^^", "^^", "____"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(OrderItemValue(c.item), c.item_form);
    EXPECT_EQ(OrderItemOptionValue(c.item), c.option_form);
    EXPECT_EQ(OrderItemUnderscoreValue(c.item), c.underscore_form);
  }
}

// A Taxable field holds exactly "1", "0" or nothing: no blanks, no leading zeros, no other number.
TEST(OrderItemValueTest, TaxableTexts) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},    {"0", true},   {"1", true},  {"2", false},   {"10", false},
      {"01", false}, {" 1", false}, {"x", false}, {"yes", false},
  };
  for (const auto &[text, taxable] : cases) EXPECT_EQ(IsTaxableText(text), taxable) << text;
}

TEST(OrderItemValueTest, QuoteToEntity) {
  EXPECT_EQ(QuoteToEntity("12\" Plate"), "12&quot; Plate");
  EXPECT_EQ(QuoteToEntity("\"\"a\"&quot;"), "&quot;&quot;a&quot;&quot;");
  EXPECT_EQ(QuoteToEntity("it's <b> & ^"), "it's <b> & ^");
  EXPECT_EQ(QuoteToEntity(""), "");
}

}  // namespace
}  // namespace vendigo
