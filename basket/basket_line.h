#pragma once

#include <string>
#include <vector>

namespace vendigo {

// An option the shopper chose for an item: the eop_ list's name and the chosen entry.
struct ChosenOption {
  std::string name;
  std::string description;
  double price = 0;
  long weight = 0;
};

// What the shopper typed into a textadd_ input, with the input's caption and price.
struct TypedText {
  std::string caption;
  double price = 0;
  std::string text;
};

// One line of the basket: an item, what was chosen and typed for it, and how many.
struct BasketLine {
  std::string description;
  double price = 0;  // the item's own price, without options and texts
  long weight = 0;   // the item's own weight
  std::string taxable;
  std::string taxCode;
  std::vector<ChosenOption> options;
  std::vector<TypedText> texts;
  long quantity = 1;
};

// The price of one piece: the item's price plus the prices of its options and texts.
double UnitPrice(const BasketLine &line);
// The weight of one piece: the item's weight plus the weights of its options.
long UnitWeight(const BasketLine &line);

// The lines in the order they were added.
struct Basket {
  std::vector<BasketLine> lines;
};

double TotalPrice(const Basket &basket);
long TotalWeight(const Basket &basket);

}  // namespace vendigo
