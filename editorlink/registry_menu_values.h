#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// The values of the "Init Menus" and "Init Commands" keys: comma-separated records in the
// editor's own format.

// A top-level menu: "3, ,1,&Pellux,Table" adds the menu "&Pellux" ("&" marks the accelerator).
struct RegisteredMenu {
  std::string title;
};

// A command: "3,,1,Pellux,Pellux Vendigo,/opt/vendigo/vendigo,,0,\"Pellux Vendigo Tools\",0"
// adds "Pellux Vendigo" to the menu Pellux; choosing it starts the program.
struct RegisteredCommand {
  std::string menu;
  std::string caption;
  std::string program;
  std::string statusTip;

  bool operator==(const RegisteredCommand &) const = default;
};

// The fields of value, split at commas, blanks around each field removed. A comma between
// double quotes does not split; the quotes stay in the field.
std::vector<std::string> SplitRegistryFields(std::string_view value);

// nullopt when the value has no fourth field or it is empty.
std::optional<RegisteredMenu> ParseMenuValue(std::string_view value);

// Menu from the fourth field, caption from the fifth, program from the sixth, status tip from the
// ninth without its quotes. The program path is written unquoted, so it may hold commas and
// double quotes: in a value of ten fields or more the first five and the last four are taken as
// fields and everything between them is the path. nullopt when menu, caption or program is
// missing.
std::optional<RegisteredCommand> ParseCommandValue(std::string_view value);

// A menu title as the user reads it: "&Pellux" is "Pellux", "&&" stands for one "&".
std::string TitleWithoutAccelerator(std::string_view title);

}  // namespace vendigo
