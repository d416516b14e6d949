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

  LineEnd DocumentLineEnd() const { return lineEnd_; }
  // Replaces the whole text; the cursor goes to the start and the undo history is cleared.
  void SetText(const QString &text);
  QString Text() const;
  // Inserts text at the cursor (a selection stays) as one undo step; the cursor ends after it.
  void InsertAtCursor(const QString &text);

 protected:
  QMimeData *createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData *source) override;

 private:
  LineEnd lineEnd_ = LineEnd::Lf;
};

}  // namespace vendigo
