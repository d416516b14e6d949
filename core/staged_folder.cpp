#include "core/staged_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "core/process_folders.h"
#include "core/whole_file.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// Hidden, and named by the process that fills it (ProcessFolderPrefix gives
// kStagedFolderPrefix and the process id), so a folder whose process has ended can be told from
// one still being filled.
constexpr char kStageProgram[] = ".vendigo-stage";

std::string SystemReason(int error) {
  return std::generic_category().message(error);
}

}  // namespace

fs::path StagedFolder::MakeStage(const fs::path &target) {
  fs::path parent = target.parent_path();
  if (parent.empty()) parent = ".";
  std::error_code made;
  fs::create_directories(parent, made);
  if (made) throw FileError("cannot make the folder " + parent.string() + ": " + made.message());
  RemoveFoldersOfEndedProcesses(parent, kStageProgram);
  const std::string prefix = ProcessFolderPrefix(kStageProgram, ::getpid());
  std::random_device random;
  for (int attempt = 0;; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    fs::path stage = parent / (prefix + suffix);
    // 0777 and the umask, as the folder made in place would have.
    if (::mkdir(stage.c_str(), 0777) == 0) return stage;
    if (errno != EEXIST || attempt == 100) {
      throw FileError("cannot make the folder " + target.string() + ": " + SystemReason(errno));
    }
  }
}

StagedFolder::StagedFolder(const fs::path &target)
    : target_(target),
      stage_(MakeStage(target)),
      directory_(::open(stage_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (directory_.get() < 0) {
    const int error = errno;
    ::rmdir(stage_.c_str());
    throw FileError("cannot make the folder " + target.string() + ": " + SystemReason(error));
  }
}

void StagedFolder::MakeFolder(const std::string &name) {
  if (::mkdirat(directory_.get(), name.c_str(), 0777) != 0 && errno != EEXIST) {
    throw FileError("cannot make the folder " + (target_ / name).string() + ": " +
                    SystemReason(errno));
  }
}

void StagedFolder::Write(const std::string &name, std::string_view bytes) {
  const auto fail = [&](int error) {
    const std::string message =
        "cannot write " + (target_ / name).string() + ": " + SystemReason(error);
    if (error == EEXIST)
      throw FileExistsError((target_ / name).string() + " exists already and is not replaced");
    if (error == ENAMETOOLONG) throw FileNameTooLongError(message);
    throw FileError(message);
  };
  const FileDescriptor file(
      ::openat(directory_.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.get() < 0) fail(errno);
  if (!WriteAll(file.get(), bytes)) {
    const int error = errno ? errno : EIO;
    ::unlinkat(directory_.get(), name.c_str(), 0);
    fail(error);
  }
}

void StagedFolder::Place() {
  if (placed_) return;
  // Only a folder nothing else has made meanwhile is taken: RENAME_NOREPLACE, or where the file
  // system lacks it a plain rename, which replaces only an empty folder.
  int done = ::renameat2(AT_FDCWD, stage_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE);
  if (done != 0 && errno == EINVAL) done = ::rename(stage_.c_str(), target_.c_str());
  if (done != 0) {
    throw FileError("cannot put the folder " + target_.string() + " in place (" +
                    SystemReason(errno) + "); its files are in " + stage_.string());
  }
  placed_ = true;
}

}  // namespace vendigo
