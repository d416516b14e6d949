#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/file_descriptor.h"
#include "core/recovery_copy.h"

namespace vendigo {

// The folder of the editor's recovery copies: $XDG_STATE_HOME/vendigo/recovery, or
// ~/.local/state/vendigo/recovery when the variable is unset or not an absolute path.
std::filesystem::path RecoveryFolder(const std::string &stateHome, const std::string &home);

// The recovery copies of one running editor, in a folder only the user may enter (mode 0700,
// files 0600). Each copy has a slot, a number of its own within the editor, and is the file
// "<pid>-<slot>.recovery". While the editor runs it holds its file "<pid>.lock" locked; the system
// drops the lock when the process ends, however it ends, so the copies of an editor whose lock is
// free (or gone) are orphans, and the next editor claims them.
class RecoveryStore {
 public:
  struct Orphan {
    int slot;  // the claimed copy's slot in this store
    RecoveryCopy copy;
  };

  // Makes the folder and takes the lock of the editor with process id pid. nullptr with reason
  // set when either cannot be done.
  static std::unique_ptr<RecoveryStore> Open(const std::filesystem::path &folder, int pid,
                                             std::string &reason);
  // Lets the lock go and removes its file; the copies stay for the next editor.
  ~RecoveryStore();
  RecoveryStore(const RecoveryStore &) = delete;
  RecoveryStore &operator=(const RecoveryStore &) = delete;

  // A slot that no copy of this store uses yet.
  int NewSlot() { return nextSlot_++; }
  // Writes copy to slot through ReplaceFileContents, so the slot holds the whole copy before or
  // after. False with reason set when it cannot be written.
  bool Write(int slot, const RecoveryCopy &copy, std::string &reason);
  void Remove(int slot);
  std::filesystem::path SlotFile(int slot) const;

  // Takes over the copies of editors that no longer run, oldest editor and slot first: each
  // moves to a new slot of this store, so that no other editor takes it too and it is an orphan
  // again should this editor end before it is restored or removed. A file named as a copy that
  // holds none is removed.
  std::vector<Orphan> ClaimOrphans();

 private:
  RecoveryStore(std::filesystem::path folder, int pid, int lockFd, int nextSlot);

  std::filesystem::path folder_;
  int pid_;
  FileDescriptor lock_;
  int nextSlot_;
  int firstOwnSlot_;  // the slots before it hold the copies found under this process id at start
};

}  // namespace vendigo
