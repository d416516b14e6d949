#pragma once

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <string>

#include "app/app_context.h"
#include "app/settings.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_link.h"
#include "support/page_editor_session.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

namespace vendigo::testing {

// A dialog's whole path to a real page editor: a vendigo-pageeditor on the test's session bus
// with one new document, an editor link connected to it over D-Bus, and recorded messages.
// Run under vendigo_dbus_test.
class EditorDialogWorld {
 public:
  // False, with the reason in Error(), when the editor does not come up or cannot be reached.
  bool Start() {
    if (!editor.Start() || !editor.NewDocument()) return false;
    return link.Connect();
  }
  QString Error() const { return editor.LastError(); }

  // Opens a dialog the way the palette does: created with new and shown; it deletes itself.
  template <typename Dialog>
  QPointer<Dialog> Open() {
    auto *dialog = new Dialog(context);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    return dialog;
  }

  template <typename Widget>
  static Widget *Find(QWidget *dialog, const char *name) {
    return dialog->findChild<Widget *>(QString::fromLatin1(name));
  }

  PageEditorSession editor;
  TempFolder programDir;
  Settings settings = DefaultSettings();
  RecordingMessages messages;
  EditorLink link{messages, ConnectDBusEditorHost};
  AppContext context{settings, link, messages, programDir.path().string()};
};

}  // namespace vendigo::testing
