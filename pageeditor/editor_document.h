#pragma once

#include <QSplitter>
#include <QString>
#include <QTimer>

class QPlainTextEdit;
class QTextBrowser;

namespace vendigo {

class SourceEdit;

// One open document: its HTML source in an edit, whose text cursor is the insertion point, and
// beside it the rendered page, refreshed shortly after each change. The text is kept character
// for character, line ends included (see SourceText).
class EditorDocument : public QSplitter {
  Q_OBJECT

 public:
  static constexpr int kRenderDelayMs = 150;

  // An empty, unsaved document called untitledName.
  explicit EditorDocument(QString untitledName, QWidget *parent = nullptr);

  // Reads path into this document, replacing its text. UTF-8 is read as it is (a byte order mark
  // is kept for the save); any other file is read as Windows-1252. Only a regular file of at most
  // kMaxFileBytes is read, so no read can wait for good or run without end. False with error set
  // when the file is refused or cannot be read.
  bool Load(const QString &path, QString *error);
  // Writes the text as UTF-8 to path, and from then on the document is that file. The file is
  // replaced in one step once every byte is written (ReplaceFileContents); a failed save leaves
  // it as it was and the document modified, with error set.
  bool SaveAs(const QString &path, QString *error);

  // The file's absolute path; empty for an unsaved document.
  const QString &Path() const { return path_; }
  // The file name, or the untitled name of an unsaved document.
  QString Title() const;
  // What the editor lists for it: the path, or the untitled name.
  QString ListName() const { return path_.isEmpty() ? untitledName_ : path_; }
  bool IsModified() const;

  // The document's text, line ends as they are.
  QString Text() const;
  // Inserts text at the cursor as one undo step and leaves the cursor after it.
  void InsertAtCursor(const QString &text);

  QPlainTextEdit *Source() const;
  QTextBrowser *Rendered() const { return rendered_; }
  // Renders the current text at once rather than after the delay.
  void RefreshRendered();

 signals:
  // The title or the modified state changed.
  void StateChanged();

 private:
  // Relative picture and style references of the page are looked up in folder.
  void ShowPicturesFrom(const QString &folder);

  QString untitledName_;
  QString path_;
  bool hasByteOrderMark_ = false;
  SourceEdit *source_;
  QTextBrowser *rendered_;
  QTimer renderTimer_;
};

}  // namespace vendigo
