#include "pageeditor/keyring_password_source.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "pageeditor/secret_service_keyring.h"

namespace vendigo {

std::optional<std::string> KeyringPasswordSource::Password(const PublishTarget &target,
                                                           bool rejectedBefore) {
  if (!rejectedBefore && accepted_ && accepted_->first == target) {
    kept_ = true;
    return accepted_->second;
  }
  // A refused password from the keyring was taken out of it (Rejected): the user is asked.
  if (keyringThere_ && !rejectedBefore) {
    SecretServiceKeyring::Outcome outcome;
    std::optional<std::string> kept = SecretServiceKeyring::Lookup(target, outcome);
    keyringThere_ = outcome == SecretServiceKeyring::Outcome::Done;
    if (kept) {
      kept_ = true;
      return kept;
    }
  }
  kept_ = false;
  std::optional<std::string> answer;
  const auto ask = [&] { answer = ask_(target, rejectedBefore); };
  if (QThread::currentThread() == context_->thread()) {
    ask();
  } else {
    QMetaObject::invokeMethod(context_, ask, Qt::BlockingQueuedConnection);
  }
  return answer;
}

void KeyringPasswordSource::Accepted(const PublishTarget &target, const std::string &password) {
  accepted_.emplace(target, password);
  if (keyringThere_ && !kept_) {
    keyringThere_ =
        SecretServiceKeyring::Store(target, password) == SecretServiceKeyring::Outcome::Done;
  }
}

void KeyringPasswordSource::Rejected(const PublishTarget &target) {
  accepted_.reset();
  if (kept_) SecretServiceKeyring::Clear(target);
}

}  // namespace vendigo
