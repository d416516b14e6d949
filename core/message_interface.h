#pragma once

#include <string>

namespace vendigo {

// Every message the user sees, and the end of the program, go through this interface. The
// programs show modal message boxes; tests record the texts and the answers they give.
class MessageInterface {
 public:
  virtual ~MessageInterface() = default;

  // A modal message with an OK button; returns when the user has closed it.
  virtual void ShowMessage(const std::string &text) = 0;
  // The same for a failure or a refusal, which the programs mark as a warning.
  virtual void ShowError(const std::string &text) { ShowMessage(text); }
  // A modal question; true when the user answers Yes.
  virtual bool AskYesNo(const std::string &text) = 0;
  // The orderly end of the program once control returns to the event loop: every window
  // closes, nothing is saved.
  virtual void EndProgram() = 0;
};

}  // namespace vendigo
