#include "publish/publish_run.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "publish/publish_libraries.h"
#include "publish/publish_manifest.h"
#include "publish/remote_site.h"
#include "publish/site_files.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// While files go up, the manifest is written again once this long has passed since the last
// time, so a run that breaks off resends at most this much work, and a site of many small files
// does not send its manifest after each one.
constexpr auto kManifestInterval = std::chrono::seconds(2);

bool IsPage(const std::string &path) {
  return path.ends_with(".html") || path.ends_with(".htm");
}

PublishResult Failed(PublishResult result, RemoteFailure failure) {
  result.status = failure.status;
  result.message = std::move(failure.message);
  result.hostKey = std::move(failure.hostKey);
  return result;
}

}  // namespace

PublishResult PublishSite(const fs::path &siteFolder, const PublishTarget &target,
                          const Settings &settings, const PublishOptions &options,
                          PasswordSource &passwords, const PublishCallbacks &callbacks) {
  PublishResult result;
  std::error_code error;
  if (!fs::is_directory(siteFolder, error)) {
    result.status = PublishStatus::LocalFileError;
    result.message = "The site folder " + siteFolder.string() + " does not exist.";
    return result;
  }

  const SiteCheckResult check =
      CheckSite({siteFolder.string()}, settings, [&callbacks](std::size_t, std::size_t) {
        return !(callbacks.cancel && callbacks.cancel->load());
      });
  if (check.stopped) {
    result.status = PublishStatus::Cancelled;
    result.message = "Publishing was cancelled.";
    return result;
  }
  result.findings = check.findings;
  if (check.errors > 0 && !options.force) {
    result.status = PublishStatus::CheckErrors;
    result.message = "The check found " + std::to_string(check.errors) +
                     (check.errors == 1 ? " error" : " errors") +
                     " in the site: nothing was published. Mend the site, or publish anyway with "
                     "--force.";
    return result;
  }

  try {
    Libraries();
  } catch (const std::runtime_error &error) {
    result.status = PublishStatus::ConnectionFailed;
    result.message = error.what();
    return result;
  }
  std::string reason;
  const std::optional<std::vector<PublishFile>> local = ListSiteFiles(siteFolder, reason);
  if (!local) {
    result.status = PublishStatus::LocalFileError;
    result.message = "Cannot read the site: " + reason;
    return result;
  }

  RemoteSite remote(target, options, passwords, callbacks.cancel);
  if (std::optional<RemoteFailure> failure = remote.Open()) return Failed(result, *failure);
  std::optional<std::string> manifestText;
  if (std::optional<RemoteFailure> failure = remote.Read(kPublishManifestName, manifestText)) {
    return Failed(result, *failure);
  }
  // A manifest that does not read is taken as none: every file is sent again.
  PublishManifest manifest = manifestText
                                 ? ParsePublishManifest(*manifestText).value_or(PublishManifest{})
                                 : PublishManifest{};
  result.plan = MakePublishPlan(*local, manifest, options.deleteRemoved);
  // Pictures and stylesheets go before the pages that show them.
  std::stable_partition(result.plan.uploads.begin(), result.plan.uploads.end(),
                        [](const PublishFile &file) { return !IsPage(file.path); });
  if (callbacks.planned) callbacks.planned(result.plan);
  if (options.dryRun) return result;

  PublishProgress progress;
  progress.filesTotal = result.plan.uploads.size() + result.plan.deletions.size();
  progress.bytesTotal = result.plan.uploadBytes;
  const Clock::time_point start = Clock::now();
  auto report = [&](std::uint64_t bytesDone) {
    progress.bytesDone = bytesDone;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    progress.secondsLeft =
        bytesDone > 0 && seconds > 0.5
            ? seconds * static_cast<double>(progress.bytesTotal - bytesDone) / bytesDone
            : -1;
    if (callbacks.progress) callbacks.progress(progress);
  };
  auto isCancelled = [&] { return callbacks.cancel && callbacks.cancel->load(); };

  Clock::time_point manifestWritten = Clock::now();
  std::size_t changesRecorded = 0;
  auto writeManifest = [&]() -> std::optional<RemoteFailure> {
    manifestWritten = Clock::now();
    changesRecorded = result.filesUploaded + result.filesDeleted;
    return remote.UploadBytes(kPublishManifestName, SerializePublishManifest(manifest));
  };
  // After a stop the manifest is written when files went up since it last was, so they stay
  // counted; otherwise the server is left as it was.
  auto recordChanges = [&] {
    if (result.filesUploaded + result.filesDeleted > changesRecorded) writeManifest();
  };
  auto stopCancelled = [&]() {
    recordChanges();
    RemoteFailure failure{PublishStatus::Cancelled, "Publishing was cancelled.", std::nullopt};
    return Failed(result, failure);
  };

  for (const PublishFile &file : result.plan.uploads) {
    if (isCancelled()) return stopCancelled();
    progress.currentFile = file.path;
    const std::uint64_t before = result.bytesUploaded;
    report(before);
    std::optional<RemoteFailure> failure = remote.Upload(
        file.path, siteFolder / file.path, [&](std::uint64_t sent) { report(before + sent); });
    if (failure) {
      if (failure->status == PublishStatus::Cancelled) return stopCancelled();
      // What did go up is recorded when the connection still carries it.
      if (failure->status != PublishStatus::ConnectionFailed) recordChanges();
      return Failed(result, *failure);
    }
    manifest[file.path] = file;
    ++result.filesUploaded;
    result.bytesUploaded += file.size;
    ++progress.filesDone;
    report(result.bytesUploaded);
    if (Clock::now() - manifestWritten >= kManifestInterval) {
      if (std::optional<RemoteFailure> failure = writeManifest()) return Failed(result, *failure);
    }
  }
  for (const std::string &path : result.plan.deletions) {
    if (isCancelled()) return stopCancelled();
    progress.currentFile = path;
    if (std::optional<RemoteFailure> failure = remote.Remove(path)) {
      if (failure->status == PublishStatus::Cancelled) return stopCancelled();
      if (failure->status != PublishStatus::ConnectionFailed) recordChanges();
      return Failed(result, *failure);
    }
    manifest.erase(path);
    ++result.filesDeleted;
    ++progress.filesDone;
    report(result.bytesUploaded);
  }
  if (!result.plan.uploads.empty() || !result.plan.deletions.empty() || !manifestText) {
    if (std::optional<RemoteFailure> failure = writeManifest()) return Failed(result, *failure);
  }
  return result;
}

}  // namespace vendigo
