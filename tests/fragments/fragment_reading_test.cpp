#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fragments/fragment_reading.h"
#include "fragments/fragment_samples.h"
#include "fuzz/fragment_round_trip.h"

namespace vendigo {
namespace {

using nlohmann::json;

Settings Shop(int generation = 3) {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.PelluxGeneration = generation;
  return settings;
}

struct EdgeCase {
  const char *name;
  const char *command;
  Settings settings;
  json input;
};

class FragmentEdgeCases : public testing::TestWithParam<EdgeCase> {};

TEST_P(FragmentEdgeCases, BuildAgainFromWhatIsRead) {
  const EdgeCase &edge = GetParam();
  const std::optional<std::string> html =
      test::BuiltFragment(edge.command, edge.settings, edge.input);
  ASSERT_TRUE(html) << "the command refuses the input";
  EXPECT_EQ(test::RoundTripFault(edge.command, edge.settings, *html), "") << test::Shortened(*html);
}

Settings OwnButton() {
  Settings settings = Shop();
  settings.OrderButton = R"(<input type="image" src="buy.gif">)";
  return settings;
}

const json kRow = json::array({"Mug", "4.50", "1", "1", "TX"});
const json kTwoRows = json::array({kRow, json::array({"Big ^ \"Mug\"", "1234.5", "2"})});

INSTANTIATE_TEST_SUITE_P(
    EveryKind, FragmentEdgeCases,
    testing::Values(
        EdgeCase{"Form", "form", Shop(), json::object()},
        EdgeCase{"FormDefaultAddress", "form", DefaultSettings(), json::object()},
        EdgeCase{"Quantity", "quantity", Shop(), json::object()},
        EdgeCase{"ViewCart", "viewcart", Shop(), json::object()},
        EdgeCase{"BuyButton", "buybutton", Shop(), json::object()},
        EdgeCase{"OwnBuyButton", "buybutton", OwnButton(), json::object()},
        EdgeCase{"Ebay", "ebay", Shop(), json::object()},
        EdgeCase{"EbayOwnButton", "ebay", OwnButton(), json::object()},
        EdgeCase{"HiddenItem", "pelluxadd", Shop(), {{"Description", "Mug"}, {"Price", "4.50"}}},
        EdgeCase{"HiddenItemCarets",
                 "pelluxadd",
                 Shop(),
                 {{"Description", "a^b^c"}, {"Price", "5"}, {"Weight", "12"}, {"Taxable", "1"}}},
        EdgeCase{"HiddenItemQuotes",
                 "pelluxadd",
                 Shop(),
                 {{"Description", "19\" &quot;screen\""}, {"Price", "x"}, {"SmartTaxCode", "^"}}},
        EdgeCase{"QuickLink", "quicklink", Shop(), {{"Description", "Mug"}, {"Price", "4.50"}}},
        EdgeCase{"QuickLinkInfoBrackets",
                 "quicklink",
                 Shop(),
                 {{"Description", "Café <b>杯</b> &#26479;"},
                  {"Price", "1234.5"},
                  {"InsertProductInfo", true},
                  {"Brackets", true},
                  {"StatusText", "It's \\ \"new\"\r\n"}}},
        EdgeCase{"QuickLinkNoStatus",
                 "quicklink",
                 DefaultSettings(),
                 {{"Description", "a+b %20"},
                  {"Price", "0"},
                  {"StatusText", ""},
                  {"LinkCaption", "<img src=\"buy.gif\">"},
                  {"Brackets", true}}},
        EdgeCase{"TextOption", "textadd", Shop(), {{"Caption", "Engraving"}, {"Price", "5"}}},
        EdgeCase{"TextOptionUnderscores",
                 "textadd",
                 Shop(),
                 {{"Caption", "x_x \"y\": "}, {"Price", "a_5"}, {"MaxLength", " 5\""}}},
        EdgeCase{"TextOptionFree", "textadd", Shop(), {{"Caption", "Name"}, {"Price", "0"}}},
        EdgeCase{"Options",
                 "options",
                 Shop(),
                 {{"Name", "Size"},
                  {"Rows", {{"Small", "0", "0", "Small"}, {"Large", "2", "1", "Large --Add $2"}}}}},
        EdgeCase{"OptionsFirstRowEmpty",
                 "options",
                 Shop(),
                 {{"Name", ""}, {"Rows", {json::array(), {"^x", "1", "", "a\r\nb"}}}}},
        EdgeCase{"AddItCheckbox", "addit", Shop(), {{"Rows", kTwoRows}}},
        EdgeCase{"AddItRadioTaxed", "addit", Shop(4), {{"Mode", "radio"}, {"Rows", kTwoRows}}},
        EdgeCase{"AddItSelect", "addit", Shop(), {{"Mode", "select"}, {"Rows", kTwoRows}}},
        EdgeCase{"AddItSelectFirstEmpty",
                 "addit",
                 Shop(4),
                 {{"Mode", "select"}, {"Rows", {json::array(), {"a -- b", "1", "x^y"}}}}},
        EdgeCase{"AddItQuantity", "addit", Shop(4), {{"Mode", "quantity"}, {"Rows", kTwoRows}}},
        EdgeCase{"AddItNoRows", "addit", Shop(), {{"Mode", "radio"}}},
        EdgeCase{
            "AddItInterface", "addit", Shop(), {{"Rows", kTwoRows}, {"ProductInterface", true}}},
        EdgeCase{"AddItQuantityInterface",
                 "addit",
                 Shop(4),
                 {{"Mode", "quantity"}, {"Rows", kTwoRows}, {"ProductInterface", true}}}),
    [](const testing::TestParamInfo<EdgeCase> &info) { return std::string(info.param.name); });

// A few thousand inputs of each command, as merchants type them; only inputs the command
// accepts count.
TEST(FragmentRoundTrip, RandomInputsOfEveryCommand) {
  for (const char *command : {"pelluxadd", "quicklink", "textadd", "options", "addit"}) {
    test::FragmentSamples samples(20261207);
    int built = 0;
    for (int i = 0; i < 4000; ++i) {
      const Settings settings = samples.SomeSettings();
      const json input = samples.Input(command);
      const std::optional<std::string> html = test::BuiltFragment(command, settings, input);
      if (!html) continue;
      ++built;
      const std::string fault = test::RoundTripFault(command, settings, *html);
      ASSERT_EQ(fault, "") << command << " from " << test::Shortened(input.dump()) << "\n"
                           << test::Shortened(*html);
    }
    EXPECT_GT(built, 1000) << command;
  }
}

}  // namespace
}  // namespace vendigo
