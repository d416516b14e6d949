#pragma once

#include <string>

#include "core/message_interface.h"
#include "core/settings.h"
#include "editorlink/editor_link.h"

namespace vendigo {

// What every palette command and dialog works with. Settings are shared, not copied, so a
// dialog opened after the options were saved sees the new values.
struct AppContext {
  Settings &settings;
  EditorLink &editor;
  MessageInterface &messages;
  // The folder of the executable: buttons.slu, the templates and img~.html live there.
  std::string programDir;
};

}  // namespace vendigo
