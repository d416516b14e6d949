#include "basket/http_request_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace vendigo {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeadEnd = "\r\n\r\n";
constexpr std::size_t kMaxLengthDigits = 18;

bool IsTokenChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

// A header value may hold blanks, visible characters and bytes above 127, no other control.
bool IsFieldValue(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
  });
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char &c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

HttpReading Refused(int status, std::string reason) {
  HttpReading reading;
  reading.outcome = HttpReading::Outcome::kRefused;
  reading.status = status;
  reading.reason = std::move(reason);
  return reading;
}

// "METHOD /target HTTP/1.x" into the request; the refusal when it is no such line.
std::optional<HttpReading> ReadRequestLine(std::string_view line, HttpRequest &request) {
  const std::size_t first = line.find(' ');
  const std::size_t last = line.rfind(' ');
  if (first == std::string_view::npos || first == last) {
    return Refused(400, "the request line is not \"METHOD /path HTTP/1.1\"");
  }
  const std::string_view method = line.substr(0, first);
  const std::string_view target = line.substr(first + 1, last - first - 1);
  const std::string_view version = line.substr(last + 1);
  const bool visible = std::all_of(target.begin(), target.end(), [](char c) {
    return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
  });
  if (!IsToken(method) || target.empty() || target.front() != '/' || !visible) {
    return Refused(400, "the request line is not \"METHOD /path HTTP/1.1\"");
  }
  const bool isHttp1x = version == "HTTP/1.1" || version == "HTTP/1.0";
  if (!isHttp1x) {
    const bool isHttp = version.size() == 8 && version.substr(0, 5) == "HTTP/" &&
                        std::isdigit(static_cast<unsigned char>(version[5])) && version[6] == '.' &&
                        std::isdigit(static_cast<unsigned char>(version[7]));
    if (isHttp) return Refused(505, "the test cart speaks HTTP/1.1 and HTTP/1.0");
    return Refused(400, "the request line is not \"METHOD /path HTTP/1.1\"");
  }
  request.method = method;
  request.target = target;
  request.isHttp10 = version == "HTTP/1.0";
  return std::nullopt;
}

// The header lines after the request line, up to the blank line; the refusal when one is broken.
std::optional<HttpReading> ReadHeaders(std::string_view lines, HttpRequest &request) {
  while (!lines.empty()) {
    const std::size_t end = std::min(lines.find(kLineEnd), lines.size());
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(std::min(end + kLineEnd.size(), lines.size()));
    const std::size_t colon = line.find(':');
    // A name right up to the colon, no folded lines (RFC 9112 5.1, 5.2), no stray CR or LF.
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon)) ||
        !IsFieldValue(line.substr(colon + 1))) {
      return Refused(400, "a header line is not \"Name: value\"");
    }
    request.headers.emplace_back(Lower(line.substr(0, colon)), TrimBlanks(line.substr(colon + 1)));
  }
  return std::nullopt;
}

std::size_t Count(const HttpRequest &request, std::string_view name) {
  return std::count_if(request.headers.begin(), request.headers.end(),
                       [name](const auto &header) { return header.first == name; });
}

}  // namespace

const std::string *HttpRequest::Header(std::string_view name) const {
  for (const auto &[headerName, value] : headers) {
    if (headerName == name) return &value;
  }
  return nullptr;
}

bool HttpRequest::KeepsConnection() const {
  if (isHttp10) return false;
  const std::string *connection = Header("connection");
  if (!connection) return true;
  std::string_view options = *connection;
  while (!options.empty()) {
    const std::size_t comma = std::min(options.find(','), options.size());
    if (Lower(TrimBlanks(options.substr(0, comma))) == "close") return false;
    options.remove_prefix(std::min(comma + 1, options.size()));
  }
  return true;
}

HttpReading ReadHttpRequest(std::string_view received) {
  const std::string headLimit = std::to_string(kMaxHeadBytes);
  const std::size_t lineEnd = received.find(kLineEnd);
  HttpReading reading;
  if (lineEnd != std::string_view::npos) {
    if (std::optional<HttpReading> refused =
            ReadRequestLine(received.substr(0, lineEnd), reading.request)) {
      return *refused;
    }
  }
  const std::size_t headEnd = received.find(kHeadEnd);
  if (headEnd == std::string_view::npos ? received.size() >= kMaxHeadBytes
                                        : headEnd + kHeadEnd.size() > kMaxHeadBytes) {
    return Refused(431, "the request's headers are over " + headLimit +
                            " bytes; the test cart reads up to " + headLimit);
  }
  if (headEnd == std::string_view::npos) return reading;

  HttpRequest &request = reading.request;
  if (headEnd > lineEnd) {
    const std::string_view lines =
        received.substr(lineEnd + kLineEnd.size(), headEnd - lineEnd - kLineEnd.size());
    if (std::optional<HttpReading> refused = ReadHeaders(lines, request)) return *refused;
  }
  if (Count(request, "host") > 1 || (!request.isHttp10 && Count(request, "host") == 0)) {
    return Refused(400, "an HTTP/1.1 request names its host in one Host header");
  }
  if (request.Header("transfer-encoding")) {
    return Refused(501, "the test cart reads a body of a given Content-Length, not in chunks");
  }
  std::size_t length = 0;
  if (const std::string *declared = request.Header("content-length")) {
    const bool isNumber = !declared->empty() && declared->size() <= kMaxLengthDigits &&
                          std::all_of(declared->begin(), declared->end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
    if (!isNumber || Count(request, "content-length") > 1) {
      return Refused(400, "the Content-Length is not one whole number");
    }
    length = std::stoull(*declared);
  }
  if (length > kMaxBodyBytes) {
    return Refused(413, "the request is " + std::to_string(length) +
                            " bytes long; the test cart reads up to " +
                            std::to_string(kMaxBodyBytes));
  }
  const std::size_t bodyStart = headEnd + kHeadEnd.size();
  if (received.size() - bodyStart < length) return reading;
  request.body = received.substr(bodyStart, length);
  reading.outcome = HttpReading::Outcome::kRequest;
  reading.length = bodyStart + length;
  return reading;
}

}  // namespace vendigo
