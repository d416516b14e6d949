#include "publish/publish_target.h"

#include <cctype>
#include <charconv>

namespace vendigo {
namespace {

// The text with each %XX replaced by its byte; nullopt for a "%" without two hex digits after.
std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded += text[i];
      continue;
    }
    if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      return std::nullopt;
    }
    decoded += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
    i += 2;
  }
  return decoded;
}

// Bytes outside the address's plain characters as %XX; keep lists the further ones let through.
std::string PercentEncoded(std::string_view text, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || std::string_view("-._~").find(c) != std::string_view::npos ||
        keep.find(c) != std::string_view::npos) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

}  // namespace

std::optional<PublishTarget> ParsePublishTarget(std::string_view url, std::string &reason) {
  PublishTarget target;
  const std::size_t schemeEnd = url.find("://");
  std::string scheme(url.substr(0, schemeEnd == std::string_view::npos ? 0 : schemeEnd));
  for (char &c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (scheme == "sftp") {
    target.protocol = PublishProtocol::Sftp;
  } else if (scheme == "ftp") {
    target.protocol = PublishProtocol::Ftp;
  } else if (scheme == "ftps") {
    target.protocol = PublishProtocol::Ftps;
  } else {
    reason = "The target '" + std::string(url) +
             "' is no sftp://, ftp:// or ftps:// address, such as sftp://user@host/path.";
    return std::nullopt;
  }
  std::string_view rest = url.substr(schemeEnd + 3);
  const std::size_t pathStart = rest.find('/');
  const std::string_view authority = rest.substr(0, pathStart);
  const std::string_view path =
      pathStart == std::string_view::npos ? std::string_view("/") : rest.substr(pathStart);
  if (path.find_first_of("?#") != std::string_view::npos) {
    reason = "The target '" + std::string(url) + "' has a query or a fragment.";
    return std::nullopt;
  }
  std::string_view hostPort = authority;
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view userInfo = authority.substr(0, at);
    if (userInfo.find(':') != std::string_view::npos) {
      reason = "The target '" + std::string(url) +
               "' holds a password: leave it out, it is asked for when publishing.";
      return std::nullopt;
    }
    const std::optional<std::string> user = PercentDecoded(userInfo);
    if (!user) {
      reason = "The target '" + std::string(url) + "' has a bad user name.";
      return std::nullopt;
    }
    target.user = *user;
    hostPort = authority.substr(at + 1);
  }
  std::string_view host = hostPort;
  std::string_view port;
  if (!hostPort.empty() && hostPort.front() == '[') {
    const std::size_t close = hostPort.find(']');
    if (close == std::string_view::npos) {
      reason = "The target '" + std::string(url) + "' has a bad host.";
      return std::nullopt;
    }
    host = hostPort.substr(0, close + 1);
    if (close + 1 < hostPort.size()) {
      if (hostPort[close + 1] != ':') {
        reason = "The target '" + std::string(url) + "' has a bad host.";
        return std::nullopt;
      }
      port = hostPort.substr(close + 2);
    }
  } else if (const std::size_t colon = hostPort.find(':'); colon != std::string_view::npos) {
    host = hostPort.substr(0, colon);
    port = hostPort.substr(colon + 1);
  }
  if (host.empty()) {
    reason = "The target '" + std::string(url) + "' names no host.";
    return std::nullopt;
  }
  target.host = std::string(host);
  if (hostPort.size() != host.size()) {
    int number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || number < 1 ||
        number > 65535) {
      reason = "The target '" + std::string(url) + "' has a bad port.";
      return std::nullopt;
    }
    target.port = number;
  }
  std::optional<std::string> decodedPath = PercentDecoded(path);
  if (!decodedPath || decodedPath->find('\0') != std::string::npos) {
    reason = "The target '" + std::string(url) + "' has a bad path.";
    return std::nullopt;
  }
  while (decodedPath->size() > 1 && decodedPath->back() == '/') decodedPath->pop_back();
  target.path = *decodedPath;
  return target;
}

std::string PublishTargetUrl(const PublishTarget &target) {
  std::string url = target.protocol == PublishProtocol::Sftp  ? "sftp://"
                    : target.protocol == PublishProtocol::Ftp ? "ftp://"
                                                              : "ftps://";
  if (!target.user.empty()) url += PercentEncoded(target.user, "") + "@";
  url += target.host;
  if (target.port != 0) url += ":" + std::to_string(target.port);
  return url + PercentEncoded(target.path, "/~!$&'()*+,;=:@");
}

}  // namespace vendigo
