#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "check/page_orders.h"
#include "check/site_check.h"
#include "cli/cli_commands.h"
#include "core/json_fields.h"
#include "html/html_document.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/finding_lines.h"
#include "support/shop_pages.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

using testing::FindingLines;
using testing::TempFolder;

Settings ShopSettings(int generation = 4) {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.cgi";
  settings.PelluxGeneration = generation;
  return settings;
}

// Each element and attribute of a page at its line:column@offset of the file on disk.
struct PlaceCase {
  std::string bytes;
  std::string places;
};

TEST(HtmlDocumentTest, PlacesAreThoseOfTheFileOnDisk) {
  const PlaceCase cases[] = {
      {"é<b>", "b 1:2@2\n"},                        // UTF-8: a character of two bytes
      {"\xE9<b>", "b 1:2@1\n"},                     // Windows-1252: one byte
      {"\xEF\xBB\xBF<b>", "b 1:1@3\n"},             // a byte order mark is no column
      {"a\r\n\r<i>\n\t<B>", "i 3:1@4\nb 4:2@9\n"},  // CR LF, lone CR, tab
      {"\x80\xE9\n <INPUT NAME=q value='\xE9'>",    // € widens to three bytes
       "input 2:2@4\n name=q 2:9@11 2:14@16\n value=é 2:16@18 2:22@24\n"},
      {"<p>x<p><select name=s disabled>",
       "p 1:1@0\np 1:5@4\nselect 1:8@7\n name=s 1:16@15 1:21@20\n disabled= 1:23@22 1:23@22\n"},
  };
  for (const PlaceCase &test : cases) {
    const HtmlDocument document = HtmlDocument::Read(test.bytes);
    std::string places;
    const auto at = [&](std::size_t offset) {
      const SourcePlace place = document.Place(offset);
      return std::to_string(place.line) + ":" + std::to_string(place.column) + "@" +
             std::to_string(place.offset);
    };
    for (const HtmlNode &node : document.Nodes()) {
      if (node.kind != HtmlNodeKind::Element || !node.written) continue;
      places += node.tag + " " + at(node.offset) + "\n";
      for (const HtmlAttribute &attribute : node.attributes) {
        places += " " + attribute.name + "=" + attribute.value + " " + at(attribute.nameOffset) +
                  " " + at(attribute.valueOffset) + "\n";
      }
    }
    EXPECT_EQ(places, test.places) << test.bytes;
  }
}

// A page of a few hundred thousand nested elements, which once overflowed the stack when the
// parser's tree was freed, is read and checked whole. (Tables: the parser's time grows with the
// square of the depth for most other tags.)
TEST(HtmlDocumentTest, DeeplyNestedPagesAreRead) {
  std::string page = "<!doctype html><meta charset=utf-8>";
  for (int depth = 0; depth < 100000; ++depth) page += "<table><tr><td>";
  EXPECT_GT(HtmlDocument::Read(page).Nodes().size(), 400000u);
  EXPECT_TRUE(CheckPage("deep.html", page, DefaultSettings()).empty());
}

// The orders a page sends: "way | method action | name=value&...", one per line.
struct OrdersCase {
  std::string page;
  std::string orders;
};

