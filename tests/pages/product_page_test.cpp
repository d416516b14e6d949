#include "pages/product_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_error.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

using testing::TempFolder;

Settings Shop(int generation = 4) {
  Settings settings;
  settings.Company = "Blue Mug Ltd";
  settings.Currency = "$";
  settings.OrderButton = "Order!";
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.PelluxGeneration = generation;
  return settings;
}

const std::string kHiddenStart =
    R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE=")";
const std::string kHiddenEnd = R"("><!--WEBBOT bot="HTMLMarkup" EndSpan -->)";
const std::string kUpsellsHead =
    R"(<div align="center"><center><TABLE BORDER="1" CELLPADDING="5" CELLSPACING="0" WIDTH="456"><TR><TD ALIGN="CENTER">BUY</TD><TD ALIGN="CENTER">Description</TD><TD ALIGN="CENTER">Price</TD></TR>)";
const std::string kUpsellsFoot = "</TABLE></center></div>";

ProductPageInput Mug(std::string price = "1234.5") {
  ProductPageInput input;
  input.Description = "Mug";
  input.Price = price;
  input.Weight = "2";
  return input;
}

TEST(BuildProductPage, SingleDescriptionMode) {
  struct Case {
    const char *name;
    std::string templateText;
    ProductPageInput input;
    Settings settings;
    std::string expected;
  };
  ProductPageInput taxed = Mug("4.50");
  taxed.Taxable = TaxState::Checked;
  taxed.SmartTaxCode = "TX1";
  ProductPageInput quoted = Mug("4");
  quoted.Description = R"(12" Plate)";
  Settings htmlButton = Shop();
  htmlButton.OrderButton = R"(<img src="buy.gif">)";
  Settings shortButton = Shop();
  shortButton.OrderButton = "X";
  const std::vector<Case> cases = {
      {"description, formatted price and hidden field",
       "<p>%zf_description% %zf_price%</p>%zf_pelluxaddh%", Mug(), Shop(),
       "<p>Mug 1,234.50</p>" + kHiddenStart + "Mug^1234.5^2^^" + kHiddenEnd},
      {"price that is no number stays as typed", "%zf_currency%%zf_price%", Mug("abc"), Shop(),
       "$abc"},
      {"empty price stays empty", "[%zf_price%]", Mug(""), Shop(), "[]"},
      {"generation 4 writes the tax fields", "%zf_pelluxaddh%", taxed, Shop(),
       kHiddenStart + "Mug^4.50^2^1^TX1" + kHiddenEnd},
      {"other generations leave the hidden tax fields empty", "%zf_pelluxaddh%", taxed, Shop(3),
       kHiddenStart + "Mug^4.50^2^^" + kHiddenEnd},
      {"a double quote in the hidden value is an entity, the visible text stays",
       "%zf_description%|%zf_pelluxaddh%", quoted, Shop(),
       R"(12" Plate|)" + kHiddenStart + "12&quot; Plate^4^2^^" + kHiddenEnd},
      {"selection list empty in single mode", "[%zf_pelluxadds%]", Mug(), Shop(), "[]"},
      {"company, location and placeholders in any case",
       "%ZF_Company_Name%@%zf_pellux_location%:%Zf_Price%", Mug(), Shop(),
       "Blue Mug Ltd@/cgi-bin/pellux.cgi:1,234.50"},
      {"order button text", "%zf_addcart_button%", Mug(), Shop(),
       R"(<input TYPE="SUBMIT" VALUE="Order!">)"},
      {"order button html", "%zf_addcart_button%", Mug(), htmlButton, R"(<img src="buy.gif">)"},
      {"one-character order button", "[%zf_addcart_button%]", Mug(), shortButton, "[]"},
      {"unknown placeholders stay", "%zf_colour% %zf_price", Mug(), Shop(),
       "%zf_colour% %zf_price"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildProductPage(c.templateText, c.input, c.settings), c.expected);
  }
}

