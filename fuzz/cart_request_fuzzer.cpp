// The test cart's request decoder: a form body or query string as a browser or anybody else sends
// it. Besides crashes and undefined behaviour it checks that a refused request orders nothing,
// that every line it orders has a description and at least one piece, that a request over the
// size bound is refused, and that the basket page and its JSON can be made from what it read.
// The same bytes as a connection's: a request read from them keeps to the bounds, and bytes of
// a whole request's bounds are always enough to decide.
#include <cstdint>
#include <string_view>

#include "basket/basket_page.h"
#include "basket/http_request_reader.h"
#include "basket/order_reader.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view request(reinterpret_cast<const char *>(data), size);
  const vendigo::Order order = vendigo::ReadRequest(request);
  FUZZ_CHECK(order.refusals.empty() || order.lines.empty());
  if (size > vendigo::kMaxRequestBytes) FUZZ_CHECK(!order.refusals.empty());
  for (const vendigo::BasketLine &line : order.lines) {
    FUZZ_CHECK(!line.description.empty());
    FUZZ_CHECK(line.quantity >= 1);
  }

  vendigo::Basket basket;
  const auto refused = vendigo::AddToBasket(basket, order.lines);
  FUZZ_CHECK(refused.has_value() || basket.lines.size() == order.lines.size());
  vendigo::BasketPageHtml(basket, "$", order.refusals, "");
  vendigo::BasketJson(basket, "$", order.refusals);

  using Outcome = vendigo::HttpReading::Outcome;
  const vendigo::HttpReading reading = vendigo::ReadHttpRequest(request);
  const std::size_t body = reading.request.body.size();
  if (reading.outcome == Outcome::kRequest) {
    FUZZ_CHECK(reading.length <= size && body <= vendigo::kMaxBodyBytes);
    FUZZ_CHECK(reading.length - body <= vendigo::kMaxHeadBytes);
  }
  if (size >= vendigo::kMaxHeadBytes + vendigo::kMaxBodyBytes) {
    FUZZ_CHECK(reading.outcome != Outcome::kIncomplete);
  }
  return 0;
}
