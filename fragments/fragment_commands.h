#pragma once

#include <nlohmann/json_fwd.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"

namespace vendigo {

// The fragment cannot be built from this input (for example a price that does not convert):
// vendigo-html writes the message to standard error and exits with status 1.
class CommandFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The input is unusable (it cannot be read, a template is missing): exit status 2, like bad
// usage, as for a JsonInputError.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One fragment that vendigo-html can build.
struct Command {
  std::string name;
  std::string summary;
  bool takesInput = false;  // reads one JSON object from --input FILE or standard input
  std::function<std::string(const Settings &, const nlohmann::json &input)> build;
  // Set instead of build for a command that fills a template: it also gets the file named with
  // --template, which such a command requires and every other command refuses.
  std::function<std::string(const Settings &, const nlohmann::json &input,
                            const std::string &templateFile)>
      buildFromTemplate = {};
};

// The fragment commands in vendigo-html's order: the simple elements, page, options, addit,
// pelluxadd, quicklink, textadd.
const std::vector<Command> &Commands();
// nullptr when there is no command of that name.
const Command *FindCommand(std::string_view name);

}  // namespace vendigo
