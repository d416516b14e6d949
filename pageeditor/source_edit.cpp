#include "pageeditor/source_edit.h"

#include <QKeyEvent>
#include <QKeySequence>
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
  cursor.insertText(SourceText::ToEditor(SourceText::WithLineEnd(text, lineEnd_), lineEnd_));
  cursor.endEditBlock();
  afterInsertion_ = true;
  setTextCursor(cursor);
  ensureCursorVisible();
}

template <typename Edit>
void SourceEdit::SeparateFromInsertion(Edit edit) {
  if (!afterInsertion_) {
    edit();
    return;
  }
  const int revision = document()->revision();
  QTextCursor block = textCursor();
  block.beginEditBlock();
  edit();
  block.endEditBlock();
  // A key that changed nothing (an arrow, say) leaves the next edit to be separated.
  if (document()->revision() != revision) afterInsertion_ = false;
}

void SourceEdit::keyPressEvent(QKeyEvent *event) {
  // Undo and redo are not edits: they run as they are, outside any edit block.
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    afterInsertion_ = false;
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  SeparateFromInsertion([&] { QPlainTextEdit::keyPressEvent(event); });
}

void SourceEdit::inputMethodEvent(QInputMethodEvent *event) {
  SeparateFromInsertion([&] { QPlainTextEdit::inputMethodEvent(event); });
}

QMimeData *SourceEdit::createMimeDataFromSelection() const {
  auto *data = new QMimeData;
  data->setText(SourceText::FromEditor(textCursor().selectedText(), lineEnd_));
  return data;
}

void SourceEdit::insertFromMimeData(const QMimeData *source) {
  if (!source->hasText()) return;
  SeparateFromInsertion([&] {
    // A paste replaces the selection, as everywhere else.
    QTextCursor cursor = textCursor();
    cursor.insertText(SourceText::ToEditor(source->text(), lineEnd_));
    setTextCursor(cursor);
  });
  ensureCursorVisible();
}

}  // namespace vendigo
