#include "core/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/file_descriptor.h"

namespace vendigo {

std::string TooLargeReason(std::size_t maxBytes) {
  if (maxBytes % (std::size_t{1} << 20) == 0) {
    return "Larger than " + std::to_string(maxBytes >> 20) + " MB";
  }
  return "Larger than " + std::to_string(maxBytes) + " bytes";
}

std::optional<std::string> ReadStreamBytes(int fd, std::string &reason, std::size_t maxBytes) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) return bytes;
    if (count < 0) {
      if (errno == EINTR) continue;
      reason = std::generic_category().message(errno);
      return std::nullopt;
    }
    if (static_cast<std::size_t>(count) > maxBytes - bytes.size()) {
      reason = TooLargeReason(maxBytes);
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path &file, std::string &reason,
                                         std::size_t maxBytes) {
  // Opening without waiting: a pipe without a writer would hold a plain open up for good.
  const FileDescriptor in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  if (in.get() < 0 || ::fstat(in.get(), &status) != 0) {
    reason = std::generic_category().message(errno);
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) {
    reason = std::generic_category().message(EISDIR);
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    reason = "Not a regular file";
    return std::nullopt;
  }
  if (static_cast<std::size_t>(status.st_size) > maxBytes) {
    reason = TooLargeReason(maxBytes);
    return std::nullopt;
  }
  // The file may grow while it is read; the limit holds all the same.
  return ReadStreamBytes(in.get(), reason, maxBytes);
}

}  // namespace vendigo
