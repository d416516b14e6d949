#pragma once

#include <optional>
#include <string>

#include "publish/publish_target.h"

namespace vendigo {

// Where an FTP or FTPS password comes from: the command line asks the terminal or reads
// VENDIGO_PUBLISH_PASSWORD, the page editor the keyring and then the user. Called on the
// publishing thread.
class PasswordSource {
 public:
  virtual ~PasswordSource() = default;

  // The password for the target. rejectedBefore is true when the server refused the previous
  // answer of this run. nullopt when there is none (the user cancelled, no terminal to ask).
  virtual std::optional<std::string> Password(const PublishTarget &target, bool rejectedBefore) = 0;
  // The server took the password: a keyring may keep it.
  virtual void Accepted(const PublishTarget & /*target*/, const std::string & /*password*/) {}
  // The server refused it: a keyring should forget it.
  virtual void Rejected(const PublishTarget & /*target*/) {}
};

}  // namespace vendigo
