#include "cli/cli_commands.h"

#include <nlohmann/json.hpp>

#include "builders/simple_element_commands.h"
#include "cli/grid_commands.h"
#include "cli/page_command.h"
#include "cli/single_item_commands.h"

namespace vendigo::cli {

const std::vector<Command> &Commands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> list;
    for (const SimpleElementCommand &element : SimpleElementCommands()) {
      list.push_back({element.name, element.summary, false,
                      [build = element.build](const Settings &settings, const nlohmann::json &) {
                        return build(settings);
                      }});
    }
    list.push_back(PageCommand());
    for (Command &command : GridCommands()) list.push_back(std::move(command));
    AppendSingleItemCommands(list);
    return list;
  }();
  return commands;
}

const Command *FindCommand(std::string_view name) {
  for (const Command &command : Commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace vendigo::cli
