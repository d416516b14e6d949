#pragma once

#include <QPointer>
#include <QWidget>

#include <string>

#include "core/app_context.h"
#include "core/settings.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_link.h"
#include "support/dialog_world.h"
#include "support/page_editor_session.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

namespace vendigo::testing {

// A dialog's whole path to a real page editor: a vendigo-pageeditor on the test's session bus
// with an empty page open, an editor link connected to it over D-Bus, and recorded messages.
// Run under vendigo_dbus_test.
class EditorDialogWorld {
 public:
  // False, with the reason in Error(), when the editor does not come up or cannot be reached.
  bool Start() {
    if (!editor.Start() || !editor.OpenDocument(editor.WriteFile("page.html", ""))) return false;
    return link.Connect();
  }
  QString Error() const { return editor.LastError(); }

  template <typename Dialog>
  QPointer<Dialog> Open() {
    return OpenDialog<Dialog>(context);
  }

  template <typename Widget>
  static Widget *Find(QWidget *dialog, const char *name) {
    return dialog->findChild<Widget *>(QString::fromLatin1(name));
  }

  // The page's text as the editor shows it after text was inserted into it (an empty page has LF):
  // each line break of the text written as LF.
  static std::string InLfDocument(std::string text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      result += text[i] == '\r' ? '\n' : text[i];
    }
    return result;
  }

  PageEditorSession editor;
  TempFolder programDir;
  Settings settings = DefaultSettings();
  RecordingMessages messages;
  EditorLink link{messages, ConnectDBusEditorHost};
  AppContext context{settings, link, messages, programDir.path().string()};
};

}  // namespace vendigo::testing
