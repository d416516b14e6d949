#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/message_interface.h"

namespace vendigo::testing {

// Records every message, question and program end in the order they happen, and answers
// questions from a queue (No when the queue is empty). Failures and refusals are messages too,
// and are also kept in errors.
class RecordingMessages : public MessageInterface {
 public:
  void ShowMessage(const std::string &text) override { events.push_back("message: " + text); }
  void ShowError(const std::string &text) override {
    ShowMessage(text);
    errors.push_back(text);
  }
  bool AskYesNo(const std::string &text) override {
    events.push_back("ask: " + text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void EndProgram() override { events.push_back("end program"); }

  std::vector<std::string> events;
  std::vector<std::string> errors;
  std::deque<bool> answers;
};

}  // namespace vendigo::testing