TEST(BuildProductPage, PlaceholdersInValues) {
  struct Case {
    const char *name;
    ProductPageInput input;
    std::string expected;
  };
  ProductPageInput laterPlaceholder = Mug();
  laterPlaceholder.Description = "Mug %zf_upsells%";
  laterPlaceholder.Related = {{"Spoon", "1", "0", "", ""}};
  ProductPageInput earlierPlaceholder = Mug();
  earlierPlaceholder.LongText = "Long %zf_description% text";
  ProductPageInput blockInValue = Mug();
  blockInValue.LongText = R"(<zf_if="image">kept</zf_if="image">)";
  const std::vector<Case> cases = {
      {"a later placeholder inside a value is replaced", laterPlaceholder,
       "Mug " + kUpsellsHead +
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1^0^^"></TD><TD>Spoon</TD><TD>$1</TD></TR>)" +
           "\r\n" + kUpsellsFoot + "|"},
      {"an earlier placeholder inside a value stays", earlierPlaceholder,
       "Mug|Long %zf_description% text"},
      {"block tags inside a value stay", blockInValue,
       R"(Mug|<zf_if="image">kept</zf_if="image">)"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildProductPage("%zf_description%|%zf_long_text%", c.input, Shop()), c.expected);
  }
}

std::string Repeated(const std::string &text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(BuildProductPage, APageBeyondTheLimitIsRefused) {
  // Placeholders in the merchant's texts are replaced as ever, so a few of them can multiply the
  // page: ten long texts of ten thousand related products tables would be 370 MB.
  ProductPageInput multiplied = Mug();
  multiplied.LongText = Repeated("%zf_upsells%", 10000);
  for (int r = 0; r < 29; ++r) multiplied.Related.push_back({"Spoon", "1.50", "1", "", ""});
  struct Case {
    std::string templateText;
    ProductPageInput input;
    std::size_t limit;
    bool built;
  };
  const std::vector<Case> cases = {
      {Repeated("%zf_long_text%", 10), multiplied, kMaxPageBytes, false},
      {"%zf_description%", Mug(), 3, true},  // "Mug"
      {"%zf_price%", Mug(), 7, false},       // "1,234.50"
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.templateText.substr(0, 40) + " " + std::to_string(c.limit));
    try {
      EXPECT_LE(BuildProductPage(c.templateText, c.input, Shop(), c.limit).size(), c.limit);
      EXPECT_TRUE(c.built);
    } catch (const PageTooLarge &error) {
      EXPECT_FALSE(c.built);
      if (c.limit == kMaxPageBytes) {
        EXPECT_STREQ(error.what(),
                     "The product page would be larger than 256 MB, so it is not built. A "
                     "placeholder repeated in the template or in the texts multiplies the page.");
      }
    }
  }
}

TEST(BuildProductPage, MultipleDescriptionsMode) {
  ProductPageInput input;
  input.Mode = DescriptionMode::Multiple;
  input.Description = "ignored";
  input.Price = "9";
  input.Descriptions = {{"Mug", "4.50", "1", "1", "TX", "Mug -- $4.50"},
                        {"Cup", "3", "1", "", "", "Cup"}};
  const std::string page = BuildProductPage(
      "[%zf_description%|%zf_price%|%zf_pelluxaddh%|%zf_currency%]%zf_pelluxadds%", input, Shop());
  EXPECT_EQ(
      page,
      "[|||]"
      R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^1^1^TX" SELECTED>Mug -- $4.50)"
      "\r\n"
      R"(<OPTION VALUE="Cup^3^1^^">Cup)"
      "\r\n</SELECT>");
}

