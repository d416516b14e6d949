#pragma once

#include <string>
#include <vector>

namespace vendigo::testing {

// The pages the browser tests order from, each made of vendigo-html fragments ("command json" or
// "page template json"); the fragments after a form container go into it, where a merchant
// inserts them. actions is what the shopper does in the page (the script of the cart browser
// test), basket what the cart then holds.
struct ShopPage {
  std::string name;
  std::vector<std::string> fragments;
  std::string actions;
  std::string basket;
};

inline const std::vector<ShopPage> &ShopPages() {
  static const std::vector<ShopPage> pages = [] {
    std::vector<ShopPage> list;
    const std::string item = R"(pelluxadd {"Description": "Shirt", "Price": "10", "Weight": "1"})";
    const std::string rows = R"("Rows": [["Mug", "4.5", "1"], ["Cup", "1000", "2", "1", "A"]])";
    list.push_back(
        {"hidden item",
         {"form",
          R"(pelluxadd {"Description": "Blue Mug", "Price": "4.50", "Weight": "2", "Taxable": "1"})",
          "quantity", "buybutton"},
         "set('quantity', '3'); buy()",
         "Blue Mug x3 @4.50 w2\n"});
    list.push_back({"quick link",
                    {R"(quicklink {"Description": "Café Mug", "Price": "1234.5", "Weight": "1"})"},
                    "follow()",
                    "Café Mug x1 @1,234.50 w1\n"});
    list.push_back(
        {"text option",
         {"form", item, R"(textadd {"Caption": "Name on shirt", "Price": "5.00"})", "buybutton"},
         "set('textadd_Name on shirt_5.00', 'Bob'); buy()",
         "Shirt x1 @15.00 w1 {Name on shirt=Bob}\n"});
    list.push_back(
        {"option list",
         {"form", item,
          R"(options {"Name": "Size", "Rows": [["Small", "00.00", "0", "Small"], ["Large", "2.5", "1", "Large"]]})",
          "buybutton"},
         "pick('eop_Size', 'Large'); buy()",
         "Shirt x1 @12.50 w2 [Size=Large]\n"});
    for (const bool wrapped : {false, true}) {
      const auto table = [&](const std::string &mode) -> std::vector<std::string> {
        const std::string addit = R"(addit {"Mode": ")" + mode + "\", " + rows +
                                  (wrapped ? R"(, "ProductInterface": true)" : "") + "}";
        if (wrapped) return {addit};
        return {"form", addit, "buybutton"};
      };
      const std::string in = wrapped ? " in product interface" : "";
      list.push_back({"checkbox table" + in, table("checkbox"),
                      "check('addit', 0); check('addit', 1); buy()",
                      "Mug x1 @4.50 w1\nCup x1 @1,000.00 w2\n"});
      list.push_back({"radio table" + in, table("radio"), "check('addit', 1); buy()",
                      "Cup x1 @1,000.00 w2\n"});
      list.push_back(
          {"quantity table" + in, table("quantity"), "qa(1, '2'); buy()", "Cup x2 @1,000.00 w2\n"});
    }
    list.push_back({"select list",
                    {"form", R"(addit {"Mode": "select", )" + rows + "}", "buybutton"},
                    "pick('addit', 'Cup'); buy()",
                    "Cup x1 @1,000.00 w2\n"});
    list.push_back({"eBay form",
                    {"ebay"},
                    "set('description', '123456'); set('price', '1,020.00'); "
                    "set('eop_Shipping', '4.5'); buy()",
                    "123456 x1 @1,024.50 w0 [Shipping=Shipping]\n"});
    for (const std::string name : {"single_product", "product_range"}) {
      list.push_back(
          {name + " single",
           {"page " + name +
            R"(.zft {"Description": "Blue mug", "Price": "4.5", "Weight": "1", "Options": [{"Name": "Size", "Rows": [["Small", "0", "0", "Small"], ["Large", "2", "1", "Large"]]}], "Related": [["Saucer", "1.50", "0"]]})"},
           "pick('eop_Size', 'Large'); set('quantity', '2'); field('addit') && check('addit'); "
           "buy()",
           "Blue mug x2 @6.50 w2 [Size=Large]\nSaucer x1 @1.50 w0\n"});
      list.push_back(
          {name + " multiple",
           {"page " + name +
            R"(.zft {"Mode": "multiple", "Descriptions": [["Red mug", "4", "1", "", "", "Red mug"], ["Green mug", "5", "2", "1", "B", "Green mug"]]})"},
           "pick('pelluxadd', 'Green'); buy()",
           "Green mug x1 @5.00 w2\n"});
    }
    return list;
  }();
  return pages;
}

// The page made of the built fragments: each after a form container goes into it.
inline std::string AssembleShopPage(const std::vector<std::string> &built) {
  static const std::string kFormContent = "<p>&nbsp;</p>";
  std::string html;
  for (const std::string &fragment : built) {
    const std::size_t at = html.find(kFormContent);
    if (at == std::string::npos) {
      html += fragment;
    } else {
      html.insert(at, fragment);
    }
  }
  return html;
}

}  // namespace vendigo::testing
