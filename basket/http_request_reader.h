#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "basket/order_reader.h"

namespace vendigo {

// Bounds of one request to the test cart: the request line and headers, and the body.
inline constexpr std::size_t kMaxHeadBytes = 16 * 1024;
inline constexpr std::size_t kMaxBodyBytes = kMaxRequestBytes;

// One HTTP/1.0 or HTTP/1.1 request as it was sent.
struct HttpRequest {
  std::string method;
  std::string target;  // the origin form: "/cgi-bin/pellux.cgi?pelluxadd=..."
  bool isHttp10 = false;
  std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
  std::string body;

  // The value of the header of that lower-case name, nullptr when it was not sent.
  const std::string *Header(std::string_view name) const;
  // HTTP/1.1 keeps the connection unless it says "Connection: close"; HTTP/1.0 ends it.
  bool KeepsConnection() const;
};

// What the bytes received on a connection so far make of its next request.
struct HttpReading {
  enum class Outcome { kIncomplete, kRequest, kRefused };
  Outcome outcome = Outcome::kIncomplete;
  HttpRequest request;     // kRequest
  std::size_t length = 0;  // kRequest: the bytes the request took, the next one follows them
  int status = 0;          // kRefused: 400, 413, 431, 501 or 505
  std::string reason;      // kRefused: why, for the answer's text
};

// Reads the request at the start of received. It is refused as soon as what arrived shows that it
// is malformed, that its head passes kMaxHeadBytes or that its body (Content-Length) passes
// kMaxBodyBytes, so a refused request's rest never needs to be read. Bodies in chunks
// (Transfer-Encoding) are refused: browsers send forms with a length.
HttpReading ReadHttpRequest(std::string_view received);

}  // namespace vendigo
