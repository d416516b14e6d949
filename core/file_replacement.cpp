#include "core/file_replacement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <random>
#include <system_error>

namespace vendigo {
namespace {

namespace fs = std::filesystem;

std::string SystemReason(int error) {
  return std::generic_category().message(error);
}

// Closes the descriptor when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string UniqueSuffix() {
  static std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t number = generator();
  std::string suffix;
  for (int i = 0; i < 12; ++i, number >>= 4) suffix += kDigits[number & 0xF];
  return suffix;
}

// The file that a write to path really changes: path itself, or the end of its chain of
// symbolic links. nullopt when a link cannot be followed.
std::optional<fs::path> FollowLinks(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) return path;
    const fs::path link = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return std::nullopt;
}

// Writes all of bytes, however many calls the system needs. False with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates the new file beside target and locks it. The descriptor is -1, with errno set, when
// no file could be made.
int CreateTemporary(const fs::path &target, fs::path &temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target.parent_path() / ("." + target.filename().string() + "." + UniqueSuffix());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    return fd;
  }
  errno = EEXIST;
  return -1;
}

// Gives the new file what the old one has that a new file does not: its permission bits.
bool TakeOverAttributes(int fd, const fs::path &target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return errno == ENOENT;
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Makes the rename itself last: the folder's entry is flushed too. A folder that cannot be
// flushed is no failure of the save, which has happened.
void FlushFolder(const fs::path &folder) {
  const Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

bool ReplaceFileContents(const fs::path &file, std::string_view bytes, std::string &reason) {
  const std::optional<fs::path> target = FollowLinks(file);
  if (!target) {
    reason = SystemReason(ELOOP);
    return false;
  }
  fs::path temp;
  const Descriptor out(CreateTemporary(*target, temp));
  if (out.get() < 0) {
    reason = SystemReason(errno);
    return false;
  }
  const bool ok = WriteAll(out.get(), bytes) && ::fsync(out.get()) == 0 &&
                  TakeOverAttributes(out.get(), *target) &&
                  ::rename(temp.c_str(), target->c_str()) == 0;
  if (!ok) {
    reason = SystemReason(errno);
    ::unlink(temp.c_str());
    return false;
  }
  FlushFolder(target->parent_path());
  return true;
}

}  // namespace vendigo