TEST(PageOrdersTest, FieldsAreThoseABrowserSends) {
  const OrdersCase cases[] = {
      // Lists: the first option unless one is selected, the last of several selected, an option's
      // text for its value; none of a multiple list or a list of size 3 with none selected.
      {"<form action=c><select name=a><option disabled>x<option> B  b </select>"
       "<select name=m multiple><option>1</select><select name=s size=3><option>2</select>"
       "<select name=l><option value=1 selected>1<option value=2 selected>2</select>"
       "<input type=submit value=Go>",
       "button \"Go\" | get c | a=B b&l=2\n"},
      // Boxes: "on" without a value, unchecked ones not sent, the last radio checked of a group;
      // disabled controls and those of a disabled fieldset (but its first legend) not sent.
      {"<form action=c method=POST><input type=checkbox name=k checked><input type=checkbox "
       "name=u><input type=radio name=r value=1 checked><input type=radio name=r value=2 checked>"
       "<input name=d value=1 disabled><fieldset disabled><legend><input name=e value=2></legend>"
       "<input name=f value=3></fieldset><button name=b value=v>Buy <i>now</i></button>",
       "button \"Buy now\" | post c | k=on&r=2&e=2&b=v\n"
       "Enter in \"e\" | post c | k=on&r=2&e=2&b=v\n"},
      // An image button sends where it was clicked; Enter in any text field takes the first
      // button, and is listed once.
      {"<form action=c><input name=q value=\"a\nb\"><input type=image name=i alt=Pay>"
       "<input type=submit name=s value=S><textarea name=t>x\ny</textarea><input type=search "
       "name=r></form>",
       "button \"Pay\" | get c | q=ab&i.x=0&i.y=0&t=x\r\ny&r=\n"
       "button \"S\" | get c | q=ab&s=S&t=x\r\ny&r=\n"
       "Enter in \"q\" | get c | q=ab&i.x=0&i.y=0&t=x\r\ny&r=\n"},
      // Enter sends a form of one text field without a button, not one of two.
      {"<form action=one><input name=a value=1></form><form action=two><input name=a><input "
       "name=b></form>",
       "Enter in \"a\" | get one | a=1\n"},
      // A disabled default button keeps Enter from sending the form, even with another button
      // enabled after it.
      {"<form action=c><input name=q><input type=submit value=A disabled><input type=submit "
       "value=B></form><form action=d><input name=quantity value=1><input type=submit disabled>"
       "</form>",
       "button \"B\" | get c | q=\n"},
      // form= takes a control to its form, and away from the one around it; a form opened in a
      // table keeps the controls of its rows, as the parser does.
      {"<form id=f action=c></form><form action=d><input type=hidden name=x value=1 form=f>"
       "<input type=submit form=f value=Go></form><table><form action=t><tr><td>"
       "<input type=hidden name=y value=2><input type=submit value=T></td></tr></form></table>",
       "button \"Go\" | get c | x=1\nbutton \"T\" | get t | y=2\n"},
      // Links to the cart program, with their query as the cart reads it.
      {"<a href=\"/cgi-bin/pellux.cgi?pelluxadd=Caf%E9^1^0^^&amp;quantity=2\">b</a>"
       "<a href=other.html?pelluxadd=x>o</a><a "
       "href='https://shop.example/cgi-bin/pellux.cgi'>v</a>",
       "link | get /cgi-bin/pellux.cgi?pelluxadd=Caf%E9^1^0^^&quantity=2 | "
       "pelluxadd=Café^1^0^^&quantity=2\n"
       "link | get https://shop.example/cgi-bin/pellux.cgi | \n"},
  };
  for (const OrdersCase &test : cases) {
    std::string orders;
    for (const FoundOrder &found :
         FindPageOrders(HtmlDocument::Read(test.page), ShopSettings()).orders) {
      orders += found.order.way + " | " + found.order.method + " " + found.order.action + " | ";
      for (std::size_t i = 0; i < found.order.fields.size(); ++i) {
        orders += (i ? "&" : "") + found.order.fields[i].name + "=" + found.order.fields[i].value;
      }
      orders += "\n";
    }
    EXPECT_EQ(orders, test.orders) << test.page;
  }
}

// One broken page per rule, and the finding it gives.
struct BrokenCase {
  std::string page;
  std::string findings;
};

