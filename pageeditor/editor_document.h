#pragma once

#include <QList>
#include <QSplitter>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "pageeditor/document_encoding.h"

class QPlainTextEdit;

namespace vendigo {

class RenderedView;
class SlicedTextReader;
class SourceEdit;
struct TextReplacement;

// One open document: its HTML source in an edit, whose text cursor is the insertion point, and
// beside it the page as a browser shows it, refreshed shortly after each change. A large document
// (more than kLivePreviewCharacters) is rendered only when it is read, saved or refreshed
// (RefreshRendered), and then only the part around the cursor, about kRenderedPartCharacters of
// it (PageAroundCursor): laying out a page of megabytes takes the engine seconds and gigabytes,
// too much for each keystroke and for the machine. The text is kept character for character, line
// ends included (see SourceText).
class EditorDocument : public QSplitter {
  Q_OBJECT

 public:
  static constexpr int kRenderDelayMs = 150;
  static constexpr int kLivePreviewCharacters = 2 * 1024 * 1024;
  // How much of a large page's source the view lays out, around the cursor: the engine takes
  // some 200 MB for each million characters of a page of paragraphs and form fields.
  static constexpr int kRenderedPartCharacters = 512 * 1024;

  // An empty, unsaved document called untitledName.
  explicit EditorDocument(QString untitledName, QWidget *parent = nullptr);

  // Replaces the text with the new page (new_page.h), the cursor in its body, unmodified.
  void StartNewPage();

  // Reads path into this document, replacing its text, in the encoding its bytes are written in
  // (DocumentEncoding: UTF-8, a byte order mark kept for the save, or Windows-1252). Only a
  // regular file of at most kMaxFileBytes is read, so no read can wait for good or run without
  // end. False with error set when the file is refused or cannot be read.
  bool Load(const QString &path, QString *error);
  // Writes the text to path in the encoding the file was read in (UTF-8 for a new document), every
  // character not edited as the bytes it was read from, and from then on the document is that
  // file. The file is replaced in one step once every byte is written (ReplaceFileContents); a
  // failed save leaves it as it was and the document modified, with error set. A file that Load
  // would refuse, past kMaxFileBytes, is not written at all.
  bool SaveAs(const QString &path, QString *error);

  // Makes this document the one whose UnsavedBytes are given, modified: path is its file (none
  // when empty), written in encoding when it is saved.
  void Recover(const QString &path, QByteArrayView unsavedBytes, const FileEncoding &encoding);

  // The file's absolute path; empty for an unsaved document.
  const QString &Path() const { return path_; }
  // The name of an unsaved document; empty for one read from a file.
  const QString &UntitledName() const { return untitledName_; }
  // The encoding a save writes in.
  const FileEncoding &Encoding() const { return encoding_; }
  // The file name, or the untitled name of an unsaved document.
  QString Title() const;
  // What the editor lists for it: the path, or the untitled name.
  QString ListName() const { return path_.isEmpty() ? untitledName_ : path_; }
  bool IsModified() const;

  // The document's text, line ends as they are; a byte that is no UTF-8 is shown as U+FFFD.
  QString Text() const;
  // The text as UTF-8, each byte that is no UTF-8 as that very byte: what Recover takes to give
  // this text back, character for character.
  QByteArray UnsavedBytes() const;
  // UnsavedBytes in two steps: the text is taken now, and the function returned, which may run on
  // any thread, makes the bytes of it.
  std::function<QByteArray()> UnsavedBytesLater() const;
  // The same for the edit's text as a SlicedTextReader of Source() reads it.
  std::function<QByteArray()> UnsavedBytesLater(QString editorText) const;
  // The bytes a save would write now, in two steps like UnsavedBytesLater: what the page check
  // reads.
  std::function<QByteArray()> SavedBytesLater() const;
  // Puts the cursor at a 1-based line and column of the text (SourceEdit::CursorAt), shows it and
  // gives the source edit the focus.
  void ShowPlace(int line, int column);
  // Inserts text at the cursor as one undo step and leaves the cursor after it. Its line breaks
  // take the document's own line end; every other character goes in as it is.
  void InsertAtCursor(const QString &text);
  // InsertAtCursor, unless the document's file would then be larger than kMaxFileBytes, so
  // that it could neither be saved nor opened again: then false with error set, and nothing
  // changes.
  bool InsertWithinLimit(const QString &text, QString *error);

  // Replaces stretches of the text as one undo step (SourceEdit::Replace); false, changing
  // nothing, when one no longer holds the text it held.
  bool Replace(const QList<TextReplacement> &replacements);

  QPlainTextEdit *Source() const;
  RenderedView *Rendered() const { return rendered_; }
  // Starts rendering the current text now rather than after the delay.
  void RefreshRendered();
  // True when an edit does not render the page again (see kLivePreviewCharacters).
  bool IsLarge() const;

 signals:
  // The title or the modified state changed.
  void StateChanged();
  // The text was written to the document's file.
  void Saved();

 private:
  QString untitledName_;
  QString path_;
  FileEncoding encoding_;
  SourceEdit *source_;
  RenderedView *rendered_;
  SlicedTextReader *sourceReader_;
  QTimer renderTimer_;
  qsizetype partCursor_ = -1;  // where the cursor was in the raw text of a large page read
};

}  // namespace vendigo
