#pragma once

#include <QPlainTextEdit>

#include "pageeditor/source_text.h"

class QTextBlock;

namespace vendigo {

// A stretch of a document's text to replace: from a 1-based line and column (as CursorAt takes
// them) to the line and column just past its last character, which must hold oldText.
struct TextReplacement {
  int line = 1;
  int column = 1;
  int endLine = 1;
  int endColumn = 1;
  QString oldText;
  QString newText;  // the document's own characters, line ends as they are to be saved
};

// The source edit of a document. Copy and paste carry the document's own characters: what is
// copied is the text with its line ends as the document has them, and what is pasted goes in
// as given, like an insertion from the palette.
//
// The edit lays out a whole block each time it changes, so a line of megabytes would cost
// seconds per keystroke. A line longer than twice kRowLength is therefore shown as rows of
// kRowLength characters, each row after the first a block that is marked as continuing the line
// before it: the break between two rows is no line end, it is never saved, copied or handed out.
// Delete and Backspace at a seam act on the characters beside it, and Enter there makes a line
// end, so editing works on the line as it is.
class SourceEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  // A line longer than twice this many characters is shown as rows of this many.
  static constexpr int kRowLength = 1024;

  explicit SourceEdit(QWidget *parent = nullptr) : QPlainTextEdit(parent) {}

  // True when block is a row that continues the line of the block before it.
  static bool ContinuesLine(const QTextBlock &block);

  // Replaces the whole text; the cursor goes to the start and the undo history is cleared.
  void SetText(const QString &text);
  QString Text() const;
  // Text() in two steps: the edit's raw text without the seams of rows, taken on the window
  // thread, and SourceText::FromEditor(EditorText(), DocumentLineEnd()), which may run anywhere.
  QString EditorText() const;
  // Where position, a position of the edit, is in EditorText(): the seams of rows before it are
  // not in that text.
  int EditorPosition(int position) const;
  // The line end the text was read with, which inserted line breaks take.
  LineEnd DocumentLineEnd() const { return lineEnd_; }
  // The place of a 1-based line and column, the column counted in characters (a character
  // beyond the first plane is one) across the rows of a long line. A line past the last is the
  // last, a column past the line's end its end.
  QTextCursor CursorAt(int line, int column) const;
  // Inserts text at the cursor (a selection stays) as one undo step; the cursor ends after it.
  // Each line break of text is written as the document's line end.
  void InsertAtCursor(const QString &text);
  // Replaces each stretch by its new text as one undo step. False, changing nothing, when a
  // stretch no longer holds its old text (the document was edited since they were found) or two
  // stretches overlap.
  bool Replace(const QList<TextReplacement> &replacements);

 protected:
  QMimeData *createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData *source) override;
  void keyPressEvent(QKeyEvent *event) override;
  void inputMethodEvent(QInputMethodEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

 private:
  // Runs the user's edit in an undo step of its own when it is the first after an insertion.
  // The text document adds plain typing to the undo step before it when that step inserted
  // text right there, so without this an undo after typing would take the insertion back too.
  template <typename Edit>
  void SeparateFromInsertion(Edit edit);

  // The document's text between two positions of the edit.
  QString TextBetween(int from, int to) const;
  // The edit's raw text between two positions, the seams of rows left out.
  QString EditorTextBetween(int from, int to) const;
  // False when no block has ever been marked as a row, so there are no seams to look for.
  bool MayHaveRows() const;
  // Puts text (the document's own characters) in at the cursor, in place of its selection: its
  // line breaks are line ends, and a line that grows too long is cut into rows.
  void PutIn(QTextCursor &cursor, const QString &text);
  // Cuts each block that starts in [from, to] and is longer than twice kRowLength into rows.
  void CutLongLines(int from, int to);
  // Makes the blocks that start in (from, to] lines of their own: the breaks before them are line
  // ends (new blocks take the format of the one they were split from).
  void MakeLineEnds(int from, int to);
  // Steps the cursor over the seam of two rows that a Delete or Backspace would remove, so the
  // key removes the character beyond it instead.
  void StepOverSeam(QKeyEvent *event);

  LineEnd lineEnd_ = LineEnd::Lf;
  bool afterInsertion_ = false;
};

}  // namespace vendigo