TEST(PageCheckTest, EachRuleFindsItsFault) {
  const std::string form = "<form method=post action=\"https://shop.example/cgi-bin/pellux.cgi\">";
  const std::string button = "<input type=submit value=Order!></form>";
  const BrokenCase cases[] = {
      {"<p>\n<input type=hidden name=pelluxadd value=\"Mug^4^1^^\">\n",
       "p.html:2:1: error: the order field \"pelluxadd\" is in no form, so no order sends it "
       "[field-outside-form]\n"},
      {form + "\n<input type=hidden name=addit value=\"Mug^4^1^^\"></form>",
       "p.html:1:1: error: the form has order fields but no order button, so it cannot be sent "
       "[form-not-sendable]\n"},
      {"<form action=\"<Enter the URL to the Pellux CGI Program here>\"><input name=quantity "
       "value=1>",
       "p.html:1:14: error: the cart address is still the settings' prompt \"<Enter the URL to "
       "the Pellux CGI Program here>\" [cart-address-placeholder]\n"},
      {"<a href=\"http://127.0.0.1:8765/cgi-bin/pellux.cgi?pelluxadd=Mug^4^1^^\">b</a>",
       "p.html:1:9: error: the cart address \"http://127.0.0.1:8765/cgi-bin/pellux.cgi\" is the "
       "test cart on this machine, which shoppers cannot reach [test-cart-address]\n"},
      {"<a href=\"https://old.example/pellux.exe\">View</a>",
       "p.html:1:9: warning: the cart address \"https://old.example/pellux.exe\" differs from the "
       "settings' cart program \"https://shop.example/cgi-bin/pellux.cgi\" "
       "[cart-address-differs]\n"},
      {form + "<select name=addit><option value=\"Mug^4,5^1^^\">Mug</select>" + button,
       "p.html:1:101: error: field \"addit\": the price \"4,5\" is no number "
       "[price-not-number]\n"},
      {form + "<input type=checkbox name=addit value=\"^4^1^^\">" + button,
       "p.html:1:106: error: field \"addit\": the item has no description [empty-description]\n"},
      {form + "<input name=pelluxqa_Mug_4_1__ value=\"one\">" + button,
       "p.html:1:105: error: field \"pelluxqa_Mug_4_1__\": the quantity \"one\" is not a whole "
       "number from 0 to 99999 [quantity-not-number]\n"},
      {form + "<select name=eop_Size><option value=\"Large^1^0\">Large</select>" + button,
       "p.html:1:104: error: the cart refuses the order: field \"eop_Size\": an option or text "
       "needs an item (pelluxadd) in the same request [cart-refusal]\n"},
      {form + "<b>Mug</b> $5.00<input type=hidden name=pelluxadd value=\"Mug^4.50^1^^\">" + button,
       "p.html:1:124: error: the price shown, $5.00, differs from the price sent, 4.50 "
       "[price-differs]\n"},
      {form + "<input type=hidden name=pelluxadd value=\"Mug^4^1^^\">" + button +
           "\n<a href=\"https://shop.example/cgi-bin/pellux.cgi?pelluxadd=Mug^5^1^^\">b</a>",
       "p.html:1:108: warning: \"Mug\" is sent at 4 here, and at 5 in p.html:2:9 "
       "[description-prices-differ]\n"
       "p.html:2:9: warning: \"Mug\" is sent at 5 here, and at 4 in p.html:1:108 "
       "[description-prices-differ]\n"},
  };
  for (const BrokenCase &test : cases) {
    EXPECT_EQ(FindingLines(CheckPage("p.html", test.page, ShopSettings())), test.findings)
        << test.page;
  }
}

// The page of built fragments ("command json"), as the palette inserts them.
std::string BuiltPage(const std::vector<std::string> &fragments, const Settings &settings) {
  std::vector<std::string> built;
  for (const std::string &fragment : fragments) {
    const std::string name = fragment.substr(0, fragment.find(' '));
    const cli::Command *command = cli::FindCommand(name);
    std::string input = fragment.find(' ') == std::string::npos ? "" : fragment.substr(name.size());
    if (name == "page") {
      const std::string templateName = input.substr(1, input.find(' ', 1) - 1);
      built.push_back(command->buildFromTemplate(
          settings, nlohmann::json::parse(input.substr(templateName.size() + 1)),
          std::string(VENDIGO_TEMPLATES_DIR) + "/" + templateName));
    } else {
      built.push_back(command->build(
          settings, input.empty() ? nlohmann::json::object() : nlohmann::json::parse(input)));
    }
  }
  return testing::AssembleShopPage(built);
}

