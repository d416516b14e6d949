#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "check/site_check.h"
#include "core/settings.h"
#include "publish/password_source.h"
#include "publish/publish_target.h"

namespace vendigo {

// The file beside the site on the server that says what was published: each file's path, size
// and SHA-256. A file is sent only when the local one differs from it.
inline constexpr char kPublishManifestName[] = ".vendigo-manifest.json";

// One file of the site as it is sent: its path below the site folder with "/" between folders.
struct PublishFile {
  std::string path;
  std::uint64_t size = 0;
  std::string sha256;  // 64 lowercase hexadecimal digits
};

// What a publish does: the files to send, the published files to remove (only with
// deleteRemoved), and how many are already up to date. Files are in path order.
struct PublishPlan {
  std::vector<PublishFile> uploads;
  std::vector<std::string> deletions;
  // Published files no longer in the folder that stay on the server (without deleteRemoved).
  std::vector<std::string> kept;
  std::size_t unchanged = 0;
  std::uint64_t uploadBytes = 0;
};

enum class PublishStatus {
  Published,            // everything in the plan was done (a dry run: planned, nothing changed)
  CheckErrors,          // the check found errors; nothing was sent
  Cancelled,            // the cancel flag was set; what was done is recorded on the server
  WrongPassword,        // FTP or FTPS refused the user name or password
  KeyRefused,           // SFTP refused the agent's keys and every key file of ~/.ssh
  UnknownHostKey,       // the server's key is not in known_hosts (and not accepted)
  ChangedHostKey,       // known_hosts holds another key for this server
  RemoteFolderMissing,  // the target's folder does not exist on the server
  RemoteDiskFull,       // the server has no room for a file
  ConnectionFailed,     // no connection, or it was lost
  LocalFileError,       // a file of the site could not be read
  RemoteError,          // the server refused something else
};

// The server's host key as the SFTP connection saw it.
struct PublishHostKey {
  std::string host;  // as known_hosts names it: "host", or "[host]:port" off port 22
  std::string type;  // "ssh-ed25519", "ecdsa-sha2-nistp256", "ssh-rsa"
  std::string
      fingerprint;  // "SHA256:" and the unpadded base64 of the key's SHA-256, as ssh-keygen -l
};

struct PublishOptions {
  bool dryRun = false;         // plan only: reads the server's manifest, changes nothing
  bool deleteRemoved = false;  // remove published files that are no longer in the folder
  bool force = false;          // publish even when the check finds errors
  // An unknown host key with this fingerprint is accepted and added to known_hosts (for a dry
  // run only accepted). A changed key is never accepted.
  std::string acceptHostKey;
  // Certificates to trust for FTPS besides the system's (CURL_CA_BUNDLE on the command line).
  std::string caFile;
  // The folder whose .ssh holds the keys and known_hosts; empty: $HOME.
  std::filesystem::path home;
};

// How far a run is: called on the publishing thread after each piece of a file and each file.
struct PublishProgress {
  std::size_t filesDone = 0;
  std::size_t filesTotal = 0;  // uploads and deletions
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
  double secondsLeft = -1;  // estimated from the bytes per second so far; -1 not yet known
  std::string currentFile;
};

struct PublishCallbacks {
  std::function<void(const PublishProgress &)> progress;
  // Called once the plan is known, before anything is sent.
  std::function<void(const PublishPlan &)> planned;
  // Set from any thread to stop at once: the transfer under way is broken off, and its file
  // stays as it was on the server.
  const std::atomic<bool> *cancel = nullptr;
};

struct PublishResult {
  PublishStatus status = PublishStatus::Published;
  std::string message;  // what went wrong, in words for the user; empty when published
  PublishPlan plan;
  std::vector<CheckFinding> findings;  // the check's errors and warnings
  std::size_t filesUploaded = 0;       // renamed into place on the server
  std::size_t filesDeleted = 0;
  std::uint64_t bytesUploaded = 0;
  std::optional<PublishHostKey> hostKey;  // for UnknownHostKey and ChangedHostKey
};

// Publishes the site folder to the target: checks the site (errors stop it unless force), reads
// the server's manifest, plans, sends each file under a temporary name and renames it into place
// (making folders as needed), removes what deleteRemoved asks, and writes the manifest after
// the files. The manifest is also written along the way, so a run broken off by a cut
// connection or a cancel sends again only the files it had not finished.
PublishResult PublishSite(const std::filesystem::path &siteFolder, const PublishTarget &target,
                          const Settings &settings, const PublishOptions &options,
                          PasswordSource &passwords, const PublishCallbacks &callbacks = {});

}  // namespace vendigo
