#pragma once

// What the dialog tests share: a context with recorded messages and an in-memory editor behind a
// real editor link, and real key presses and clicks on controls and on the cells of a grid.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QSettings>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "core/app_context.h"
#include "core/settings.h"
#include "dialogs/string_grid.h"
#include "editorlink/editor_link.h"
#include "editorlink/memory_editor_host.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

namespace vendigo::testing {

// Opens a dialog the way the palette does: created with new and shown; it deletes itself.
template <typename Dialog>
Dialog *OpenDialog(AppContext &context) {
  auto *dialog = new Dialog(context);
  dialog->show();
  QApplication::setActiveWindow(dialog);
  return dialog;
}

// Everything a dialog needs, with an in-memory editor that has one open page whose insertion
// point is at the end of its text, and messages that are recorded instead of shown. The user's
// choices (folded previews) start afresh in the world's own folder.
struct DialogWorld {
  DialogWorld() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((programDir.path() / "config").string()));
    settings.CGI_BIN = "/cgi-bin/pellux.cgi";
    settings.Currency = "$";
    host->OpenDocument("page.htm", "<p>");
    link.Connect();
  }

  template <typename Dialog>
  Dialog *Open() {
    return OpenDialog<Dialog>(context);
  }

  // What the dialog put into the page after "<p>".
  std::string Inserted() const { return host->ActiveText().substr(3); }

  TempFolder programDir;
  Settings settings = DefaultSettings();
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

// Clicks the cell (row 1 is the first data row) as the user would.
inline void ClickCell(StringGrid *grid, int column, int row) {
  const QRect cell = grid->visualRect(grid->model()->index(row - 1, column));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

// Types into the editor of the current cell.
inline void Type(StringGrid *grid, const QString &text) {
  QTest::keyClicks(grid->CellEditor(), text);
}

// Replaces the current cell's text by typing over all of it.
inline void TypeOver(StringGrid *grid, const QString &text) {
  QTest::keyClick(grid->CellEditor(), Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) {
    QTest::keyClick(grid->CellEditor(), Qt::Key_Backspace);
  } else {
    QTest::keyClicks(grid->CellEditor(), text);
  }
}

inline void Tab(StringGrid *grid, int times = 1) {
  for (int i = 0; i < times; ++i) QTest::keyClick(grid->CellEditor(), Qt::Key_Tab);
}

// Types the texts into the cells of row, starting in column 0, with Tab between them.
inline void FillRow(StringGrid *grid, int row, const QStringList &cells) {
  ClickCell(grid, 0, row);
  for (int column = 0; column < cells.size(); ++column) {
    if (column > 0) Tab(grid);
    if (!cells[column].isNull()) TypeOver(grid, cells[column]);
  }
}

}  // namespace vendigo::testing
