#include "core/recovery_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/file_reading.h"
#include "core/file_replacement.h"
#include "core/program_folders.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLockEnding = ".lock";
constexpr std::string_view kCopyEnding = ".recovery";
// A copy may outgrow the largest file the editor opens: a document grows as it is edited.
constexpr std::size_t kMaxCopyBytes = 4 * kMaxFileBytes;
constexpr int kLockAttempts = 100;
constexpr useconds_t kLockRetryUs = 10000;

std::string SystemReason(int error) {
  return std::generic_category().message(error);
}

std::optional<int> Number(std::string_view digits) {
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      number < 0) {
    return std::nullopt;
  }
  return number;
}

// A file of the folder, known by its name.
struct Entry {
  enum class Kind { Lock, Copy, Unfinished } kind;
  int pid;
  int slot;  // of a copy, or of the copy an unfinished write was meant to become
  fs::path path;
};

// "<pid>.lock", "<pid>-<slot>.recovery", or ReplaceFileContents' new file for such a copy,
// ".<pid>-<slot>.recovery.<12 hexadecimal digits>".
std::optional<Entry> ReadEntryName(const fs::path &path) {
  const std::string fileName = path.filename().string();
  std::string_view name = fileName;
  if (name.ends_with(kLockEnding)) {
    const std::optional<int> pid = Number(name.substr(0, name.size() - kLockEnding.size()));
    if (pid) return Entry{Entry::Kind::Lock, *pid, 0, path};
    return std::nullopt;
  }
  Entry::Kind kind = Entry::Kind::Copy;
  if (name.starts_with('.')) {
    const std::size_t end = name.rfind('.');
    if (end == 0 || name.size() - end != 13) return std::nullopt;
    name = name.substr(1, end - 1);
    kind = Entry::Kind::Unfinished;
  }
  if (!name.ends_with(kCopyEnding)) return std::nullopt;
  name.remove_suffix(kCopyEnding.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const std::optional<int> pid = Number(name.substr(0, dash));
  const std::optional<int> slot = Number(name.substr(dash + 1));
  if (!pid || !slot) return std::nullopt;
  return Entry{kind, *pid, *slot, path};
}

std::vector<Entry> Entries(const fs::path &folder) {
  std::vector<Entry> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (std::optional<Entry> entry = ReadEntryName(it->path())) entries.push_back(*entry);
  }
  std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
    return std::pair(a.pid, a.slot) < std::pair(b.pid, b.slot);
  });
  return entries;
}

fs::path LockFile(const fs::path &folder, int pid) {
  return folder / (std::to_string(pid) + std::string(kLockEnding));
}

// Opens file, making it when missing, and locks it. An editor that claims the copies of an ended
// editor with the same process id removes the lock file once it is done: a lock taken on a file
// no longer at its name is taken again. -1 with errno set on failure, EWOULDBLOCK when another
// process holds the lock all along.
int TakeLock(const fs::path &file) {
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat locked {};
      struct stat named {};
      if (::fstat(fd, &locked) == 0 && ::stat(file.c_str(), &named) == 0 &&
          locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
        return fd;
      }
    } else if (errno != EWOULDBLOCK) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return -1;
    }
    ::close(fd);
    ::usleep(kLockRetryUs);
  }
  errno = EWOULDBLOCK;
  return -1;
}

}  // namespace

fs::path RecoveryFolder(const std::string &stateHome, const std::string &home) {
  return XdgFolder(stateHome, home, ".local/state") / "recovery";
}

std::unique_ptr<RecoveryStore> RecoveryStore::Open(const fs::path &folder, int pid,
                                                   std::string &reason) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    reason = folder.string() + ": " + error.message();
    return nullptr;
  }
  if (::chmod(folder.c_str(), 0700) != 0) {
    reason = folder.string() + ": " + SystemReason(errno);
    return nullptr;
  }
  const fs::path lockFile = LockFile(folder, pid);
  const int lock = TakeLock(lockFile);
  if (lock < 0) {
    reason = lockFile.string() + ": " + SystemReason(errno);
    return nullptr;
  }
  // Copies under this process id were left by an ended editor that had it too: they are the
  // orphans of this store, and its own slots come after theirs.
  int nextSlot = 1;
  for (const Entry &entry : Entries(folder)) {
    if (entry.pid == pid && entry.kind != Entry::Kind::Lock) {
      nextSlot = std::max(nextSlot, entry.slot + 1);
    }
  }
  return std::unique_ptr<RecoveryStore>(new RecoveryStore(folder, pid, lock, nextSlot));
}

RecoveryStore::RecoveryStore(fs::path folder, int pid, int lockFd, int nextSlot)
    : folder_(std::move(folder)),
      pid_(pid),
      lock_(lockFd),
      nextSlot_(nextSlot),
      firstOwnSlot_(nextSlot) {}

RecoveryStore::~RecoveryStore() {
  ::unlink(LockFile(folder_, pid_).c_str());
}

fs::path RecoveryStore::SlotFile(int slot) const {
  return folder_ / (std::to_string(pid_) + "-" + std::to_string(slot) + std::string(kCopyEnding));
}

bool RecoveryStore::Write(int slot, const RecoveryCopy &copy, std::string &reason) {
  const fs::path file = SlotFile(slot);
  if (!ReplaceFileContents(file, RecoveryCopyBytes(copy), reason)) {
    reason = file.string() + ": " + reason;
    return false;
  }
  // The replacement keeps the permissions of the file it replaces; a first copy gets its own
  // here (until then nobody else could reach it, in a folder only the user may enter).
  if (::chmod(file.c_str(), 0600) != 0) {
    reason = file.string() + ": " + SystemReason(errno);
    return false;
  }
  return true;
}

void RecoveryStore::Remove(int slot) {
  ::unlink(SlotFile(slot).c_str());
}

std::vector<RecoveryStore::Orphan> RecoveryStore::ClaimOrphans() {
  std::map<int, std::vector<Entry>> byEditor;
  for (Entry &entry : Entries(folder_)) byEditor[entry.pid].push_back(std::move(entry));
  std::vector<Orphan> orphans;
  for (const auto &[pid, entries] : byEditor) {
    const bool own = pid == pid_;
    // Holding the ended editor's lock keeps another starting editor from claiming its copies too.
    const FileDescriptor lock(
        own ? -1 : ::open(LockFile(folder_, pid).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
    if (!own && lock.get() < 0 && errno != ENOENT) continue;
    if (lock.get() >= 0 && ::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) continue;  // it runs
    for (const Entry &entry : entries) {
      if (entry.kind == Entry::Kind::Unfinished && !own) ::unlink(entry.path.c_str());
      if (entry.kind != Entry::Kind::Copy || (own && entry.slot >= firstOwnSlot_)) continue;
      int slot = entry.slot;
      if (!own) {
        slot = NewSlot();
        if (::rename(entry.path.c_str(), SlotFile(slot).c_str()) != 0) continue;
      }
      std::string reason;
      const std::optional<std::string> bytes = ReadFileBytes(SlotFile(slot), reason, kMaxCopyBytes);
      if (!bytes) continue;  // kept for a start that can read it
      std::optional<RecoveryCopy> copy = ReadRecoveryCopy(*bytes);
      if (copy) {
        orphans.push_back({slot, std::move(*copy)});
      } else {
        Remove(slot);
      }
    }
    if (lock.get() >= 0) ::unlink(LockFile(folder_, pid).c_str());
  }
  return orphans;
}

}  // namespace vendigo
