#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendigo {

enum class PublishProtocol {
  Sftp,  // sftp://: SSH, logged in with the agent or a key of ~/.ssh
  Ftp,   // ftp://: a password, sent in the clear
  Ftps,  // ftps://: FTP with explicit TLS (AUTH TLS on the FTP port), a password
};

// Where a site is published: sftp://user@host[:port]/path, ftp://user@host[:port]/path or
// ftps://user@host[:port]/path. The path is the site's folder on the server: for SFTP from the
// server's root ("/~/" for the user's home), for FTP from the folder the login lands in.
struct PublishTarget {
  PublishProtocol protocol = PublishProtocol::Sftp;
  std::string user;  // may be empty: then the local user's name for SFTP, "anonymous" for FTP
  std::string host;
  int port = 0;      // 0: the protocol's own (22 or 21)
  std::string path;  // decoded, begins with "/", ends without "/" unless it is "/"

  friend bool operator==(const PublishTarget &, const PublishTarget &) = default;
};

// Reads a target address. nullopt with reason, a sentence for the user, when it is none (an other
// scheme, no host, a password in the address, a bad port).
std::optional<PublishTarget> ParsePublishTarget(std::string_view url, std::string &reason);

// The target as an address that ParsePublishTarget reads back to the same target.
std::string PublishTargetUrl(const PublishTarget &target);

}  // namespace vendigo
