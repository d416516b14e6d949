#include "pageeditor/source_edit.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vendigo {
namespace {

// Marks a block that continues the line of the block before it.
constexpr int kContinuesLine = QTextFormat::UserProperty + 1;

bool IsRowOfLine(const QTextBlock &block) {
  return block.isValid() && block.blockFormat().boolProperty(kContinuesLine);
}

QTextBlockFormat Marked(QTextBlockFormat format, bool continuesLine) {
  if (continuesLine) {
    format.setProperty(kContinuesLine, true);
  } else {
    format.clearProperty(kContinuesLine);
  }
  return format;
}

}  // namespace

void SourceEdit::SetText(const QString &text) {
  lineEnd_ = SourceText::DetectLineEnd(text);
  document()->clear();
  QTextCursor cursor(document());
  // One edit: the edit lays out what changed once, at its end, and only the rows it shows.
  cursor.beginEditBlock();
  PutIn(cursor, text);
  cursor.endEditBlock();
  document()->clearUndoRedoStacks();
  moveCursor(QTextCursor::Start);
}

QString SourceEdit::Text() const {
  return TextBetween(0, document()->characterCount() - 1);
}

QString SourceEdit::EditorText() const {
  return EditorTextBetween(0, document()->characterCount() - 1);
}

QString SourceEdit::TextBetween(int from, int to) const {
  return SourceText::FromEditor(EditorTextBetween(from, to), lineEnd_);
}

bool SourceEdit::MayHaveRows() const {
  // The document keeps each format it ever had, so a row once made is found here for good.
  const QList<QTextFormat> formats = document()->allFormats();
  return std::any_of(formats.cbegin(), formats.cend(), [](const QTextFormat &format) {
    return format.isBlockFormat() && format.boolProperty(kContinuesLine);
  });
}

int SourceEdit::EditorPosition(int position) const {
  if (!MayHaveRows()) return position;
  int seams = 0;
  for (QTextBlock block = document()->begin(); block.isValid() && block.position() <= position;
       block = block.next()) {
    if (IsRowOfLine(block)) ++seams;
  }
  return position - seams;
}

int SourceEdit::PositionOfEditorPosition(int editorPosition) const {
  if (!MayHaveRows()) return editorPosition;
  int seams = 0;
  for (QTextBlock block = document()->begin().next(); block.isValid(); block = block.next()) {
    if (!IsRowOfLine(block)) continue;
    // The seam before this row is at block.position() - 1, which EditorText() leaves out.
    if (editorPosition <= block.position() - 1 - seams) break;
    ++seams;
  }
  return editorPosition + seams;
}

QString SourceEdit::EditorTextBetween(int from, int to) const {
  QString raw = document()->toRawText();
  if (!MayHaveRows()) {
    if (from == 0 && to == raw.size()) return raw;
    return raw.sliced(from, to - from);
  }
  QString text;
  text.reserve(to - from);
  // The seams of rows are the block breaks before the blocks that continue a line. A document
  // has a few block formats only: each is asked once for its mark.
  int copied = from;
  int formatIndex = -1;
  bool continues = false;
  for (QTextBlock block = document()->findBlock(from).next();
       block.isValid() && block.position() <= to; block = block.next()) {
    if (block.blockFormatIndex() != formatIndex) {
      formatIndex = block.blockFormatIndex();
      continues = IsRowOfLine(block);
    }
    if (!continues) continue;
    text += QStringView(raw).sliced(copied, block.position() - 1 - copied);
    copied = block.position();
  }
  text += QStringView(raw).sliced(copied, to - copied);
  return text;
}

void SourceEdit::PutIn(QTextCursor &cursor, const QString &text) {
  const int from = cursor.selectionStart();
  cursor.insertText(SourceText::ToEditor(text, lineEnd_));
  const int to = cursor.position();
  MakeLineEnds(from, to);
  CutLongLines(from, to);
}

void SourceEdit::MakeLineEnds(int from, int to) {
  QTextCursor marker(document());
  for (QTextBlock block = document()->findBlock(from).next();
       block.isValid() && block.position() <= to; block = block.next()) {
    if (!IsRowOfLine(block)) continue;
    marker.setPosition(block.position());
    marker.setBlockFormat(Marked(block.blockFormat(), false));
  }
}

void SourceEdit::CutLongLines(int from, int to) {
  QTextCursor cutter(document());
  QTextBlock block = document()->findBlock(from);
  while (block.isValid() && block.position() <= to) {
    if (block.length() - 1 <= 2 * kRowLength) {
      block = block.next();
      continue;
    }
    const QTextBlockFormat row = Marked(block.blockFormat(), true);
    while (block.length() - 1 > kRowLength) {
      int at = block.position() + kRowLength;
      // A character beyond the first plane is two code units: it stays whole.
      if (document()->characterAt(at).isLowSurrogate()) ++at;
      cutter.setPosition(at);
      cutter.insertBlock(row);
      ++to;
      block = cutter.block();
    }
  }
}

