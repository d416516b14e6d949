#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fragments/fragment_reading.h"

namespace vendigo {
namespace {

Settings Shop() {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  return settings;
}

// Every fragment read, as "kind start-end input".
std::vector<std::string> Read(const std::string &page) {
  std::vector<std::string> out;
  for (const FoundFragment &fragment : ReadFragments(page, Shop())) {
    out.push_back(fragment.kind + " " + std::to_string(fragment.start.offset) + "-" +
                  std::to_string(fragment.end) + " " + fragment.input.dump());
  }
  return out;
}

struct HandEdit {
  const char *name;
  std::string page;
  std::vector<std::string> read;
};

class HandEditedFragments : public testing::TestWithParam<HandEdit> {};

TEST_P(HandEditedFragments, AreStillRead) {
  EXPECT_EQ(Read(GetParam().page), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, HandEditedFragments,
    testing::Values(
        HandEdit{
            "HiddenItemLowerCaseNewPrice",
            "<!--webbot bot=\"HTMLMarkup\" StartSpan -->\n<input type=hidden "
            "name='pelluxadd' value='Mug^4.90^1^^'>\n<!--webbot bot=\"HTMLMarkup\" EndSpan -->",
            {R"(pelluxadd 0-139 {"Description":"Mug","Price":"4.90","SmartTaxCode":"","Taxable":"","Weight":"1"})"}},
        HandEdit{
            "QuickLinkPriceRetypedInBoth",
            "<b>Mug</b> -- <b><font color=\"#FF0000\">$4.90</font></b> <a "
            "href=\"/cgi-bin/pellux.cgi?pelluxadd=Mug^4.90^1^^\" "
            "onmouseover=\"self.status='Buy';  return true\" onmouseout=\"self.status=''; "
            "return true\">BUY!</a>",
            {R"(quicklink 0-204 {"Brackets":false,"Description":"Mug","InsertProductInfo":true,"LinkCaption":"BUY!","Price":"4.90","SmartTaxCode":"","StatusText":"Buy","Taxable":"","Weight":"1"})"}},
        HandEdit{
            "QuickLinkShownPriceLeftOld",
            "<B>Mug</B>--<B><FONT COLOR=\"#FF0000\">EUR 4.50</FONT></B>[<A "
            "HREF=\"/cgi-bin/pellux.cgi?pelluxadd=Mug^4.90^^^\" onMouseOver=\"self.status='';  "
            "return true\">Buy</A>]",
            {R"(quicklink 0-160 {"Brackets":true,"Description":"Mug","InsertProductInfo":true,"LinkCaption":"Buy","Price":"4.90","SmartTaxCode":"","StatusText":"","Taxable":"","Weight":""})"}},
        HandEdit{
            "TextOptionBlanksAndCase",
            "<p>Engraving:<input type='text' name='textadd_Engraving_6' size=30 "
            "maxlength=20> <br> <font size=\"1\">Maximum 20 Characters ~$6</font></p>",
            {R"(textadd 3-133 {"Caption":"Engraving","MaxLength":"20","Price":"6","Size":"30"})"}},
        HandEdit{
            "OptionsLowerCaseLineFeeds",
            "Size: <select name=\"eop_Size\">\n<option value=\"Small^0^0\" selected>Small\n"
            "<option value=\"Large^2.50^1\">Large --Add $2.50\n</select>",
            {R"(options 0-128 {"Name":"Size","Rows":[["Small","0","0","Small"],["Large","2.50","1","Large --Add $2.50"]]})"}},
        HandEdit{
            "AddItTableCaseBlanksPrice",
            "<center> <div align=\"center\"><table width=\"400\" cellpadding=\"3\" "
            "cellspacing=\"1\" border=\"1\"><tr><th>Buy</th><th>Description</th><th>Price</th>"
            "</tr>\n<tr><td align=\"center\"><input type=\"checkbox\" name=\"addit\" "
            "value=\"Mug^4.90^1^^\"></td><td>Mug</td><td align=\"right\"><font "
            "color=\"#FF0000\">$4.90</font></td></tr>\n</table></div></center>\n<p>&nbsp;</p>",
            {R"(addit 0-344 {"Mode":"checkbox","ProductInterface":false,"Rows":[["Mug","4.90","1","",""]]})"}},
        HandEdit{"FormContainerUpperCase",
                 "<FORM METHOD=\"post\" ACTION=\"/shop/pellux.cgi\"> <P>&nbsp;</P> </FORM>",
                 {R"(form 0-68 {})"}},
        HandEdit{
            "NoFragments",
            "<a href=\"/about.html\">About</a><form action=\"/search\"><input name=\"q\">"
            "</form><script>var s = '<input type=\"submit\" value=\"Go on\">';</script>"
            "<!-- <input type=\"submit\" value=\"Old\"> --><input type=\"submit\" value=\"X\">",
            {}}),
    [](const testing::TestParamInfo<HandEdit> &info) { return std::string(info.param.name); });

TEST(FragmentAt, FindsTheFragmentHoldingAnOffset) {
  const std::string page =
      "<p>a</p><input TYPE=\"TEXT\" NAME=\"quantity\" VALUE=\"1\">x"
      "<input type=\"submit\" value=\"Order!\">";
  const std::vector<FoundFragment> fragments = ReadFragments(page, Shop());
  ASSERT_EQ(fragments.size(), 2u);
  const std::pair<std::size_t, const FoundFragment *> cases[] = {
      {0, nullptr},
      {7, nullptr},
      {8, &fragments[0]},
      {52, &fragments[0]},
      {53, nullptr},
      {54, &fragments[1]},
      {page.size() - 1, &fragments[1]},
      {page.size(), nullptr},
  };
  for (const auto &[offset, expected] : cases) {
    EXPECT_EQ(FragmentAt(fragments, offset), expected) << offset;
  }
}

}  // namespace
}  // namespace vendigo
