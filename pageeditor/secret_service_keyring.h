#pragma once

#include <optional>
#include <string>

#include "publish/publish_target.h"

namespace vendigo {

// The desktop's keyring, reached through the Secret Service on the session bus (libsecret):
// one password per publishing target, found by the target's address without its path and the
// user's name, so every site on one server account shares it. Each call waits for the service
// and may run on any thread.
class SecretServiceKeyring {
 public:
  enum class Outcome {
    Done,         // looked up (found or not), stored or cleared
    Unavailable,  // no Secret Service on the bus, or its keyring is locked and stays so
  };

  // The password kept for the target; nullopt when none is (outcome says whether the keyring
  // could be asked at all).
  static std::optional<std::string> Lookup(const PublishTarget &target, Outcome &outcome);
  static Outcome Store(const PublishTarget &target, const std::string &password);
  static Outcome Clear(const PublishTarget &target);
};

}  // namespace vendigo