// Without related products, their block goes too.
TEST(BuildProductPage, ImageBlocksFollowTheImageTag) {
  const std::string templateText =
      R"(<zf_if="image"><td>%zf_product_image%</td><zf_else="image"><td>No picture</td></zf_if="image">[%zf_product_image%])"
      R"(<zf_if="upsells"><h2>Also</h2>%zf_upsells%</zf_if="upsells">)";
  ProductPageInput withImage = Mug();
  withImage.ProductImageTag = ProductImageTag("/srv/shop/mug.gif");
  EXPECT_EQ(
      BuildProductPage(templateText, withImage, Shop()),
      R"(<td><IMG SRC="file:///srv/shop/mug.gif" ALT="[PRODUCT IMAGE]" BORDER="0"></td>[<IMG SRC="file:///srv/shop/mug.gif" ALT="[PRODUCT IMAGE]" BORDER="0">])");
  EXPECT_EQ(BuildProductPage(templateText, Mug(), Shop()), "<td>No picture</td>[]");
}

TEST(BuildProductPage, EveryPlaceholderOfAFullPage) {
  ProductPageInput input = Mug("12");
  input.LongText = "Line one\r\nLine two";
  input.Options[1] = {"Size", {{"Small", "0", "0", "Small"}}};
  input.Related = {{"Spoon", "1.5", "0", "1", "TX"}};
  const std::string templateText =
      "%zf_company_name%\r\n%zf_addcart_button%\r\n%zf_pelluxadds%\r\n%zf_pelluxaddh%\r\n"
      "%zf_currency%\r\n%zf_description%\r\n%zf_price%\r\n%zf_long_text%\r\n"
      "%zf_pellux_location%\r\n%zf_all_options%\r\n%zf_product_image%\r\n%zf_upsells%";
  EXPECT_EQ(
      BuildProductPage(templateText, input, Shop()),
      "Blue Mug Ltd\r\n"
      R"(<input TYPE="SUBMIT" VALUE="Order!">)"
      "\r\n\r\n" +
          kHiddenStart + "Mug^12^2^^" + kHiddenEnd +
          "\r\n$\r\nMug\r\n12.00\r\nLine one\r\nLine two\r\n/cgi-bin/pellux.cgi\r\n"
          R"(<TABLE><TR><TD>Size</TD><TD><SELECT NAME="eop_Size">)"
          "\r\n"
          R"(<OPTION VALUE="Small^0^0" SELECTED>Small)"
          "\r\n</SELECT></TD></TR></TABLE>\r\n\r\n" +
          kUpsellsHead +
          R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1.5^0^1^TX"></TD><TD>Spoon</TD><TD>$1.5</TD></TR>)"
          "\r\n" +
          kUpsellsFoot);
}

DescriptionRow Row(std::string description, std::string price, std::string readable,
                   std::string weight = "0") {
  return {description, price, weight, "", "", readable};
}

TEST(GetPelluxAddSelect, GenerationFourUsesTheReadableTextColumn) {
  struct Case {
    const char *name;
    std::vector<DescriptionRow> rows;
    std::string expected;
  };
  std::vector<DescriptionRow> thirty(30, Row("Item", "1", "Item"));
  std::string thirtyExpected = R"(<SELECT NAME="pelluxadd" size ="1">)";
  for (int r = 1; r <= 29; ++r) {
    thirtyExpected +=
        std::string(R"(<OPTION VALUE="Item^1^0^^")") + (r == 1 ? " SELECTED" : "") + ">Item\r\n";
  }
  thirtyExpected += "</SELECT>";
  const std::vector<Case> cases = {
      {"two rows",
       {Row("Mug", "4.50", "Mug -- $4.50", "1"), Row("Cup", "3", "Cup", "1")},
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^1^^" SELECTED>Mug -- $4.50)"
       "\r\n"
       R"(<OPTION VALUE="Cup^3^1^^">Cup)"
       "\r\n</SELECT>"},
      {"row 1 without readable text: nothing selected",
       {Row("Mug", "4.50", ""), Row("Cup", "3", "Cup")},
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Cup^3^0^^">Cup)"
       "\r\n</SELECT>"},
      {"rows without price or description skipped",
       {Row("Mug", "", "Mug"), Row("", "3", "Cup"), Row("Pot", "2", "Pot", "")},
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Pot^2^^^">Pot)"
       "\r\n</SELECT>"},
      {"double quotes in the value become entities",
       {{R"(A "B")", "1", R"(2")", R"(")", R"(T")", R"(A "B")"}},
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="A &quot;B&quot;^1^2&quot;^&quot;^T&quot;" SELECTED>A "B")"
       "\r\n</SELECT>"},
      {"no usable row", {Row("Mug", "4", "")}, ""},
      {"no rows", {}, ""},
      {"only 29 rows", thirty, thirtyExpected},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetPelluxAddSelect(c.rows, Shop(4)), c.expected);
  }
}

