#pragma once

#include <string>

#include "core/settings.h"

namespace vendigo::cli {

inline constexpr char kPublishCommand[] = "publish";
inline constexpr char kPublishSummary[] =
    "publishes the site folder SITE_DIR to its server (sftp://, ftp:// or ftps://), only what "
    "changed; --target URL, --dry-run, --delete, --force, --accept-host-key FINGERPRINT";

struct PublishArguments {
  std::string site;
  std::string target;  // empty: the one remembered for the site
  bool dryRun = false;
  bool deleteRemoved = false;
  bool force = false;
  bool quiet = false;
  std::string acceptHostKey;
};

// Exit statuses of the publish command, beside 0 (published, or planned with --dry-run) and
// 2 (bad usage).
enum PublishExitStatus {
  kPublishCheckErrors = 1,
  kPublishWrongPassword = 3,
  kPublishKeyRefused = 4,
  kPublishUnknownHostKey = 5,
  kPublishChangedHostKey = 6,
  kPublishRemoteFolderMissing = 7,
  kPublishRemoteDiskFull = 8,
  kPublishFailed = 9,  // the connection failed or broke off, a file could not be read or sent
  kPublishCancelled = 130,
};

// The "publish" command: the check's findings on standard error, then a line per file on
// standard output as it is sent ("sent about.html") or removed, and a closing count; with
// --dry-run the files that would be sent and removed. A progress bar on standard error when it
// is a terminal. Returns the exit status.
int RunPublishCommand(const Settings &settings, const PublishArguments &arguments);

}  // namespace vendigo::cli
