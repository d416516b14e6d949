#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "support/temp_folder.h"

namespace vendigo::testing {

// A tmpfs of the given size ("2m") on a new temporary folder, for tests of a full disk. Mounting
// needs the right to (tests run as root here and in CI); without it Mounted() is false and Why()
// says why, for the test to skip with. Unmounted when the object goes.
class SmallDisk : public TempFolder {
 public:
  explicit SmallDisk(const std::string &size) {
    mounted_ = mount("tmpfs", path().c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    if (!mounted_) why_ = "cannot mount a " + size + " tmpfs to fill: " + std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) umount2(path().c_str(), MNT_DETACH);
  }

  bool Mounted() const { return mounted_; }
  const std::string &Why() const { return why_; }

 private:
  bool mounted_ = false;
  std::string why_;
};

}  // namespace vendigo::testing
