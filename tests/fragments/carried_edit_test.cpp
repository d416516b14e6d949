#include "fragments/carried_edit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vendigo {
namespace {

struct Case {
  const char *name;
  const char *edited;
  const char *built;
  const char *rebuilt;
  std::optional<std::string> carried;
};

// Built and rebuilt differ where the price is; edited is the page's copy.
TEST(CarryRebuild, CarriesChangesPastTheMerchantsOwnEdits) {
  const Case cases[] = {
      {"untouched: the rebuild itself", "<b>$4.50</b><i>x</i>", "<b>$4.50</b><i>x</i>",
       "<b>$4.90</b><i>x</i>", "<b>$4.90</b><i>x</i>"},
      {"instructions filled in, two prices changed",
       "<li>Tick a mug</li><li>Press Order</li><td>$4.50</td><input value=\"Mug^4.50^^^\">",
       "<li>?\?\?</li><li>?\?\?</li><td>$4.50</td><input value=\"Mug^4.50^^^\">",
       "<li>?\?\?</li><li>?\?\?</li><td>$4.90</td><input value=\"Mug^4.90^^^\">",
       "<li>Tick a mug</li><li>Press Order</li><td>$4.90</td><input value=\"Mug^4.90^^^\">"},
      {"a row more at the end", "<p>Our mugs</p><tr>a</tr>\n", "<tr>a</tr>\n",
       "<tr>a</tr>\n<tr>b</tr>\n", "<p>Our mugs</p><tr>a</tr>\n<tr>b</tr>\n"},
      {"a weight where there was none, letter case changed elsewhere",
       "<INPUT TYPE=\"HIDDEN\" VALUE=\"Mug^4.50^^^\">",
       "<INPUT TYPE=\"hidden\" VALUE=\"Mug^4.50^^^\">",
       "<INPUT TYPE=\"hidden\" VALUE=\"Mug^4.50^2^^\">",
       "<INPUT TYPE=\"HIDDEN\" VALUE=\"Mug^4.50^2^^\">"},
      {"the price retyped by hand", "<b>$4.5</b>", "<b>$4.50</b>", "<b>$4.90</b>", std::nullopt},
      {"a word before the price", "<b>only $4.50</b>", "<b>$4.50</b>", "<b>$4.90</b>",
       "<b>only $4.90</b>"},
      {"a word right after the price", "<b>$4.50 each</b>", "<b>$4.50</b>", "<b>$4.90</b>",
       std::nullopt},
      {"the price's tag removed", "$4.50", "<b>$4.50</b>", "<b>$4.90</b>", std::nullopt},
      {"nothing to change", "<p>Mugs</p><b>$4.50</b>", "<b>$4.50</b>", "<b>$4.50</b>",
       "<p>Mugs</p><b>$4.50</b>"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CarryRebuild(c.edited, c.built, c.rebuilt), c.carried);
  }
}

}  // namespace
}  // namespace vendigo
