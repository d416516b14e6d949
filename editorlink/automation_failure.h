#pragma once

#include <stdexcept>

namespace vendigo {

// A call to the editor that did not go through: the editor cannot be reached or started,
// it answered with an error, it did not answer in time, or the link was never connected.
class AutomationFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vendigo
