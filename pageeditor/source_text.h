#pragma once

#include <QString>

namespace vendigo {

// The line end a document is written with.
enum class LineEnd { Lf, CrLf, Cr };

// Moves a document's text in and out of a QPlainTextEdit without changing a single character.
//
// The edit keeps lines as text blocks and turns every CR, LF and CR LF it is given into a block
// break, so line ends would be lost. Instead the document's own line end is shown as a block
// break, and every character the edit would swallow or change (a CR or LF that is not the
// document's line end, and the separators the edit uses inside) is held as a marker, a lone
// surrogate that no text holds. The text is turned back, marker by marker, when it is saved or
// asked for.
class SourceText {
 public:
  // The first line end in text; LF when there is none.
  static LineEnd DetectLineEnd(const QString &text);
  static QString LineEndText(LineEnd lineEnd);

  // The text with each line break (CR LF, a lone CR or a lone LF) written as lineEnd, every
  // other character as it is: how a text inserted into a document takes the document's line end.
  static QString WithLineEnd(const QString &text, LineEnd lineEnd);

  // The text to give QPlainTextEdit (setPlainText or QTextCursor::insertText).
  static QString ToEditor(const QString &text, LineEnd lineEnd);
  // The document's text from the edit's raw text (QTextDocument::toRawText).
  static QString FromEditor(const QString &raw, LineEnd lineEnd);
};

}  // namespace vendigo
