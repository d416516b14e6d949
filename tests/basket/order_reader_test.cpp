#include "basket/order_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builders/price_rules.h"

namespace vendigo {
namespace {

// One line of text per basket line, or per refusal, so a case reads as what a shopper would see.
std::string Summary(const Order &order) {
  std::string text;
  for (const Refusal &refusal : order.refusals) {
    text += "refused " + refusal.field + ": " + refusal.reason + "\n";
  }
  for (const BasketLine &line : order.lines) {
    text += line.description + " x" + std::to_string(line.quantity) + " @" +
            FormatPrice(UnitPrice(line)) + " w" + std::to_string(UnitWeight(line)) +
            " tax=" + line.taxable + "/" + line.taxCode;
    for (const ChosenOption &option : line.options)
      text += " [" + option.name + "=" + option.description + "]";
    for (const TypedText &typed : line.texts) text += " {" + typed.caption + "=" + typed.text + "}";
    text += "\n";
  }
  return text;
}

TEST(OrderReaderTest, ReadRequest) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"view=cart", ""},
      {"pelluxadd=Caf%C3%A9^.5^0^0^", "Caf\xC3\xA9 x1 @0.50 w0 tax=0/\n"},
      {"pelluxadd=Shirt^10^1^^&quantity=3&eop_Size=Large^2.5^1&textadd_Name+on+shirt_5.00=Bob"
       "&textadd_Back_1.00=&eop_Colour=Red^00.00^0",
       "Shirt x3 @17.50 w2 tax=/ [Size=Large] [Colour=Red] {Name on shirt=Bob}\n"},
      {"pelluxqa_12%22+Ruler_5.00_2_1_0=3&pelluxqa_Big_Mug_1.00_0__=0&pelluxqa_Tea_Pot_2.00_0__=1"
       "&pelluxqa_Jug_3.00_0__=",
       "12\" Ruler x3 @5.00 w2 tax=1/0\nTea_Pot x1 @2.00 w0 tax=/\n"},
      {"pelluxadd=Mug^4.50^1",
       "refused pelluxadd: has 3 fields; an item needs 5: "
       "description^price^weight^taxable^tax code\n"},
      {"pelluxadd=Mug^abc^1.5^^&quantity=0",
       "refused pelluxadd: the price \"abc\" is no number\n"
       "refused pelluxadd: the weight \"1.5\" is not a whole number of at most 6 digits\n"
       "refused quantity: the quantity \"0\" is not a whole number from 1 to 99999\n"},
      {"addit=Mug^1,23.00^0^^&addit=^1^0^^",
       "refused addit: the price \"1,23.00\" is no number\n"
       "refused addit: the item has no description\n"},
      {"pelluxadd=Mug^1^0^^&eop_Size=Large^2",
       "refused eop_Size: has 2 fields; an option needs 3: "
       "description^price^weight\n"},
      {"eop_Size=Large^1^0",
       "refused eop_Size: an option or text needs an item (pelluxadd) in the "
       "same request\n"},
      {"pelluxadd=Mug^1^0^^&textadd_Name=Bob",
       "refused textadd_Name: the name needs a caption "
       "and a price: textadd_<caption>_<price>\n"},
      {"pelluxqa_Mug_1_0__=lots",
       "refused pelluxqa_Mug_1_0__: the quantity \"lots\" is not a whole "
       "number from 0 to 99999\n"},
      {"description=&price=$5",
       "refused price: the price \"$5\" is no number\n"
       "refused description: the eBay item number is empty\n"},
  };
  for (const auto &[request, expected] : cases) {
    EXPECT_EQ(Summary(ReadRequest(request)), expected) << request.substr(0, 200);
  }
}

}  // namespace
}  // namespace vendigo
