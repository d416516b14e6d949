#include "basket/basket_page.h"

#include "core/html_escape.h"

#include <cstdio>

#include "builders/price_rules.h"

namespace vendigo {

namespace {

std::string Json(std::string_view text) {
  std::string escaped = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      escaped += '\\';
      escaped += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned char>(c));
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped + "\"";
}

std::string Taxable(std::string_view taxable) {
  if (taxable == "1") return "yes";
  if (taxable == "0") return "no";
  return taxable.empty() ? "not stated" : EscapeHtmlText(taxable);
}

std::string Money(std::string_view currency, double price) {
  return EscapeHtmlText(PriceDisplay(currency, FormatPrice(price)));
}

std::string LineRow(const BasketLine &line, std::size_t index, std::string_view currency) {
  std::string options;
  for (const ChosenOption &option : line.options) {
    options += EscapeHtmlText(option.name) + ": " + EscapeHtmlText(option.description) + " (" +
               Money(currency, option.price) + ")<br>";
  }
  std::string texts;
  for (const TypedText &text : line.texts) {
    texts += EscapeHtmlText(text.caption) + ": " + EscapeHtmlText(text.text) + " (" +
             Money(currency, text.price) + ")<br>";
  }
  return "<tr><td>" + EscapeHtmlText(line.description) + "</td><td>" + options + "</td><td>" +
         texts + "</td><td class=\"n\">" + Money(currency, UnitPrice(line)) +
         "</td><td class=\"n\">" + std::to_string(line.quantity) + "</td><td class=\"n\">" +
         std::to_string(UnitWeight(line)) + "</td><td>" + Taxable(line.taxable) + "</td><td>" +
         EscapeHtmlText(line.taxCode) + "</td><td class=\"n\">" +
         Money(currency, UnitPrice(line) * line.quantity) +
         "</td><td><form method=\"POST\" action=\"" + kRemoveLinePath +
         "\"><input type=\"hidden\" name=\"line\" value=\"" + std::to_string(index) +
         "\"><input type=\"submit\" value=\"Remove\"></form></td></tr>\n";
}

}  // namespace

std::string BasketPageHtml(const Basket &basket, std::string_view currency,
                           const std::vector<Refusal> &refusals, std::string_view backUrl) {
  std::string page =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Vendigo Test Cart</title>\n"
      "<style>body{font-family:sans-serif;margin:1.5em}table{border-collapse:collapse}"
      "th,td{border:1px solid #bbb;padding:.3em .6em;vertical-align:top}td.n{text-align:right}"
      ".refused{border:2px solid #c00;background:#fee;padding:.5em 1em;margin-bottom:1em}"
      ".test{color:#666}form{display:inline;margin:0}</style></head><body>\n"
      "<h1>Basket</h1>\n<p class=\"test\">Vendigo Test Cart: nothing here is a real order.</p>\n";
  if (!refusals.empty()) {
    page +=
        "<div class=\"refused\" id=\"refused\"><p>This order could not be read, so nothing was "
        "added:</p><ul>\n";
    for (const Refusal &refusal : refusals) {
      page += "<li>" +
              (refusal.field.empty() ? "" : "<b>" + EscapeHtmlText(refusal.field) + "</b>: ") +
              EscapeHtmlText(refusal.reason) + "</li>\n";
    }
    page += "</ul></div>\n";
  }
  if (basket.lines.empty()) {
    page += "<p>The basket is empty.</p>\n";
  } else {
    page +=
        "<table><tr><th>Description</th><th>Options</th><th>Texts</th><th>Unit price</th>"
        "<th>Quantity</th><th>Weight each</th><th>Taxable</th><th>Tax code</th><th>Line total</th>"
        "<th></th></tr>\n";
    for (std::size_t i = 0; i < basket.lines.size(); ++i) {
      page += LineRow(basket.lines[i], i, currency);
    }
    page += "<tr><th colspan=\"5\">Total</th><th class=\"n\">" +
            std::to_string(TotalWeight(basket)) + "</th><th colspan=\"2\"></th><th class=\"n\">" +
            Money(currency, TotalPrice(basket)) + "</th><th></th></tr>\n</table>\n";
  }
  page += "<p><form method=\"POST\" action=\"" + std::string(kEmptyBasketPath) +
          "\"><input type=\"submit\" value=\"Empty Basket\"></form> ";
  page += backUrl.empty()
              ? std::string("<button onclick=\"history.back()\">Back to the Shop</button>")
              : "<a href=\"" + EscapeHtmlText(backUrl) + "\">Back to the Shop</a>";
  return page + "</p>\n</body></html>\n";
}

std::string BasketJson(const Basket &basket, std::string_view currency,
                       const std::vector<Refusal> &refusals) {
  std::string json = "{\"currency\":" + Json(currency) + ",\"lines\":[";
  for (std::size_t i = 0; i < basket.lines.size(); ++i) {
    const BasketLine &line = basket.lines[i];
    json += std::string(i ? "," : "") + "{\"description\":" + Json(line.description) +
            ",\"price\":" + Json(FormatPrice(line.price)) + ",\"options\":[";
    for (std::size_t k = 0; k < line.options.size(); ++k) {
      const ChosenOption &option = line.options[k];
      json += std::string(k ? "," : "") + "{\"name\":" + Json(option.name) +
              ",\"description\":" + Json(option.description) +
              ",\"price\":" + Json(FormatPrice(option.price)) +
              ",\"weight\":" + std::to_string(option.weight) + "}";
    }
    json += "],\"texts\":[";
    for (std::size_t k = 0; k < line.texts.size(); ++k) {
      const TypedText &text = line.texts[k];
      json += std::string(k ? "," : "") + "{\"caption\":" + Json(text.caption) +
              ",\"price\":" + Json(FormatPrice(text.price)) + ",\"text\":" + Json(text.text) + "}";
    }
    json += "],\"unitPrice\":" + Json(FormatPrice(UnitPrice(line))) +
            ",\"quantity\":" + std::to_string(line.quantity) +
            ",\"weight\":" + std::to_string(UnitWeight(line)) +
            ",\"taxable\":" + Json(line.taxable) + ",\"taxCode\":" + Json(line.taxCode) +
            ",\"lineTotal\":" + Json(FormatPrice(UnitPrice(line) * line.quantity)) + "}";
  }
  json += "],\"totalPrice\":" + Json(FormatPrice(TotalPrice(basket))) +
          ",\"totalWeight\":" + std::to_string(TotalWeight(basket)) + ",\"refusals\":[";
  for (std::size_t i = 0; i < refusals.size(); ++i) {
    json += std::string(i ? "," : "") + "{\"field\":" + Json(refusals[i].field) +
            ",\"reason\":" + Json(refusals[i].reason) + "}";
  }
  return json + "]}\n";
}

}  // namespace vendigo
