#include "basket/basket_line.h"

namespace vendigo {

double UnitPrice(const BasketLine &line) {
  double price = line.price;
  for (const ChosenOption &option : line.options) price += option.price;
  for (const TypedText &text : line.texts) price += text.price;
  return price;
}

long UnitWeight(const BasketLine &line) {
  long weight = line.weight;
  for (const ChosenOption &option : line.options) weight += option.weight;
  return weight;
}

double TotalPrice(const Basket &basket) {
  double total = 0;
  for (const BasketLine &line : basket.lines) total += UnitPrice(line) * line.quantity;
  return total;
}

long TotalWeight(const Basket &basket) {
  long total = 0;
  for (const BasketLine &line : basket.lines) total += UnitWeight(line) * line.quantity;
  return total;
}

}  // namespace vendigo
