#include "core/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace vendigo {
namespace {

// A name for the new file that no other writer of this process or another one picks.
std::filesystem::path TemporaryBeside(const std::filesystem::path &target) {
  static std::atomic<unsigned long> count{0};
  return target.parent_path() / ("." + target.filename().string() + "." +
                                 std::to_string(::getpid()) + "." + std::to_string(++count));
}

bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

[[noreturn]] void Fail(const std::filesystem::path &target, int error) {
  throw FileError("cannot write " + target.string() + ": " +
                  std::generic_category().message(error));
}

}  // namespace

void WriteFileWhole(const std::filesystem::path &target, std::string_view bytes, bool replace) {
  const std::filesystem::path temporary = TemporaryBeside(target);
  // Created new, readable by others as the umask allows: the page is meant to be uploaded.
  const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) Fail(target, errno);
  int error = WriteAll(descriptor, bytes) ? 0 : (errno ? errno : EIO);
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0) {
    // Without replace the name is taken by a hard link, which fails when target exists. On a
    // file system without hard links the test for target and the rename are two steps.
    bool linked = false;
    int placed = 0;
    if (replace) {
      placed = ::rename(temporary.c_str(), target.c_str());
    } else {
      placed = ::link(temporary.c_str(), target.c_str());
      linked = placed == 0;
      if (placed != 0 && (errno == EPERM || errno == EOPNOTSUPP)) {
        errno = EEXIST;
        placed =
            ::access(target.c_str(), F_OK) == 0 ? -1 : ::rename(temporary.c_str(), target.c_str());
      }
    }
    if (placed != 0) error = errno;
    if (linked) ::unlink(temporary.c_str());
  }
  if (error != 0) ::unlink(temporary.c_str());
  if (error == EEXIST)
    throw FileExistsError(target.string() + " exists already and is not replaced");
  if (error != 0) Fail(target, error);
}

}  // namespace vendigo