TEST(GetPelluxAddSelect, OtherGenerationsShowTheReadableTextRule) {
  struct Case {
    const char *name;
    std::vector<DescriptionRow> rows;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"price above zero, zero price, price no number",
       {{"Mug", "4.50", "1", "1", "TX", "typed"}, Row("Cup", "00.00", ""), Row("Pot", "x", "")},
       R"(<SELECT NAME="pelluxadd" size ="1"><OPTION VALUE="Mug^4.50^1^^" SELECTED>Mug -- $4.50)"
       "\r\n"
       R"(<OPTION VALUE="Cup^00.00^0^^">Cup)"
       "\r\n"
       R"(<OPTION VALUE="Pot^x^0^^">Pot)"
       "\r\n</SELECT>"},
      {"description and price needed", {Row("Mug", "", "Mug"), Row("", "4", "")}, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetPelluxAddSelect(c.rows, Shop(3)), c.expected);
  }
}

TEST(GetEops, OptionTable) {
  struct Case {
    const char *name;
    std::array<OptionGroup, kOptionGroups> groups;
    std::string expected;
  };
  const OptionGroup size{"Size",
                         {{"Small", "0", "0", "Small"}, {"Large", "2", "0", "Large -- Add $2"}}};
  const OptionGroup colour{"Colour",
                           {{"Red", "", "", "Red"}, {"", "", "", ""}, {"", "", "", "Any"}}};
  const std::string sizeRow = R"(<TR><TD>Size</TD><TD><SELECT NAME="eop_Size">)"
                              "\r\n"
                              R"(<OPTION VALUE="Small^0^0" SELECTED>Small)"
                              "\r\n"
                              R"(<OPTION VALUE="Large^2^0">Large -- Add $2)"
                              "\r\n</SELECT></TD></TR>";
  const std::string colourRow = R"(<TR><TD>Colour</TD><TD><SELECT NAME="eop_Colour">)"
                                "\r\n"
                                R"(<OPTION VALUE="Red^^" SELECTED>Red)"
                                "\r\n"
                                R"(<OPTION VALUE="^^">Any)"
                                "\r\n</SELECT></TD></TR>";
  const std::vector<Case> cases = {
      {"one group", {size, OptionGroup{}, OptionGroup{}}, "<TABLE>" + sizeRow + "</TABLE>"},
      {"groups in tab order, empty one between",
       {colour, OptionGroup{}, size},
       "<TABLE>" + colourRow + sizeRow + "</TABLE>"},
      {"name without row 1 readable text: group left out",
       {OptionGroup{"Size", {{"Small", "0", "0", ""}, {"Large", "2", "0", "Large"}}}, size,
        OptionGroup{}},
       "<TABLE>" + sizeRow + "</TABLE>"},
      {"rows without a name: group left out",
       {OptionGroup{"", size.Rows}, OptionGroup{}, OptionGroup{}},
       ""},
      {"double quotes in the name and values",
       {OptionGroup{R"(Length ")", {{R"(12")", "1", "0", R"(12")"}}}, OptionGroup{}, OptionGroup{}},
       R"(<TABLE><TR><TD>Length "</TD><TD><SELECT NAME="eop_Length &quot;">)"
       "\r\n"
       R"(<OPTION VALUE="12&quot;^1^0" SELECTED>12")"
       "\r\n</SELECT></TD></TR></TABLE>"},
      {"nothing", {}, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetEops(c.groups), c.expected);
  }
}

