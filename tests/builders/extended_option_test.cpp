#include "builders/extended_option.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vendigo {

void PrintTo(const OptionRow &row, std::ostream *out) {
  *out << "{" << row.Description << "|" << row.Price << "|" << row.Weight << "|" << row.ReadableText
       << "}";
}

namespace {

struct HtmlCase {
  const char *name;
  std::string optionName;
  std::vector<OptionRow> rows;
  std::string expected;
};

TEST(ExtendedOption, BuildsTheWholeSelect) {
  const std::vector<HtmlCase> cases = {
      {"two choices",
       "Size",
       {{"Small", "00.00", "0", "Small"}, {"Large", "2.5", "1", "Large --Add $2.5"}},
       "Size: <SELECT NAME=\"eop_Size\">\r\n"
       "<OPTION VALUE=\"Small^00.00^0\" SELECTED>Small\r\n"
       "<OPTION VALUE=\"Large^2.5^1\">Large --Add $2.5\r\n"
       "</SELECT>"},
      {"all rows empty", "Size", std::vector<OptionRow>(19),
       "Size: <SELECT NAME=\"eop_Size\">\r\n</SELECT>"},
      {"no rows and no name", "", {}, ": <SELECT NAME=\"eop_\">\r\n</SELECT>"},
      {"row 1 empty marks no option",
       "Size",
       {{}, {"Large", "2.5", "1", "Large"}},
       "Size: <SELECT NAME=\"eop_Size\">\r\n"
       "<OPTION VALUE=\"Large^2.5^1\">Large\r\n"
       "</SELECT>"},
      {"rows without a description in between are skipped",
       "Colour",
       {{"Red", "0", "0", "Red"}, {"", "3", "1", "lost"}, {"Blue", "1", "0", ""}},
       "Colour: <SELECT NAME=\"eop_Colour\">\r\n"
       "<OPTION VALUE=\"Red^0^0\" SELECTED>Red\r\n"
       "<OPTION VALUE=\"Blue^1^0\">\r\n"
       "</SELECT>"},
      {"name with a blank is used unchanged",
       "Shirt Size",
       {{"M", "00.00", "0", "M"}},
       "Shirt Size: <SELECT NAME=\"eop_Shirt Size\">\r\n"
       "<OPTION VALUE=\"M^00.00^0\" SELECTED>M\r\n"
       "</SELECT>"},
      {"cells are not reformatted, an emptied price stays empty",
       "Size",
       {{"XL", "2.50.1", "", "XL"}, {"XXL", "", "0", "XXL <b>big</b>"}},
       "Size: <SELECT NAME=\"eop_Size\">\r\n"
       "<OPTION VALUE=\"XL^2.50.1^\" SELECTED>XL\r\n"
       "<OPTION VALUE=\"XXL^^0\">XXL <b>big</b>\r\n"
       "</SELECT>"},
      {"pasted quotes are entities inside attributes only",
       "12\" Size",
       {{"Big \"XL\"", "1\"", "0\"", "Big \"XL\""}},
       "12\" Size: <SELECT NAME=\"eop_12&quot; Size\">\r\n"
       "<OPTION VALUE=\"Big &quot;XL&quot;^1&quot;^0&quot;\" SELECTED>Big \"XL\"\r\n"
       "</SELECT>"},
  };
  for (const HtmlCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildExtendedOptionHtml(c.optionName, c.rows), c.expected);
  }
}

struct CellRuleCase {
  const char *name;
  OptionRow row;
  int column;
  OptionRow expected;
};

TEST(ExtendedOption, CellRules) {
  const std::vector<CellRuleCase> cases = {
      {"description fills empty price and weight", {"S", "", "", ""}, 0, {"S", "00.00", "0", ""}},
      {"description keeps filled cells", {"S", "3", "2", ""}, 0, {"S", "3", "2", ""}},
      {"empty description fills nothing", {"", "", "", ""}, 0, {"", "", "", ""}},
      {"letter in price resets it", {"S", "1a", "0", ""}, 1, {"S", "00.00", "0", ""}},
      {"minus in price resets it", {"S", "-1", "0", ""}, 1, {"S", "00.00", "0", ""}},
      {"price with points passes", {"S", "2.50.1", "0", ""}, 1, {"S", "2.50.1", "0", ""}},
      {"emptied price stays empty", {"S", "", "0", ""}, 1, {"S", "", "0", ""}},
      {"point in weight resets it", {"S", "1", "1.5", ""}, 2, {"S", "1", "0", ""}},
      {"emptied weight stays empty", {"S", "1", "", ""}, 2, {"S", "1", "", ""}},
      {"readable text has no rule", {"S", "x", "y", "^\""}, 3, {"S", "x", "y", "^\""}},
  };
  for (const CellRuleCase &c : cases) {
    SCOPED_TRACE(c.name);
    OptionRow row = c.row;
    ApplyOptionCellRules(row, c.column);
    EXPECT_EQ(row, c.expected);
  }
}

struct SelectCase {
  const char *name;
  OptionRow row;
  OptionRow expected;
  std::optional<std::string> error;
};

TEST(ExtendedOption, SelectingTheReadableTextCell) {
  const std::vector<SelectCase> cases = {
      {"price above zero adds it as typed",
       {"Large", "2.5", "1", ""},
       {"Large", "2.5", "1", "Large --Add $2.5"},
       std::nullopt},
      {"zero price copies the description",
       {"S", "00.00", "0", ""},
       {"S", "00.00", "0", "S"},
       std::nullopt},
      {"lone point is zero", {"S", ".", "0", ""}, {"S", ".", "0", "S"}, std::nullopt},
      {"filled readable text is kept",
       {"S", "3", "0", "mine"},
       {"S", "3", "0", "mine"},
       std::nullopt},
      {"no description, nothing filled", {"", "3", "0", ""}, {"", "3", "0", ""}, std::nullopt},
      {"bad price is reset first",
       {"S", "1x", "0", "kept"},
       {"S", "00.00", "0", "kept"},
       std::nullopt},
      {"bad price reset, then description copied",
       {"S", "1x", "0", ""},
       {"S", "00.00", "0", "S"},
       std::nullopt},
      {"two points refuse the move",
       {"S", "2.50.1", "0", ""},
       {"S", "2.50.1", "0", ""},
       "'2.50.1' is not a valid floating point value."},
      {"empty price refuses the move",
       {"S", "", "0", ""},
       {"S", "", "0", ""},
       "'' is not a valid floating point value."},
      {"empty price with readable text moves",
       {"S", "", "0", "x"},
       {"S", "", "0", "x"},
       std::nullopt},
  };
  for (const SelectCase &c : cases) {
    SCOPED_TRACE(c.name);
    OptionRow row = c.row;
    EXPECT_EQ(SelectReadableTextCell(row, "$"), c.error);
    EXPECT_EQ(row, c.expected);
  }
}

TEST(ExtendedOption, ReadableTextEditorStartsWithTheDescriptionForZeroPrices) {
  struct Case {
    const char *name;
    OptionRow row;
    std::optional<std::string> start;
  };
  const std::vector<Case> cases = {
      {"zero price", {"S", "00.00", "0", ""}, "S"},
      {"price above zero", {"S", "1", "0", ""}, std::nullopt},
      {"price does not convert", {"S", "1.1.1", "0", ""}, std::nullopt},
      {"readable text set", {"S", "0", "0", "x"}, std::nullopt},
      {"no description", {"", "0", "0", ""}, std::nullopt},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadableTextEditorStart(c.row), c.start);
  }
}

}  // namespace
}  // namespace vendigo