QTextCursor SourceEdit::CursorAt(int line, int column) const {
  QTextBlock block = document()->firstBlock();
  if (!MayHaveRows()) {
    const QTextBlock numbered = document()->findBlockByNumber(std::max(line, 1) - 1);
    block = numbered.isValid() ? numbered : document()->lastBlock();
  } else {
    for (int at = 1; at < line;) {
      QTextBlock next = block.next();
      while (next.isValid() && IsRowOfLine(next)) next = next.next();
      if (!next.isValid()) break;
      block = next;
      ++at;
    }
  }
  int left = std::max(column, 1) - 1;
  int position = block.position();
  for (;;) {
    const QString text = block.text();
    qsizetype unit = 0;
    for (; left > 0 && unit < text.size(); --left) {
      const bool pair =
          text[unit].isHighSurrogate() && unit + 1 < text.size() && text[unit + 1].isLowSurrogate();
      unit += pair ? 2 : 1;
    }
    position = block.position() + static_cast<int>(unit);
    const QTextBlock next = block.next();
    if (left == 0 || !IsRowOfLine(next)) break;
    block = next;
  }
  QTextCursor cursor(document());
  cursor.setPosition(position);
  return cursor;
}

void SourceEdit::InsertAtCursor(const QString &text) {
  const int at = textCursor().position();
  ReplaceBetween(at, at, text);
}

bool SourceEdit::Replace(const QList<TextReplacement> &replacements) {
  struct Stretch {
    int from;
    int to;
    const QString *text;
  };
  QList<Stretch> stretches;
  for (const TextReplacement &replacement : replacements) {
    const int from = CursorAt(replacement.line, replacement.column).position();
    const int to = CursorAt(replacement.endLine, replacement.endColumn).position();
    if (to < from || TextBetween(from, to) != replacement.oldText) return false;
    stretches.push_back({from, to, &replacement.newText});
  }
  std::sort(stretches.begin(), stretches.end(),
            [](const Stretch &a, const Stretch &b) { return a.from > b.from; });
  for (qsizetype i = 1; i < stretches.size(); ++i) {
    if (stretches[i].to > stretches[i - 1].from) return false;
  }
  QTextCursor cursor(document());
  cursor.beginEditBlock();
  // The last first, so the places of those before stay where they were found.
  for (const Stretch &stretch : stretches) {
    cursor.setPosition(stretch.from);
    cursor.setPosition(stretch.to, QTextCursor::KeepAnchor);
    PutIn(cursor, *stretch.text);
  }
  cursor.endEditBlock();
  afterInsertion_ = true;
  return true;
}

void SourceEdit::ReplaceBetween(int from, int to, const QString &text) {
  QTextCursor cursor(document());
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  cursor.beginEditBlock();
  PutIn(cursor, SourceText::WithLineEnd(text, lineEnd_));
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

void SourceEdit::StepOverSeam(QKeyEvent *event) {
  QTextCursor cursor = textCursor();
  if (cursor.hasSelection()) return;
  if (event->matches(QKeySequence::Delete) && cursor.atBlockEnd() &&
      IsRowOfLine(cursor.block().next())) {
    cursor.movePosition(QTextCursor::NextBlock);
  } else if (event->key() == Qt::Key_Backspace && cursor.atBlockStart() &&
             IsRowOfLine(cursor.block())) {
    cursor.movePosition(QTextCursor::PreviousBlock);
    cursor.movePosition(QTextCursor::EndOfBlock);
  } else {
    return;
  }
  setTextCursor(cursor);
}

void SourceEdit::keyPressEvent(QKeyEvent *event) {
  // Undo and redo are not edits: they run as they are, outside any edit block.
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    afterInsertion_ = false;
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  StepOverSeam(event);
  // Enter in a row would give the new block the row's mark: its break is a line end.
  if (event->matches(QKeySequence::InsertParagraphSeparator) && !isReadOnly()) {
    SeparateFromInsertion([&] {
      QTextCursor cursor = textCursor();
      cursor.beginEditBlock();
      cursor.insertBlock(
          Marked(document()->findBlock(cursor.selectionStart()).blockFormat(), false));
      cursor.endEditBlock();
      setTextCursor(cursor);
    });
    ensureCursorVisible();
    return;
  }
  SeparateFromInsertion([&] { QPlainTextEdit::keyPressEvent(event); });
}

void SourceEdit::inputMethodEvent(QInputMethodEvent *event) {
  SeparateFromInsertion([&] { QPlainTextEdit::inputMethodEvent(event); });
}

void SourceEdit::resizeEvent(QResizeEvent *event) {
  // A new width makes QPlainTextEdit lay every block out again, and to do so it gives each block a
  // text layout of its own that stays: tens of megabytes for a page of 100,000 lines. Lines that
  // do not wrap are laid out alike at any width, so the width change is not passed on.
  if (lineWrapMode() == NoWrap && event->oldSize().width() != event->size().width()) {
    QResizeEvent sameWidth(event->size(), QSize(event->size().width(), event->oldSize().height()));
    QPlainTextEdit::resizeEvent(&sameWidth);
    return;
  }
  QPlainTextEdit::resizeEvent(event);
}

QMimeData *SourceEdit::createMimeDataFromSelection() const {
  auto *data = new QMimeData;
  const QTextCursor cursor = textCursor();
  data->setText(TextBetween(cursor.selectionStart(), cursor.selectionEnd()));
  return data;
}

void SourceEdit::insertFromMimeData(const QMimeData *source) {
  if (!source->hasText()) return;
  SeparateFromInsertion([&] {
    // A paste replaces the selection, as everywhere else.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    PutIn(cursor, source->text());
    cursor.endEditBlock();
    setTextCursor(cursor);
  });
  ensureCursorVisible();
}

bool SourceEdit::ContinuesLine(const QTextBlock &block) {
  return IsRowOfLine(block);
}

}  // namespace vendigo
