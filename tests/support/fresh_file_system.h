#pragma once

#include <fcntl.h>
#include <linux/loop.h>
#include <sched.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"

extern char **environ;

namespace vendigo::testing {

// A file system made new for one measurement on a new temporary folder, so that every
// measurement meets the same allocator state: ext4 on a sparse image through a loop device (the
// file system merchants' disks have), or a tmpfs. On a folder of a long-used disk the time to
// create files depends on how many were deleted there lately (ext4 passes over recently freed
// inodes), which is the disk's history, not the writer's. Mounting needs the right to (benchmarks
// run as root here and in CI); without it the object is the new folder alone, Mounted() is false
// and Why() says why. Unmounted, with its image removed, when the object goes.
class FreshFileSystem : public TempFolder {
 public:
  enum class Kind { Ext4, Tmpfs, Folder };

  // Room for about `bytes` in `files` files.
  FreshFileSystem(Kind kind, std::uintmax_t bytes, std::uintmax_t files) {
    if (kind == Kind::Ext4) MountExt4(bytes, files);
    if (kind == Kind::Tmpfs) {
      mounted_ = ::mount("tmpfs", path().c_str(), "tmpfs", 0, "mode=0700") == 0;
      if (!mounted_) why_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    }
    if (kind == Kind::Folder) why_ = "a folder was asked for";
  }
  ~FreshFileSystem() {
    if (mounted_ && ::umount2(path().c_str(), 0) != 0) ::umount2(path().c_str(), MNT_DETACH);
    if (!image_.empty()) ::unlink(image_.c_str());
  }

  bool Mounted() const { return mounted_; }
  const std::string &Why() const { return why_; }

  static std::string_view Name(Kind kind) {
    return kind == Kind::Ext4 ? "ext4" : kind == Kind::Tmpfs ? "tmpfs" : "folder";
  }

  // Puts this process in a mount namespace of its own, whose mounts go when the process ends
  // however it ends, so a benchmark killed part way leaves none behind. Only while the process
  // has one thread; false when not permitted.
  static bool MountsOfItsOwn() {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  }

 private:
  void MountExt4(std::uintmax_t bytes, std::uintmax_t files) {
    // Sparse: only what is written takes room. A size and inode ratio as on a small disk, with
    // inodes added when the files need more.
    constexpr std::uintmax_t kMinimum = std::uintmax_t{1} << 30;
    const std::uintmax_t size = std::max(kMinimum, 3 * bytes) / 4096 * 4096;
    const std::uintmax_t inodes = std::max(size / 16384, 2 * files + 1024);
    image_ = path().string() + ".img";
    const int image = ::open(image_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (image < 0 || ::ftruncate(image, static_cast<off_t>(size)) != 0) {
      why_ = "cannot make the image " + image_ + ": " + std::strerror(errno);
      if (image >= 0) ::close(image);
      return;
    }
    // The inode tables are written now, not by the kernel in the background while measuring.
    if (!Run({"mkfs.ext4", "-q", "-F", "-N", std::to_string(inodes), "-E",
              "lazy_itable_init=0,lazy_journal_init=0", image_})) {
      why_ = "mkfs.ext4 (e2fsprogs) failed on " + image_;
      ::close(image);
      return;
    }
    std::string device;
    const int loop = LoopDevice(image, device);
    ::close(image);
    if (loop < 0) return;
    mounted_ = ::mount(device.c_str(), path().c_str(), "ext4", 0, nullptr) == 0;
    if (!mounted_) why_ = "cannot mount " + device + ": " + std::strerror(errno);
    // The kernel lets the device go once it is neither open nor mounted.
    ::close(loop);
  }

  // A free loop device showing the image, opened, and its name; -1 on failure.
  int LoopDevice(int image, std::string &device) {
    const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    if (control < 0) {
      why_ = std::string("cannot open /dev/loop-control: ") + std::strerror(errno);
      return -1;
    }
    int opened = -1;
    // Another process may take the free device first.
    for (int attempt = 0; attempt < 10 && opened < 0; ++attempt) {
      const int number = ::ioctl(control, LOOP_CTL_GET_FREE);
      if (number < 0) break;
      const std::string name = "/dev/loop" + std::to_string(number);
      const int loop = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
      if (loop < 0) break;
      loop_config config{};
      config.fd = static_cast<std::uint32_t>(image);
      config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
      if (::ioctl(loop, LOOP_CONFIGURE, &config) == 0) {
        device = name;
        opened = loop;
      } else {
        ::close(loop);
      }
    }
    if (opened < 0) why_ = std::string("no loop device: ") + std::strerror(errno);
    ::close(control);
    return opened;
  }

  // Runs a program found on PATH or in /usr/sbin, quietly; true when it succeeds.
  static bool Run(std::vector<std::string> arguments) {
    std::vector<char *> argv;
    for (std::string &argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    for (const std::string folder : {"", "/usr/sbin/", "/sbin/"}) {
      pid_t child = 0;
      const std::string program = folder + arguments.front();
      if (posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        continue;
      int status = 0;
      posix_spawn_file_actions_destroy(&actions);
      return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return false;
  }

  bool mounted_ = false;
  std::string why_;
  std::string image_;
};

}  // namespace vendigo::testing
