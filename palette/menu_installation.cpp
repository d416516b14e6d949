#include "palette/menu_installation.h"

#include <optional>

namespace vendigo {
namespace {

// Deleting a value that does not exist is no failure; a value left in place because the store
// cannot be written is, so the user is never told of a removal that did not happen.
bool DeleteValue(RegistryKey &key, const char *name) {
  key.DeleteValue(name);
  return !key.ReadString(name).has_value();
}

// Installs into or removes from both keys, creating them when missing. False when a key cannot
// be opened or a value cannot be taken away; a value that cannot be written throws RegistryError.
// Changes made before a failure stay.
bool ChangeKeys(bool install, EditorRegistry &registry, const std::string &executablePath) {
  std::optional<RegistryKey> commands = registry.OpenKey(kInitCommandsKey, true);
  if (!commands) return false;
  if (install) {
    commands->WriteString(kCommandValueName, CommandValue(executablePath));
  } else if (!DeleteValue(*commands, kCommandValueName)) {
    return false;
  }
  // A value of this name in the command key is left over from older installations.
  if (!DeleteValue(*commands, kMenuValueName)) return false;

  std::optional<RegistryKey> menus = registry.OpenKey(kInitMenusKey, true);
  if (!menus) return false;
  if (install) {
    menus->WriteString(kMenuValueName, kMenuValue);
    return true;
  }
  return DeleteValue(*menus, kMenuValueName);
}

}  // namespace

InstallState ReadInstallState(EditorRegistry &registry) {
  const std::optional<RegistryKey> commands = registry.OpenKey(kInitCommandsKey, false);
  if (!commands) return InstallState::KeyAbsent;
  const std::optional<std::string> value = commands->ReadString(kCommandValueName);
  return value && !value->empty() ? InstallState::Installed : InstallState::NotInstalled;
}

std::string CommandValue(const std::string &executablePath) {
  return "3,,1,Pellux,Pellux Vendigo," + executablePath + ",,0,\"Pellux Vendigo Tools\",0";
}

bool ChangeEditorMenus(const std::string &caption, EditorRegistry &registry,
                       const std::string &executablePath, MessageInterface &messages) {
  const bool install = caption == kInstallCaption;
  if (!install && !messages.AskYesNo(kConfirmRemovalQuestion)) return false;

  try {
    if (!ChangeKeys(install, registry, executablePath)) {
      messages.ShowError(kEditorKeysFailedMessage);
      return false;
    }
  } catch (const RegistryError &error) {
    messages.ShowError(error.what());
    return false;
  }

  if (install) {
    messages.ShowMessage(kInstalledMessage);
    messages.ShowMessage(kRestartEditorMessage);
  } else {
    messages.ShowMessage(kRemovedMessage);
  }
  return true;
}

}  // namespace vendigo
