#pragma once

#include "core/message_interface.h"

namespace vendigo {

// Modal message boxes: messages titled with the application name (information, or a warning for
// a failure or a refusal), questions "Confirm". Ending the program leaves every event loop, the
// modal ones included, so all windows close once control returns to them.
class QtMessageInterface : public MessageInterface {
 public:
  void ShowMessage(const std::string &text) override;
  void ShowError(const std::string &text) override;
  bool AskYesNo(const std::string &text) override;
  void EndProgram() override;
};

}  // namespace vendigo
