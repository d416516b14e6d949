#include "cli/command_line.h"

#include <algorithm>

namespace vendigo::cli {
namespace {

constexpr std::size_t kHelpWidth = 79;

// The text's words in lines of at most width characters.
std::vector<std::string> Wrapped(const std::string &text, std::size_t width) {
  std::vector<std::string> lines(1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width)
      lines.emplace_back();
    lines.back() += (lines.back().empty() ? "" : " ") + word;
    start = end + 1;
  }
  return lines;
}

}  // namespace

CommandLineParser::CommandLineParser(std::string description,
                                     std::vector<CommandLineOption> options,
                                     std::vector<std::pair<std::string, std::string>> positionals)
    : description_(std::move(description)),
      options_(std::move(options)),
      positionalHelp_(std::move(positionals)) {}

const CommandLineOption *CommandLineParser::Find(std::string_view name) const {
  for (const CommandLineOption &option : options_) {
    if (std::find(option.names.begin(), option.names.end(), name) != option.names.end()) {
      return &option;
    }
  }
  return nullptr;
}

bool CommandLineParser::Register(const std::string &name) {
  const CommandLineOption *option = Find(name);
  if (option) {
    found_.push_back(option);
  } else {
    unknown_.push_back(name);
  }
  return option != nullptr;
}

// The value of the option named in argument: after "=" in it, else the next argument.
bool CommandLineParser::TakeValue(const std::string &name, const std::string &argument,
                                  std::vector<std::string>::const_iterator &next,
                                  std::vector<std::string>::const_iterator end) {
  const CommandLineOption *option = Find(name);
  if (!option) return true;
  const std::size_t assign = argument.find('=');
  if (option->valueName.empty()) {
    if (assign == std::string::npos) return true;
    error_ = "Unexpected value after '" + argument.substr(0, assign) + "'.";
    return false;
  }
  if (assign != std::string::npos) {
    values_.emplace_back(option, argument.substr(assign + 1));
  } else if (++next == end) {
    error_ = "Missing value after '" + argument + "'.";
    return false;
  } else {
    values_.emplace_back(option, *next);
  }
  return true;
}

bool CommandLineParser::Parse(const std::vector<std::string> &arguments) {
  program_ = arguments.empty() ? "" : arguments.front();
  bool ok = true;
  bool onlyPositionals = false;
  for (auto next = arguments.begin() + (arguments.empty() ? 0 : 1); next < arguments.end();
       ++next) {
    const std::string argument = *next;
    if (onlyPositionals || argument == "-" || !argument.starts_with('-')) {
      positionals_.push_back(argument);
    } else if (argument == "--") {
      onlyPositionals = true;
    } else if (argument.starts_with("--")) {
      const std::string name = argument.substr(2, argument.find('=') - 2);
      ok = Register(name) && TakeValue(name, argument, next, arguments.end()) && ok;
    } else {
      // Letters run together; the first that takes a value takes the rest of the argument.
      std::string name;
      bool valueFound = false;
      for (std::size_t at = 1; at < argument.size(); ++at) {
        name = argument.substr(at, 1);
        if (!Register(name)) {
          ok = false;
          continue;
        }
        if (!Find(name)->valueName.empty()) {
          if (at + 1 < argument.size()) {
            values_.emplace_back(Find(name),
                                 argument.substr(argument[at + 1] == '=' ? at + 2 : at + 1));
            valueFound = true;
          }
          break;
        }
        if (at + 1 < argument.size() && argument[at + 1] == '=') break;
      }
      if (!valueFound && !TakeValue(name, argument, next, arguments.end())) ok = false;
    }
    if (next == arguments.end()) break;
  }
  if (error_.empty() && unknown_.size() == 1) error_ = "Unknown option '" + unknown_[0] + "'.";
  if (error_.empty() && unknown_.size() > 1) {
    error_ = "Unknown options: ";
    for (const std::string &name : unknown_)
      error_ += name + (&name == &unknown_.back() ? "." : ", ");
  }
  return ok;
}

bool CommandLineParser::IsSet(std::string_view name) const {
  return std::find(found_.begin(), found_.end(), Find(name)) != found_.end();
}

std::string CommandLineParser::Value(std::string_view name) const {
  const CommandLineOption *option = Find(name);
  for (auto value = values_.rbegin(); value != values_.rend(); ++value) {
    if (value->first == option) return value->second;
  }
  return "";
}

std::string CommandLineParser::HelpText() const {
  std::string text = "Usage: " + program_ + " [options]";
  for (const auto &[name, description] : positionalHelp_) text += " " + name;
  text += "\n" + description_ + "\n\nOptions:\n";
  std::vector<std::pair<std::string, std::string>> entries;
  for (const CommandLineOption &option : options_) {
    std::string names;
    for (const std::string &name : option.names) {
      names += (names.empty() ? "" : ", ") + std::string(name.size() == 1 ? "-" : "--") + name;
    }
    if (!option.valueName.empty()) names += " <" + option.valueName + ">";
    entries.emplace_back(names, option.description);
  }
  std::size_t column = 0;
  for (const auto &[names, description] : entries) column = std::max(column, names.size() + 1);
  const auto append = [&](const std::string &names, const std::string &description) {
    std::string first = names;
    for (const std::string &line : Wrapped(description, kHelpWidth - column - 3)) {
      text += "  " + first + std::string(column - first.size(), ' ') + " " + line + "\n";
      first.clear();
    }
  };
  for (const auto &[names, description] : entries) append(names, description);
  text += "\nArguments:\n";
  for (const auto &[name, description] : positionalHelp_) append(name, description);
  return text;
}

}  // namespace vendigo::cli
