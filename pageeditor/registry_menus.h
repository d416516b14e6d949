#pragma once

class QMenuBar;

namespace vendigo {

class EditorPrompts;
class EditorRegistry;

// The menus and commands that other programs registered in the editor's store.
class RegistryMenus {
 public:
  // Adds a top-level menu for each "Init Menus" value (named by its fourth field), then, for each
  // "Init Commands" value, an action in the menu its fourth field names (made when there is none
  // yet) that starts the command's program. Menus and actions are named after their values.
  // A value that cannot be read is left out.
  static void Build(QMenuBar &menuBar, const EditorRegistry &registry, EditorPrompts &prompts);
};

}  // namespace vendigo