TEST(ParseEops, UsesFortyNineRows) {
  OptionGroup group{"N", std::vector<OptionRow>(50, {"a", "1", "0", "a"})};
  std::string expected = "<TR><TD>N</TD><TD><SELECT NAME=\"eop_N\">\r\n";
  for (int r = 1; r <= 49; ++r) {
    expected += std::string("<OPTION VALUE=\"a^1^0\"") + (r == 1 ? " SELECTED" : "") + ">a\r\n";
  }
  expected += "</SELECT></TD></TR>";
  EXPECT_EQ(ParseEops(group), expected);
}

TEST(GetUpsells, RelatedProductsTable) {
  struct Case {
    const char *name;
    std::vector<RelatedRow> rows;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"rows with description and price",
       {{"Spoon", "1.5", "0", "1", "TX"},
        {"Fork", "", "0", "", ""},
        {"", "2", "0", "", ""},
        {R"(Tray "XL")", "12", "3", "", ""}},
       kUpsellsHead +
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Spoon^1.5^0^1^TX"></TD><TD>Spoon</TD><TD>$1.5</TD></TR>)"
           "\r\n"
           R"(<TR><TD><INPUT TYPE="CHECKBOX" NAME ="addit" VALUE="Tray &quot;XL&quot;^12^3^^"></TD><TD>Tray "XL"</TD><TD>$12</TD></TR>)"
           "\r\n" +
           kUpsellsFoot},
      {"no related products: no table", {{"Fork", "", "", "", ""}}, ""},
      {"no rows", {}, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetUpsells(c.rows, "$"), c.expected);
  }
}

