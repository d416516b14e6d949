#pragma once

#include "publish/password_source.h"

namespace vendigo::cli {

// The command line's password: VENDIGO_PUBLISH_PASSWORD when set (asked for once), else a
// question on the terminal without echo when standard input is one, else none, with a message on
// standard error saying how to give one.
class TerminalPasswordSource : public PasswordSource {
 public:
  std::optional<std::string> Password(const PublishTarget &target, bool rejectedBefore) override;
};

}  // namespace vendigo::cli
