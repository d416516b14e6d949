#include "builders/addit_table.h"
#include "builders/product_interface.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace vendigo {

void PrintTo(const AddItRow &row, std::ostream *out) {
  *out << "{" << row.Description << "|" << row.Price << "|" << row.Weight << "|" << row.Taxable
       << "|" << row.SmartTax << "}";
}

namespace {

const std::string kTableHead =
    R"(<CENTER><DIV ALIGN="center"><TABLE WIDTH="400" CELLPADDING="3" CELLSPACING="1" BORDER="1">)"
    R"(<TR><TH>Buy</TH><TH>Description</TH><TH>Price</TH></TR>)";
const std::string kTableFoot = "</TABLE></DIV></CENTER>";

struct HtmlCase {
  const char *name;
  AddItMode mode;
  std::vector<AddItRow> rows;
  std::string expected;
};

TEST(AddItTable, BuildsListsAndTables) {
  const std::vector<HtmlCase> cases = {
      {"select list, generation 4",
       AddItMode::SelectList,
       {{"Blue Shirt", "12.5", "1", "1", "0"}},
       "<SELECT NAME=\"addit\">\r\n"
       "<OPTION VALUE=\"Blue Shirt^12.50^1^1^0\" SELECTED>Blue Shirt -- $12.50\r\n"
       "</SELECT>"},
      {"select list, all rows empty", AddItMode::SelectList, std::vector<AddItRow>(19),
       "<SELECT NAME=\"addit\">\r\n</SELECT>"},
      {"select list, row 1 empty marks nothing",
       AddItMode::SelectList,
       {{}, {"Cap", "3", "0", "", ""}, {"Hat", "1000", "1", "", ""}},
       "<SELECT NAME=\"addit\">\r\n"
       "<OPTION VALUE=\"Cap^3.00^0^^\">Cap -- $3.00\r\n"
       "<OPTION VALUE=\"Hat^1,000.00^1^^\">Hat -- $1,000.00\r\n"
       "</SELECT>"},
      {"select list, row 1 skipped for its price marks nothing",
       AddItMode::SelectList,
       {{"Cap", "1.2.3", "0", "", ""}, {"Hat", "", "1", "", ""}, {"Mug", ".", "x", "", ""}},
       "<SELECT NAME=\"addit\">\r\n"
       "<OPTION VALUE=\"Mug^0.00^x^^\">Mug -- $0.00\r\n"
       "</SELECT>"},
      {"checkbox table, generation 3",
       AddItMode::CheckboxTable,
       {{"Mug", "1234.5", "2", "", ""}},
       kTableHead +
           R"(<TR><TD align="center"><INPUT TYPE="checkbox" NAME="addit" VALUE="Mug^1,234.50^2^^"></TD>)"
           R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$1,234.50</FONT></TD></TR>)"
           "\r\n" +
           kTableFoot},
      {"radio table differs only in the input type",
       AddItMode::RadioTable,
       {{"Mug", "00.00", "2", "0", "TX"}},
       kTableHead +
           R"(<TR><TD align="center"><INPUT TYPE="radio" NAME="addit" VALUE="Mug^0.00^2^0^TX"></TD>)"
           R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$0.00</FONT></TD></TR>)"
           "\r\n" +
           kTableFoot},
      {"quantity table",
       AddItMode::QuantityTable,
       {{"Mug", "5", "2", "1", "0"}},
       kTableHead +
           R"(<TR><TD align="center"><INPUT TYPE="TEXT" SIZE="3" MAXLENGTH="3" NAME="pelluxqa_Mug_5.00_2_1_0" VALUE="0"></TD>)"
           R"(<TD>Mug</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$5.00</FONT></TD></TR>)"
           "\r\n" +
           kTableFoot},
      {"checkbox table, all rows empty", AddItMode::CheckboxTable, std::vector<AddItRow>(19),
       kTableHead + kTableFoot},
      {"tables skip a weight that is no number, the empty weight passes",
       AddItMode::CheckboxTable,
       {{"A", "1", "x", "", ""},
        {"B", "1", "1.5", "", ""},
        {"C", "", "1", "", ""},
        {"D", "2", "", "", ""}},
       kTableHead +
           R"(<TR><TD align="center"><INPUT TYPE="checkbox" NAME="addit" VALUE="B^1.00^1.5^^"></TD>)"
           R"(<TD>B</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$1.00</FONT></TD></TR>)"
           "\r\n"
           R"(<TR><TD align="center"><INPUT TYPE="checkbox" NAME="addit" VALUE="D^2.00^^^"></TD>)"
           R"(<TD>D</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$2.00</FONT></TD></TR>)"
           "\r\n" +
           kTableFoot},
      {"quotes are entities in the value, the shown text and the quantity name",
       AddItMode::QuantityTable,
       {{"12\" Ruler", "1", "2", "1", "A\"B"}},
       kTableHead +
           R"(<TR><TD align="center"><INPUT TYPE="TEXT" SIZE="3" MAXLENGTH="3" NAME="pelluxqa_12&quot; Ruler_1.00_2_1_A&quot;B" VALUE="0"></TD>)"
           R"(<TD>12&quot; Ruler</TD><TD ALIGN="RIGHT"><FONT COLOR="#FF0000">$1.00</FONT></TD></TR>)"
           "\r\n" +
           kTableFoot},
      {"quotes in a select list, a pasted quote in the weight too",
       AddItMode::SelectList,
       {{"12\" Ruler", "1", "2\"", "", ""}},
       "<SELECT NAME=\"addit\">\r\n"
       "<OPTION VALUE=\"12&quot; Ruler^1.00^2&quot;^^\" SELECTED>12&quot; Ruler -- $1.00\r\n"
       "</SELECT>"},
  };
  for (const HtmlCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildAddItHtml(c.mode, c.rows, "$"), c.expected);
  }
}

