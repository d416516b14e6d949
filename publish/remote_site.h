#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "publish/password_source.h"
#include "publish/publish_run.h"
#include "publish/publish_target.h"

namespace vendigo {

// Why a step on the server failed, in the words and status the run reports.
struct RemoteFailure {
  PublishStatus status = PublishStatus::RemoteError;
  std::string message;
  std::optional<PublishHostKey> hostKey;
};

// The site's folder on the server, reached through libcurl: SFTP (libssh2) or FTP with or
// without TLS. One connection is kept for every step. Paths are below the site folder, with "/"
// between folders.
class RemoteSite {
 public:
  RemoteSite(const PublishTarget &target, const PublishOptions &options, PasswordSource &passwords,
             const std::atomic<bool> *cancel);
  ~RemoteSite();
  RemoteSite(const RemoteSite &) = delete;
  RemoteSite &operator=(const RemoteSite &) = delete;

  // Logs in (SFTP: the agent, then ~/.ssh/id_ed25519, id_ecdsa, id_rsa; FTP: the password) and
  // makes sure the site folder exists.
  std::optional<RemoteFailure> Open();
  // The file's contents; nullopt in contents when it does not exist.
  std::optional<RemoteFailure> Read(const std::string &path, std::optional<std::string> &contents);
  // Sends the local file under its scratch name and renames it to path, making folders as needed.
  // sent(bytes) reports the bytes of this file sent so far.
  std::optional<RemoteFailure> Upload(const std::string &path,
                                      const std::filesystem::path &localFile,
                                      const std::function<void(std::uint64_t)> &sent);
  std::optional<RemoteFailure> UploadBytes(const std::string &path, std::string_view bytes);
  // Removes the file; one that is gone already is no failure.
  std::optional<RemoteFailure> Remove(const std::string &path);

 private:
  struct Source;
  std::optional<RemoteFailure> Send(const std::string &path, Source &source,
                                    const std::function<void(std::uint64_t)> &sent);
  void Prepare(const std::string &url);
  std::string Url(std::string_view path) const;
  std::string ServerPath(std::string_view path) const;
  std::optional<RemoteFailure> Login();
  // The bytes free for this user on the site folder's disk (SFTP's statvfs extension).
  std::optional<std::uint64_t> FreeBytes();
  // Appends the key to known_hosts as ssh writes it: "host type base64" or "[host]:port ...".
  bool AddKnownHost(const PublishHostKey &key, const unsigned char *blob, std::size_t length);
  RemoteFailure FailureOf(int code, const std::string &doing, const std::string &path);

  PublishTarget target_;
  PublishOptions options_;
  PasswordSource &passwords_;
  const std::atomic<bool> *cancel_;
  void *curl_ = nullptr;
  std::string base_;  // the address of the site folder, encoded, ending in "/"
  std::string user_;
  std::string password_;
  std::string keyFile_;  // empty: the agent
  std::string knownHosts_;
  std::string errorText_;
  std::optional<PublishHostKey> seenKey_;
  bool keyChanged_ = false;
  bool keyUnknown_ = false;
};

}  // namespace vendigo