TEST(ReadableText, FillsFromDescriptionAndPrice) {
  struct Case {
    std::string description;
    std::string price;
    std::string descriptionText;
    std::string optionText;
  };
  const std::vector<Case> cases = {
      {"Mug", "4.50", "Mug -- $4.50", "Mug -- Add $4.50"},
      {"Large", "2", "Large -- $2", "Large -- Add $2"},
      {"Mug", "00.00", "Mug", "Mug"},
      {"Mug", "", "Mug", "Mug"},
      {"Mug", "1.2.3", "Mug", "Mug"},
      {"Mug", ".", "Mug", "Mug"},
      {"", "4", "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.description + "|" + c.price);
    EXPECT_EQ(DescriptionReadableText(c.description, c.price, "$"), c.descriptionText);
    EXPECT_EQ(OptionReadableText(c.description, c.price, "$"), c.optionText);
  }
}

TEST(ProductImage, TagPreviewAndAcceptedFiles) {
  struct Case {
    std::string path;
    bool accepted;
    std::string tag;
    std::string previewSource;
    std::string fileName;
  };
  const std::vector<Case> cases = {
      {R"(C:\shop\img\mug.gif)", true,
       R"(<IMG SRC="file:///C:/shop/img/mug.gif" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       R"(file:///C:\shop\img\mug.gif)", "mug.gif"},
      {"/home/ann/pics/photo.JPG", true,
       R"(<IMG SRC="file:///home/ann/pics/photo.JPG" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       "file:///home/ann/pics/photo.JPG", "photo.JPG"},
      {"/srv/a.png", true, R"(<IMG SRC="file:///srv/a.png" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       "file:///srv/a.png", "a.png"},
      {"/srv/photo.jpeg", false,
       R"(<IMG SRC="file:///srv/photo.jpeg" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       "file:///srv/photo.jpeg", "photo.jpeg"},
      {"/srv/gif", false, R"(<IMG SRC="file:///srv/gif" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       "file:///srv/gif", "gif"},
      // What a URL cannot hold as it is, is percent-encoded: the path stays one attribute value.
      {R"x(/tmp/x" onerror="alert(3)" a=".png)x", true,
       R"x(<IMG SRC="file:///tmp/x%22%20onerror=%22alert(3)%22%20a=%22.png" ALT="[PRODUCT IMAGE]" BORDER="0">)x",
       "file:///tmp/x%22%20onerror=%22alert(3)%22%20a=%22.png",
       R"x(x" onerror="alert(3)" a=".png)x"},
      {"/srv/My Shop/100% #1?<b>.gif", true,
       R"(<IMG SRC="file:///srv/My%20Shop/100%25%20%231%3F%3Cb%3E.gif" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       "file:///srv/My%20Shop/100%25%20%231%3F%3Cb%3E.gif", "100% #1?&lt;b&gt;.gif"},
      {R"(C:\My Shop\a#.gif)", true,
       R"(<IMG SRC="file:///C:/My%20Shop/a%23.gif" ALT="[PRODUCT IMAGE]" BORDER="0">)",
       R"(file:///C:\My%20Shop\a%23.gif)", "a#.gif"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(IsProductImageFile(c.path), c.accepted);
    EXPECT_EQ(ProductImageTag(c.path), c.tag);
    EXPECT_EQ(
        ImagePreviewPage(c.path),
        "<HTML>\r\n"
        R"(<BODY BGCOLOR="white" TEXT="BLACK"><CENTER><img src=")" +
            c.previewSource +
            R"("><p><TABLE BORDER="1" CELLPADDING="5" CELLSPACING="0"><TR><TD ALIGN="CENTER" COLSPAN="2"><B>)" +
            c.fileName + "</B></TD></TR></TABLE></BODY></HTML>\r\n");
  }
}

TEST(WriteImagePreview, WritesThePageAndALineEnd) {
  TempFolder folder;
  TempFolder::WriteBytes(folder.path() / "img~.html",
                         "old and longer than the new page" + std::string(500, 'x'));
  WriteImagePreview(folder.path(), "/srv/a.png");
  EXPECT_EQ(TempFolder::ReadBytes(folder.path() / "img~.html"),
            ImagePreviewPage("/srv/a.png") + "\r\n");

  EXPECT_THROW(WriteImagePreview(folder.path() / "missing", "/srv/a.png"), FileError);
}

TEST(WithHiddenCellsCleared, OnlyGenerationFourKeepsTheTaxAndReadableCells) {
  ProductPageInput input = Mug();
  input.Taxable = TaxState::Checked;
  input.SmartTaxCode = "TX";
  input.Descriptions = {{"Mug", "1", "0", "1", "TX", "Mug!"}};
  input.Related = {{"Cup", "1", "0", "0", "TX"}};
  input.Options[0] = {"Size", {{"S", "1", "0", "S"}}};

  const ProductPageInput four = WithHiddenCellsCleared(input, Shop(4));
  EXPECT_EQ(four.Taxable, TaxState::Checked);
  EXPECT_EQ(four.SmartTaxCode, "TX");
  EXPECT_EQ(four.Descriptions[0].ReadableText, "Mug!");
  EXPECT_EQ(four.Related[0].Taxable, "0");

  const ProductPageInput three = WithHiddenCellsCleared(input, Shop(3));
  EXPECT_EQ(three.Taxable, TaxState::Grayed);
  EXPECT_EQ(three.SmartTaxCode, "");
  EXPECT_EQ(three.Descriptions[0].CartDescription, "Mug");
  EXPECT_EQ(three.Descriptions[0].Taxable + three.Descriptions[0].SmartTax +
                three.Descriptions[0].ReadableText,
            "");
  EXPECT_EQ(three.Related[0].Taxable + three.Related[0].SmartTax, "");
  EXPECT_EQ(three.Related[0].Price, "1");
  EXPECT_EQ(three.Options[0].Rows[0].ReadableText, "S");
}

}  // namespace
}  // namespace vendigo
