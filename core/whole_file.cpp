#include "core/whole_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/file_descriptor.h"
#include "core/profile_file.h"

namespace vendigo {
namespace {

// A name for the new file, ".NAME.PID.N", that no other writer of this process or another one
// picks. Only the start of a long name goes into it, so any name the file system takes has a
// temporary.
std::string TemporaryName(const std::string &name) {
  static std::atomic<unsigned long> count{0};
  static const std::string process = std::to_string(::getpid());
  return "." + name.substr(0, 200) + "." + process + "." + std::to_string(++count);
}

// The process id in a name TemporaryName gives, or 0 when the name is no such name.
pid_t TemporaryNameProcess(std::string_view name) {
  if (name.size() < 6 || name.front() != '.') return 0;
  const std::size_t countDot = name.rfind('.');
  const std::size_t pidDot = name.rfind('.', countDot - 1);
  if (pidDot == 0 || pidDot == std::string_view::npos || countDot == name.size() - 1 ||
      countDot == pidDot + 1) {
    return 0;
  }
  long pid = 0;
  for (std::size_t i = pidDot + 1; i < name.size(); ++i) {
    if (i == countDot) continue;
    if (name[i] < '0' || name[i] > '9') return 0;
    if (i < countDot && pid < 1'000'000'000) pid = pid * 10 + (name[i] - '0');
  }
  return static_cast<pid_t>(pid);
}

int PlaceWithoutReplacing(int directory, const std::string &temporary, const std::string &name) {
  if (::linkat(directory, temporary.c_str(), directory, name.c_str(), 0) == 0) {
    ::unlinkat(directory, temporary.c_str(), 0);
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP) return errno;
  if (::faccessat(directory, name.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
  return ::renameat(directory, temporary.c_str(), directory, name.c_str()) == 0 ? 0 : errno;
}

[[noreturn]] void Fail(const std::filesystem::path &target, int error) {
  const std::string message =
      "cannot write " + target.string() + ": " + std::generic_category().message(error);
  if (error == ENAMETOOLONG) throw FileNameTooLongError(message);
  throw FileError(message);
}

// PlaceFileWhole with the bytes given by write, which writes them to the descriptor it is handed
// and says whether every write succeeded.
void PlaceWritten(int directory, const std::filesystem::path &folder, const std::string &name,
                  const std::function<bool(int)> &write, bool replace) {
  // Relative to the current folder the names carry the folder's path.
  const bool here = directory == AT_FDCWD;
  const std::string target = here ? (folder / name).string() : name;
  const std::string temporary =
      here ? (folder / TemporaryName(name)).string() : TemporaryName(name);
  // Created new, readable by others as the umask allows: the page is meant to be uploaded.
  const int descriptor =
      ::openat(directory, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) Fail(folder / name, errno);
  // Held while the file is written: a lock free on a new file of a process that has ended says
  // its writer is gone.
  ::flock(descriptor, LOCK_EX);
  errno = 0;
  int error = write(descriptor) ? 0 : (errno ? errno : EIO);
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0) {
    if (::renameat2(directory, temporary.c_str(), directory, target.c_str(),
                    replace ? 0 : RENAME_NOREPLACE) != 0) {
      error = errno;
      // A file system that cannot rename without replacing: the name is taken by a hard
      // link, which fails when target exists; without hard links, the test and the rename
      // are two steps.
      if (!replace && (error == EINVAL || error == ENOSYS))
        error = PlaceWithoutReplacing(directory, temporary, target);
    }
  }
  if (error != 0) ::unlinkat(directory, temporary.c_str(), 0);
  if (error == EEXIST)
    throw FileExistsError((folder / name).string() + " exists already and is not replaced");
  if (error != 0) Fail(folder / name, error);
}

// True when the file at target holds what source holds, read from its start.
bool HoldsTheSame(const std::filesystem::path &target, std::FILE *source) {
  std::unique_ptr<std::FILE, int (*)(std::FILE *)> present(std::fopen(target.c_str(), "rb"),
                                                           &std::fclose);
  if (!present) return false;
  std::rewind(source);
  std::vector<char> ours(1 << 16);
  std::vector<char> theirs(ours.size() + 1);
  for (;;) {
    const std::size_t read = std::fread(ours.data(), 1, ours.size(), source);
    // At the end of ours, theirs must end too.
    const bool last = read < ours.size();
    if (std::fread(theirs.data(), 1, last ? read + 1 : read, present.get()) != read) return false;
    if (!std::equal(ours.begin(), ours.begin() + static_cast<std::ptrdiff_t>(read),
                    theirs.begin())) {
      return false;
    }
    if (last) return !std::ferror(source);
  }
}

}  // namespace

void PlaceFileWhole(int directory, const std::filesystem::path &folder, const std::string &name,
                    std::string_view bytes, bool replace) {
  PlaceWritten(
      directory, folder, name, [bytes](int descriptor) { return WriteAll(descriptor, bytes); },
      replace);
}

void WriteFileWholeFrom(const std::filesystem::path &target, std::FILE *source, bool replace) {
  if (std::fflush(source) != 0 || std::ferror(source)) Fail(target, errno ? errno : EIO);
  if (HoldsTheSame(target, source)) return;
  PlaceWritten(
      AT_FDCWD, target.parent_path(), target.filename().string(),
      [source](int descriptor) {
        std::rewind(source);
        std::vector<char> piece(1 << 16);
        for (;;) {
          const std::size_t read = std::fread(piece.data(), 1, piece.size(), source);
          if (!WriteAll(descriptor, std::string_view(piece.data(), read))) return false;
          if (read < piece.size()) return !std::ferror(source);
        }
      },
      replace);
}

void WriteFileWhole(const std::filesystem::path &target, std::string_view bytes, bool replace) {
  std::string reason;
  if (const std::optional<std::string> present = ReadFileBytes(target, reason);
      present && *present == bytes) {
    return;
  }
  PlaceFileWhole(AT_FDCWD, target.parent_path(), target.filename().string(), bytes, replace);
}

std::size_t RemoveAbandonedFiles(const std::filesystem::path &folder) {
  DIR *listing = ::opendir(folder.c_str());
  if (!listing) return 0;
  const int directory = ::dirfd(listing);
  std::size_t removed = 0;
  while (const dirent *entry = ::readdir(listing)) {
    const pid_t pid = TemporaryNameProcess(entry->d_name);
    // A process that runs, or may (one of another user), may be writing it still.
    if (pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    const FileDescriptor file(
        ::openat(directory, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    struct stat named {};
    if (file.get() < 0 || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0 ||
        ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        ::fstatat(directory, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
      continue;
    }
    if (::unlinkat(directory, entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(listing);
  return removed;
}

}  // namespace vendigo