TEST(PageCheckTest, PagesTheProgramsMakeGiveNoFinding) {
  std::vector<std::vector<std::string>> pages;
  for (const testing::ShopPage &page : testing::ShopPages()) pages.push_back(page.fragments);
  pages.push_back({"form", "quantity", "viewcart", "buybutton"});
  pages.push_back({R"(quicklink {"Description": "Mug", "Price": "4.5", "Weight": "1",
                   "InsertProductInfo": true, "Brackets": true})",
                   R"(quicklink {"Description": "Cup", "Price": "2"})", "viewcart"});
  for (const int generation : {3, 4}) {
    for (const std::vector<std::string> &fragments : pages) {
      std::string html;
      try {
        html = BuiltPage(fragments, ShopSettings(generation));
      } catch (const JsonInputError &) {
        continue;  // a quantity table needs generation 4
      }
      EXPECT_EQ(FindingLines(CheckPage("p.html", html, ShopSettings(generation))), "") << html;
    }
  }
}

TEST(PageCheckTest, CataloguesGiveNoFinding) {
  const std::string csv =
      "Description,Price,Weight,Option1Name,Option1Rows,Related,LongText\n"
      "Mug,4.50,1,Size,\"Small | 0 | 0 | Small\nLarge | 2 | 0 | Large -- Add $2\","
      "\"Saucer | 2.25 | 1\",Blue\n"
      "Cup,1234.5,2,,,,\"Holds 0.3 l\"\n";
  for (const char *name : {"single_product", "product_range"}) {
    TempFolder folder;
    CatalogueCsvReader rows(csv);
    const CatalogueReport report =
        BuildCatalogue(ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) + "/" + name + ".zft"),
                       rows, ShopSettings(), folder.path(), folder.path() / "out", {});
    ASSERT_EQ(report.PagesWritten, 2u);
    const SiteCheckResult result = CheckSite({(folder.path() / "out").string()}, ShopSettings());
    EXPECT_EQ(FindingLines(result.findings), "");
    EXPECT_EQ(result.pages, 3u);  // and the index
  }
}

// Across pages: the same description at two prices, in the files' order however many threads;
// a stop asked for by the progress ends the check.
TEST(PageCheckTest, SiteCheckSeesEveryPage) {
  TempFolder folder;
  const auto item = [](const std::string &price) {
    return "<a href=\"https://shop.example/cgi-bin/pellux.cgi?pelluxadd=Mug^" + price +
           "^1^^\">b</a>";
  };
  std::filesystem::create_directory(folder.path() / "b");
  TempFolder::WriteBytes(folder.path() / "b" / "two.htm", item("5"));
  TempFolder::WriteBytes(folder.path() / "a.html", item("4"));
  TempFolder::WriteBytes(folder.path() / "b" / "notes.txt", item("6"));
  // A killed catalogue run's hidden folder is no part of the site.
  std::filesystem::create_directory(folder.path() / ".vendigo-stage-1-0");
  TempFolder::WriteBytes(folder.path() / ".vendigo-stage-1-0" / "c.html", item("7"));
  const std::string root = folder.path().string();
  const SiteCheckResult result = CheckSite({root, root + "/missing.html"}, ShopSettings());
  EXPECT_EQ(FindingLines(result.findings),
            root + "/a.html:1:9: warning: \"Mug\" is sent at 4 here, and at 5 in " + root +
                "/b/two.htm:1:9 [description-prices-differ]\n" + root +
                "/b/two.htm:1:9: warning: \"Mug\" is sent at 5 here, and at 4 in " + root +
                "/a.html:1:9 [description-prices-differ]\n" + root +
                "/missing.html: error: cannot read the page: No such file or directory "
                "[unreadable]\n");
  EXPECT_EQ(result.pages, 3u);
  EXPECT_EQ(result.errors, 1u);
  EXPECT_EQ(result.warnings, 2u);
  const SiteCheckResult stopped =
      CheckSite({root}, ShopSettings(), [](std::size_t, std::size_t) { return false; });
  EXPECT_TRUE(stopped.stopped);
}

}  // namespace
}  // namespace vendigo
