#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "publish/password_source.h"

class QObject;

namespace vendigo {

// The page editor's publishing passwords: the desktop's keyring's (SecretServiceKeyring) when it
// holds one for the target, else the user's answer, asked each time when there is no keyring.
// A password the user typed and the server took is kept in the keyring, and by this object for
// its own later runs, so a publish after its dry run does not ask again; one that the server
// refused is forgotten, and taken out of the keyring when it came from there.
class KeyringPasswordSource : public PasswordSource {
 public:
  // Asks the user for the target's password; refusedBefore when the server refused the last one.
  // nullopt when the user cancels.
  using Ask = std::function<std::optional<std::string>(const PublishTarget &, bool refusedBefore)>;

  // ask runs on context's thread, which the publishing thread waits for.
  KeyringPasswordSource(QObject *context, Ask ask) : context_(context), ask_(std::move(ask)) {}

  std::optional<std::string> Password(const PublishTarget &target, bool rejectedBefore) override;
  void Accepted(const PublishTarget &target, const std::string &password) override;
  void Rejected(const PublishTarget &target) override;

  // False once the keyring could not be reached (no Secret Service, or locked and refused).
  bool KeyringThere() const { return keyringThere_; }

 private:
  QObject *context_;
  Ask ask_;
  bool keyringThere_ = true;
  bool kept_ = false;  // the last password given is kept already, by the keyring or by this
  std::optional<std::pair<PublishTarget, std::string>> accepted_;
};

}  // namespace vendigo
