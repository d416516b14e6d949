#pragma once

#include <QPlainTextEdit>

#include "pageeditor/source_text.h"

namespace vendigo {

// The source edit of a document. Copy and paste carry the document's own characters: what is
// copied is the text with its line ends as the document has them, and what is pasted goes in
// as given, like an insertion from the palette.
class SourceEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit SourceEdit(QWidget *parent = nullptr) : QPlainTextEdit(parent) {}

  // Replaces the whole text; the cursor goes to the start and the undo history is cleared.
  void SetText(const QString &text);
  QString Text() const;
  // Inserts text at the cursor (a selection stays) as one undo step; the cursor ends after it.
  // Each line break of text is written as the document's line end.
  void InsertAtCursor(const QString &text);

 protected:
  QMimeData *createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData *source) override;
  void keyPressEvent(QKeyEvent *event) override;
  void inputMethodEvent(QInputMethodEvent *event) override;

 private:
  // Runs the user's edit in an undo step of its own when it is the first after an insertion.
  // The text document adds plain typing to the undo step before it when that step inserted
  // text right there, so without this an undo after typing would take the insertion back too.
  template <typename Edit>
  void SeparateFromInsertion(Edit edit);

  LineEnd lineEnd_ = LineEnd::Lf;
  bool afterInsertion_ = false;
};

}  // namespace vendigo
