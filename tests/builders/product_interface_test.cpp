#include "builders/product_interface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendigo {
namespace {

TEST(ProductInterface, TemplateHasItsSixteenLines) {
  const std::vector<std::string> &lines = ProductInterfaceTemplate();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[2], "   <TR>       <td>Ordering Instructions: <ol TYPE=\"1\">");
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[10], "");
}

TEST(ProductInterface, SubstitutesInOrderOverTheTextLeftBefore) {
  Settings settings;
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.OrderButton = "Buy";
  settings.ViewCart = "Cart";
  struct Case {
    const char *name;
    std::string table;
    std::vector<std::string> lines;
    Settings settings;
    std::string expected;
  };
  Settings rawButton = settings;
  rawButton.OrderButton = "<img src=\"b.gif\">\rnext";
  const std::vector<Case> cases = {
      {"each placeholder once",
       "T",
       {"%zf_place_form_here%", "%zf_place_list_here%", "%zf_button_face_here%",
        "%zf_ViewCart_here%|%zf_pellux_location%"},
       settings,
       "<FORM ACTION=\"/cgi-bin/pellux.cgi\" METHOD=\"POST\">\r\nT\r\nBuy\r\nCart|/cgi-bin/"
       "pellux.cgi\r\n"},
      {"letter case does not matter",
       "T",
       {"%ZF_Place_List_HERE%%zf_viewcart_here%"},
       settings,
       "TCart\r\n"},
      {"placeholders in the table are replaced by the later steps",
       "%zf_place_list_here% %zf_place_form_here% %ZF_VIEWCART_HERE%",
       {"[%zf_place_list_here%]"},
       settings,
       "[%zf_place_list_here% <FORM ACTION=\"/cgi-bin/pellux.cgi\" METHOD=\"POST\"> Cart]\r\n"},
      {"line breaks of any kind come out as CR LF",
       "a\nb\r\nc\rd",
       {"%zf_place_list_here%", ""},
       settings,
       "a\r\nb\r\nc\r\nd\r\n\r\n"},
      {"order button used as it is, raw HTML too",
       "",
       {"%zf_button_face_here%"},
       rawButton,
       "<img src=\"b.gif\">\r\nnext\r\n"},
      {"no lines", "T", {}, settings, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WrapInProductInterface(c.table, c.lines, c.settings), c.expected);
  }
}

}  // namespace
}  // namespace vendigo
