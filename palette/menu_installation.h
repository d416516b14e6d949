#pragma once

#include <string>

#include "core/message_interface.h"
#include "editorlink/editor_registry.h"

namespace vendigo {

// Registering the palette as a command in the page editor's menus, and taking it away again,
// through the editor's store of menu registrations.

inline constexpr char kInstallCaption[] = "Install Into FrontPage";
inline constexpr char kRemoveCaption[] = "Remove From FrontPage";

inline constexpr char kCommandValueName[] = "Vendigo";
inline constexpr char kMenuValueName[] = "Pellux";
inline constexpr char kMenuValue[] = "3, ,1,&Pellux,Table";

inline constexpr char kConfirmRemovalQuestion[] =
    "Are you sure you want to remove Vendigo from the FrontPage Editor?";
inline constexpr char kEditorKeysFailedMessage[] =
    "I could not add/remove the commands to the FrontPage editor. Be sure FrontPage is installed "
    "on this machine.";
inline constexpr char kInstalledMessage[] =
    "The Vendigo FrontPage Plug-ins have been installed into the FrontPage editor.";
inline constexpr char kRestartEditorMessage[] =
    "For these plug-ins to appear, you must restart FrontPage if it is running. Depending on the "
    "version of FrontPage you are using, the plug-ins will be installed into either the \"Tools\" "
    "menu, the \"Custom\" menu, or the \"Pellux\" menu.";
inline constexpr char kRemovedMessage[] =
    "Plug-ins have been removed. The next time you start FrontPage, the Pellux Vendigo menu will "
    "not exist.";

enum class InstallState {
  Installed,     // the command key holds a non-empty command value
  NotInstalled,  // the command key exists without one
  KeyAbsent,     // the editor has no command key for this user
};

// Looks at the command key without creating it.
InstallState ReadInstallState(EditorRegistry &registry);

// The command value that makes the editor offer the program at executablePath, which is written
// as given, with no quoting.
std::string CommandValue(const std::string &executablePath);

// The FrontPage button's click. The caption decides: kInstallCaption installs, anything else
// removes after the user confirms. Failures are reported through messages and leave earlier
// changes in place. True when the change is complete and reported, so the program ends.
bool ChangeEditorMenus(const std::string &caption, EditorRegistry &registry,
                       const std::string &executablePath, MessageInterface &messages);

}  // namespace vendigo
