#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vendigo::cli {

// One option: its names (one letter for -x, longer for --name), what --help says of it, and
// the name of its value, empty for an option that takes none.
struct CommandLineOption {
  std::vector<std::string> names;
  std::string description;
  std::string valueName;
};

// Reads options and arguments the way vendigo-html always has: --name VALUE or --name=VALUE,
// -x or letters run together (-hv), "--" ends the options, "-" is an argument, a repeated option
// keeps its last value. Its refusals and --help text keep the wording scripts have seen.
class CommandLineParser {
 public:
  CommandLineParser(std::string description, std::vector<CommandLineOption> options,
                    std::vector<std::pair<std::string, std::string>> positionals);

  // arguments[0] is the program as it was called. False with ErrorText() set on bad usage.
  bool Parse(const std::vector<std::string> &arguments);
  const std::string &ErrorText() const { return error_; }

  bool IsSet(std::string_view name) const;
  // The option's value; "" when it is not set.
  std::string Value(std::string_view name) const;
  const std::vector<std::string> &Positionals() const { return positionals_; }

  std::string HelpText() const;

 private:
  const CommandLineOption *Find(std::string_view name) const;
  bool Register(const std::string &name);
  bool TakeValue(const std::string &name, const std::string &argument,
                 std::vector<std::string>::const_iterator &next,
                 std::vector<std::string>::const_iterator end);

  std::string description_;
  std::vector<CommandLineOption> options_;
  std::vector<std::pair<std::string, std::string>> positionalHelp_;
  std::string program_;
  std::vector<const CommandLineOption *> found_;
  std::vector<std::pair<const CommandLineOption *, std::string>> values_;
  std::vector<std::string> unknown_;
  std::vector<std::string> positionals_;
  std::string error_;
};

}  // namespace vendigo::cli
