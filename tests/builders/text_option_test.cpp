#include "builders/text_option.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendigo {
namespace {

Settings WithCurrency(const char *currency) {
  Settings settings = DefaultSettings();
  settings.Currency = currency;
  return settings;
}

TEST(TextOptionHtml, BuildsCaptionInputAndNote) {
  struct Case {
    const char *name;
    Settings settings;
    TextOption option;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"priced, default size",
       WithCurrency("$"),
       {"Name on shirt", "5.00"},
       R"(Name on shirt: <INPUT TYPE="TEXT" NAME="textadd_Name on shirt_5.00" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$5.00</FONT>)"},
      {"price 0: no price in the note",
       WithCurrency("$"),
       {"Initials", "0"},
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_0" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters</FONT>)"},
      {"price 00.00: no price in the note",
       WithCurrency("$"),
       {"Initials", "00.00"},
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_00.00" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters</FONT>)"},
      {"price as typed, not reformatted",
       WithCurrency("$"),
       {"Initials", "2.5"},
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_2.5" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$2.5</FONT>)"},
      {"price that does not convert: no price, no complaint",
       WithCurrency("$"),
       {"Initials", "1.2.3"},
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_1.2.3" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters</FONT>)"},
      {"lone point reads as 0",
       WithCurrency("$"),
       {"Initials", "."},
       R"(Initials: <INPUT TYPE="TEXT" NAME="textadd_Initials_." SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters</FONT>)"},
      {"size and maximum length as typed, unchecked",
       WithCurrency("EUR "),
       {"Engraving", ".75", "99", "abc"},
       R"(Engraving: <INPUT TYPE="TEXT" NAME="textadd_Engraving_.75" SIZE="99" MAXLENGTH="abc"><BR><FONT SIZE="1">Maximum abc Characters ~EUR .75</FONT>)"},
      {"empty sizes",
       WithCurrency(""),
       {"Note", "3", "", ""},
       R"(Note: <INPUT TYPE="TEXT" NAME="textadd_Note_3" SIZE="" MAXLENGTH=""><BR><FONT SIZE="1">Maximum  Characters ~3</FONT>)"},
      {"double quotes: entities inside attributes, as typed outside",
       WithCurrency("$"),
       {R"(12" "Logo")", "1", R"(2")", R"(3")"},
       R"(12" "Logo": <INPUT TYPE="TEXT" NAME="textadd_12&quot; &quot;Logo&quot;_1" SIZE="2&quot;" MAXLENGTH="3&quot;"><BR><FONT SIZE="1">Maximum 3" Characters ~$1</FONT>)"},
      {"blanks, underscores and markup in the caption",
       WithCurrency("$"),
       {"<i>Your_name</i> & more", "1"},
       R"(<i>Your_name</i> & more: <INPUT TYPE="TEXT" NAME="textadd_<i>Your_name</i> & more_1" SIZE="20" MAXLENGTH="20"><BR><FONT SIZE="1">Maximum 20 Characters ~$1</FONT>)"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextOptionHtml(c.settings, c.option), c.expected);
  }
}

}  // namespace
}  // namespace vendigo
