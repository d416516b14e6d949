#include "cli/publish_command.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/progress_bar.h"
#include "cli/terminal_password_source.h"
#include "core/file_error.h"
#include "publish/publish_run.h"
#include "publish/publish_target_store.h"

namespace vendigo::cli {
namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int) {
  interrupted = true;
}

std::string Count(std::size_t count, const char *one, const char *many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

int ExitStatus(PublishStatus status) {
  switch (status) {
    case PublishStatus::Published:
      return 0;
    case PublishStatus::CheckErrors:
      return kPublishCheckErrors;
    case PublishStatus::WrongPassword:
      return kPublishWrongPassword;
    case PublishStatus::KeyRefused:
      return kPublishKeyRefused;
    case PublishStatus::UnknownHostKey:
      return kPublishUnknownHostKey;
    case PublishStatus::ChangedHostKey:
      return kPublishChangedHostKey;
    case PublishStatus::RemoteFolderMissing:
      return kPublishRemoteFolderMissing;
    case PublishStatus::RemoteDiskFull:
      return kPublishRemoteDiskFull;
    case PublishStatus::Cancelled:
      return kPublishCancelled;
    default:
      return kPublishFailed;
  }
}

int UsageError(const std::string &message) {
  std::fprintf(stderr, "vendigo-html: %s\n", message.c_str());
  return 2;
}

void PrintPlan(const PublishPlan &plan) {
  for (const PublishFile &file : plan.uploads) {
    std::printf("would send %s (%s)\n", file.path.c_str(),
                Count(file.size, "byte", "bytes").c_str());
  }
  for (const std::string &path : plan.deletions) std::printf("would remove %s\n", path.c_str());
  for (const std::string &path : plan.kept) {
    std::printf("would keep %s (no longer in the folder; --delete removes it)\n", path.c_str());
  }
  std::printf("%s to send (%s), %s to remove, %s unchanged\n",
              Count(plan.uploads.size(), "file", "files").c_str(),
              Count(plan.uploadBytes, "byte", "bytes").c_str(),
              Count(plan.deletions.size(), "file", "files").c_str(),
              Count(plan.unchanged, "file", "files").c_str());
}

}  // namespace

int RunPublishCommand(const Settings &settings, const PublishArguments &arguments) {
  const std::filesystem::path targetsFile = PublishTargetsFile(ProcessXdgEnvironment());
  std::string url = arguments.target;
  std::string reason;
  if (url.empty()) {
    url = LoadPublishTargetUrl(targetsFile, arguments.site).value_or("");
    if (url.empty()) {
      return UsageError("no target is set for " + SiteKey(arguments.site).string() +
                        ": give it once with --target sftp://user@host/path (or ftp://, "
                        "ftps://).");
    }
  }
  const std::optional<PublishTarget> target = ParsePublishTarget(url, reason);
  if (!target) return UsageError(reason);
  std::error_code error;
  if (!std::filesystem::is_directory(arguments.site, error)) {
    return UsageError("the site folder " + arguments.site + " does not exist.");
  }
  if (!arguments.target.empty() && !arguments.dryRun) {
    try {
      SavePublishTargetUrl(targetsFile, arguments.site, PublishTargetUrl(*target));
    } catch (const FileError &failure) {
      std::fprintf(stderr, "vendigo-html: the target is not remembered: %s\n", failure.what());
    }
  }

  PublishOptions options;
  options.dryRun = arguments.dryRun;
  options.deleteRemoved = arguments.deleteRemoved;
  options.force = arguments.force;
  options.acceptHostKey = arguments.acceptHostKey;
  // As the curl program does: certificates to trust for FTPS besides the system's.
  if (const char *bundle = std::getenv("CURL_CA_BUNDLE")) options.caFile = bundle;

  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);

  // Made once the plan is known, so its speed counts the sending alone.
  std::optional<ProgressBar> bar;
  PublishPlan plan;
  std::size_t reported = 0;
  PublishCallbacks callbacks;
  callbacks.cancel = &interrupted;
  callbacks.planned = [&](const PublishPlan &planned) {
    plan = planned;
    bar.emplace(stderr, !arguments.quiet && ::isatty(STDERR_FILENO), "bytes");
  };
  callbacks.progress = [&](const PublishProgress &progress) {
    if (progress.filesDone > reported) {
      bar->Clear();
      const bool sent = reported < plan.uploads.size();
      std::printf("%s %s\n", sent ? "sent" : "removed", progress.currentFile.c_str());
      std::fflush(stdout);
      reported = progress.filesDone;
    }
    bar->Show(static_cast<std::size_t>(progress.bytesDone),
              static_cast<std::size_t>(progress.bytesTotal));
  };
  TerminalPasswordSource passwords;
  const PublishResult result =
      PublishSite(arguments.site, *target, settings, options, passwords, callbacks);
  if (bar) bar->Clear();

  for (const CheckFinding &finding : result.findings) {
    if (finding.severity == FindingSeverity::Error || result.status == PublishStatus::CheckErrors) {
      std::fprintf(stderr, "%s\n", FormatFinding(finding).c_str());
    }
  }
  if (result.status != PublishStatus::Published) {
    std::fprintf(stderr, "vendigo-html: %s\n", result.message.c_str());
    if (result.filesUploaded + result.filesDeleted > 0) {
      std::fprintf(stderr,
                   "vendigo-html: %s sent and %s removed before that; publish again to "
                   "finish.\n",
                   Count(result.filesUploaded, "file was", "files were").c_str(),
                   Count(result.filesDeleted, "file", "files").c_str());
    }
    return ExitStatus(result.status);
  }
  if (arguments.dryRun) {
    PrintPlan(result.plan);
    return 0;
  }
  std::printf("Published to %s: %s sent (%s), %s removed, %s unchanged%s\n",
              PublishTargetUrl(*target).c_str(),
              Count(result.filesUploaded, "file", "files").c_str(),
              Count(result.bytesUploaded, "byte", "bytes").c_str(),
              Count(result.filesDeleted, "file", "files").c_str(),
              Count(result.plan.unchanged, "file", "files").c_str(),
              result.plan.kept.empty()
                  ? ""
                  : ("; " + Count(result.plan.kept.size(), "file", "files") +
                     " no longer in the folder kept on the server (--delete removes them)")
                        .c_str());
  return std::fflush(stdout) == 0 ? 0 : kPublishFailed;
}

}  // namespace vendigo::cli
