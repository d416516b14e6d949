#pragma once

// What the grid dialog tests share: a context with recorded messages and an in-memory editor
// behind a real editor link, and real key presses and clicks on the cells of a grid.

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/settings.h"
#include "builders/string_grid.h"
#include "editorlink/editor_link.h"
#include "editorlink/memory_editor_host.h"
#include "support/recording_messages.h"

namespace vendigo::testing {

struct GridDialogHarness {
  explicit GridDialogHarness(int generation = 3) {
    settings.PelluxGeneration = generation;
    settings.CGI_BIN = "/cgi-bin/pellux.cgi";
    host->OpenDocument("shop.html", "");
    link.Connect();
  }

  Settings settings = DefaultSettings();
  std::shared_ptr<MemoryEditorHost> host = std::make_shared<MemoryEditorHost>();
  RecordingMessages messages;
  EditorLink link{messages, [h = host] { return h; }};
  AppContext context{settings, link, messages, ""};
};

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
