#include "core/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include <atomic>
#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "core/file_descriptor.h"
#include "core/profile_file.h"

namespace vendigo {
namespace {

// A name for the new file that no other writer of this process or another one picks. Only the
// start of a long target name goes into it, so any name the file system takes has a temporary.
std::filesystem::path TemporaryBeside(const std::filesystem::path &target) {
  static std::atomic<unsigned long> count{0};
  static const std::string process = std::to_string(::getpid());
  return target.parent_path() / ("." + target.filename().string().substr(0, 200) + "." + process +
                                 "." + std::to_string(++count));
}

int PlaceWithoutReplacing(const std::filesystem::path &temporary,
                          const std::filesystem::path &target) {
  if (::link(temporary.c_str(), target.c_str()) == 0) {
    ::unlink(temporary.c_str());
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP) return errno;
  if (::access(target.c_str(), F_OK) == 0) return EEXIST;
  return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}

[[noreturn]] void Fail(const std::filesystem::path &target, int error) {
  const std::string message =
      "cannot write " + target.string() + ": " + std::generic_category().message(error);
  if (error == ENAMETOOLONG) throw FileNameTooLongError(message);
  throw FileError(message);
}

}  // namespace

void WriteFileWhole(const std::filesystem::path &target, std::string_view bytes, bool replace) {
  std::string reason;
  if (const std::optional<std::string> present = ReadFileBytes(target, reason);
      present && *present == bytes) {
    return;
  }
  const std::filesystem::path temporary = TemporaryBeside(target);
  // Created new, readable by others as the umask allows: the page is meant to be uploaded.
  const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) Fail(target, errno);
  int error = WriteAll(descriptor, bytes) ? 0 : (errno ? errno : EIO);
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(),
                    replace ? 0 : RENAME_NOREPLACE) != 0) {
      error = errno;
      // A file system that cannot rename without replacing: the name is taken by a hard
      // link, which fails when target exists; without hard links, the test and the rename
      // are two steps.
      if (!replace && (error == EINVAL || error == ENOSYS))
        error = PlaceWithoutReplacing(temporary, target);
    }
  }
  if (error != 0) ::unlink(temporary.c_str());
  if (error == EEXIST)
    throw FileExistsError(target.string() + " exists already and is not replaced");
  if (error != 0) Fail(target, error);
}

}  // namespace vendigo
