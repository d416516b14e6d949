#pragma once

#include <string>
#include <vector>

#include "core/settings.h"

namespace vendigo::cli {

inline constexpr char kCheckCommand[] = "check";
inline constexpr char kCheckSummary[] =
    "checks the pages PATH... (files, or folders of .html and .htm) and every order they send to "
    "the cart; --format text or json";

struct CheckArguments {
  std::vector<std::string> paths;
  std::string format = "text";  // "text" or "json"
  bool quiet = false;           // no progress bar
};

// The "check" command: one line per finding ("file:line:column: error: message [rule]") and a
// closing count, or one JSON object with the findings and the orders they are about, on standard
// output; a progress bar on standard error when it is a terminal. Returns the exit status: 0
// without errors (warnings allowed), 1 with errors.
int RunCheckCommand(const Settings &settings, const CheckArguments &arguments);

}  // namespace vendigo::cli
