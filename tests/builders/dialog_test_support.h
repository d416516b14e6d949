#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/settings.h"
#include "editorlink/editor_link.h"
#include "editorlink/memory_editor_host.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

namespace vendigo::testing {

// Everything a builder dialog needs, with an in-memory editor that has one open page whose
// insertion point is at the end of its text, and messages that are recorded instead of shown.
struct DialogWorld {
  DialogWorld() {
    settings = DefaultSettings();
    settings.CGI_BIN = "/cgi-bin/pellux.cgi";
    settings.Currency = "$";
    host->OpenDocument("page.htm", "<p>");
    link.Connect();
  }

  // Opens a dialog the way the palette does: created with new, shown; it deletes itself.
  template <typename Dialog>
  Dialog *Open() {
    auto *dialog = new Dialog(context);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    return dialog;
  }

  // What the builder put into the page after "<p>".
  std::string Inserted() const { return host->ActiveText().substr(3); }

  TempFolder programDir;
  Settings settings;
  RecordingMessages messages;
  std::shared_ptr<MemoryEditorHost> host = std::make_shared<MemoryEditorHost>();
  EditorLink link{messages, [host = host] { return host; }};
  AppContext context{settings, link, messages, programDir.path().string()};
};

// Runs the deferred deletions, so a dialog that closed itself is gone afterwards.
inline bool IsGone(const QPointer<QWidget> &dialog) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return dialog.isNull();
}

template <typename Widget>
Widget *Child(QWidget *dialog, const char *name) {
  auto *child = dialog->findChild<Widget *>(QString::fromLatin1(name));
  if (!child) qFatal("no control named %s", name);
  return child;
}

// Types text into a control the way a user does, one key at a time.
inline void Type(QWidget *control, const QString &text) {
  control->setFocus();
  QTest::keyClicks(control, text);
}

// Selects everything in a line edit and deletes it with real keys.
inline void Clear(QWidget *control) {
  control->setFocus();
  QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(control, Qt::Key_Delete);
}

// Core text as a QString, so a failed comparison shows both texts.
inline QString Q(const std::string &text) {
  return QString::fromStdString(text);
}

}  // namespace vendigo::testing