TEST(AddItTable, FragmentEndsWithTheClosingParagraph) {
  Settings settings = DefaultSettings();
  settings.Currency = "\xE2\x82\xAC";
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  const std::vector<AddItRow> rows = {{"Mug", "1234.5", "2", "", ""}};
  const std::string row =
      R"(<TR><TD align="center"><INPUT TYPE="checkbox" NAME="addit" VALUE="Mug^1,234.50^2^^"></TD>)"
      "<TD>Mug</TD><TD ALIGN=\"RIGHT\"><FONT COLOR=\"#FF0000\">\xE2\x82\xAC"
      "1,234.50</FONT></TD></TR>\r\n";
  struct Case {
    const char *name;
    AddItMode mode;
    bool wholeInterface;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"table, answer No", AddItMode::CheckboxTable, false,
       kTableHead + row + kTableFoot + "<P> &nbsp;</P>"},
      {"select list is never wrapped", AddItMode::SelectList, true,
       "<SELECT NAME=\"addit\">\r\n<OPTION VALUE=\"Mug^1,234.50^2^^\" SELECTED>Mug -- "
       "\xE2\x82\xAC"
       "1,234.50\r\n</SELECT><P> &nbsp;</P>"},
      {"table, answer Yes", AddItMode::CheckboxTable, true,
       "<FORM ACTION=\"/cgi-bin/pellux.cgi\" METHOD=\"POST\">\r\n"
       "    <CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" "
       "CELLSPACING=\"1\" BORDER=\"0\">\r\n"
       "   <TR>       <td>Ordering Instructions: <ol TYPE=\"1\">\r\n"
       "        <li>?\?\?</li>\r\n"
       "        <li>?\?\?</li>\r\n"
       "        <li>?\?\?</li>\r\n"
       "      </ol>\r\n"
       "      </td></TR></TABLE></CENTER></DIV>\r\n"
       "\r\n" +
           kTableHead + row + kTableFoot +
           "\r\n"
           "\r\n"
           "<P ALIGN=\"CENTER\"><INPUT TYPE=\"SUBMIT\" VALUE=\"Order Now!\"></P>\r\n"
           "</form>\r\n"
           "<p>\r\n"
           "<center><a href=\"/cgi-bin/pellux.cgi\">View Your Shopping Cart</a></center>\r\n"
           "</p>\r\n"
           "<P> &nbsp;</P>"},
  };
  settings.OrderButton = "Order Now!";
  settings.ViewCart = "View Your Shopping Cart";
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(
        BuildAddItFragment(c.mode, rows, settings, c.wholeInterface, ProductInterfaceTemplate()),
        c.expected);
  }
}

TEST(AddItTable, CellRules) {
  struct Case {
    const char *name;
    AddItRow row;
    int column;
    AddItRow expected;
  };
  const std::vector<Case> cases = {
      {"description fills", {"Mug", "", "", "", ""}, 0, {"Mug", "00.00", "0", "", ""}},
      {"description keeps filled cells", {"Mug", "1", "2", "", ""}, 0, {"Mug", "1", "2", "", ""}},
      {"letter in price", {"Mug", "1e", "2", "", ""}, 1, {"Mug", "00.00", "2", "", ""}},
      {"points in price pass", {"Mug", "1.2.3", "2", "", ""}, 1, {"Mug", "1.2.3", "2", "", ""}},
      {"point in weight", {"Mug", "1", "2.", "", ""}, 2, {"Mug", "1", "0", "", ""}},
      {"taxable 1 stays", {"Mug", "1", "2", "1", ""}, 3, {"Mug", "1", "2", "1", ""}},
      {"taxable 0 stays", {"Mug", "1", "2", "0", ""}, 3, {"Mug", "1", "2", "0", ""}},
      {"taxable 2 is emptied", {"Mug", "1", "2", "2", ""}, 3, {"Mug", "1", "2", "", ""}},
      {"taxable 10 is emptied", {"Mug", "1", "2", "10", ""}, 3, {"Mug", "1", "2", "", ""}},
      {"taxable 01 is emptied", {"Mug", "1", "2", "01", ""}, 3, {"Mug", "1", "2", "", ""}},
      {"smart tax has no rule", {"Mug", "x", "y", "z", "\"<"}, 4, {"Mug", "x", "y", "z", "\"<"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    AddItRow row = c.row;
    ApplyAddItCellRules(row, c.column);
    EXPECT_EQ(row, c.expected);
  }
}

}  // namespace
}  // namespace vendigo
