#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/temp_folder.h"

namespace vendigo::testing {

// A disk of a few megabytes (a tmpfs mounted on a new temporary folder) for tests of a full
// disk. Mounting needs the right to mount, which the test machines give (tests run as root);
// elsewhere Mounted() is false and Why() says why, so the test can skip. Unmounted and removed
// when the object goes.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string &size) {
    const std::string options = "size=" + size + ",mode=0777";
    if (mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      why_ = "cannot mount a " + size + " tmpfs to fill: " + std::strerror(errno);
    }
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.path().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk &) = delete;
  SmallDisk &operator=(const SmallDisk &) = delete;

  bool Mounted() const { return mounted_; }
  const std::string &Why() const { return why_; }
  const std::filesystem::path &path() const { return folder_.path(); }

 private:
  TempFolder folder_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace vendigo::testing
