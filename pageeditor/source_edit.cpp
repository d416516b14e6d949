#include "pageeditor/source_edit.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace vendigo {

void SourceEdit::SetText(const QString &text) {
  lineEnd_ = SourceText::DetectLineEnd(text);
  setPlainText(SourceText::ToEditor(text, lineEnd_));
  moveCursor(QTextCursor::Start);
}

QString SourceEdit::Text() const {
  return SourceText::FromEditor(document()->toRawText(), lineEnd_);
}

void SourceEdit::InsertAtCursor(const QString &text) {
  QTextCursor cursor = textCursor();
  cursor.clearSelection();
  cursor.beginEditBlock();
  cursor.insertText(SourceText::ToEditor(text, lineEnd_));
  cursor.endEditBlock();
  setTextCursor(cursor);
  ensureCursorVisible();
}

QMimeData *SourceEdit::createMimeDataFromSelection() const {
  auto *data = new QMimeData;
  data->setText(SourceText::FromEditor(textCursor().selectedText(), lineEnd_));
  return data;
}

void SourceEdit::insertFromMimeData(const QMimeData *source) {
  if (!source->hasText()) return;
  // A paste replaces the selection, as everywhere else.
  QTextCursor cursor = textCursor();
  cursor.insertText(SourceText::ToEditor(source->text(), lineEnd_));
  setTextCursor(cursor);
  ensureCursorVisible();
}

}  // namespace vendigo
