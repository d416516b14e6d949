#pragma once

#include <QHash>
#include <QString>

#include <cstddef>

#include "pageeditor/document_encoding.h"
#include "pageeditor/source_text.h"

namespace vendigo {

// Places in a document's edit against byte offsets of the file a save writes: the edit counts
// UTF-16 units and one unit per line end, the file bytes of its encoding, its own line end and a
// byte order mark. Each character is counted as DocumentEncoding::Encode writes it.
class SavedByteOffsets {
 public:
  // editorText is the edit's text without the seams of rows (SourceEdit::EditorText).
  SavedByteOffsets(QString editorText, LineEnd lineEnd, const FileEncoding &encoding);

  const QString &EditorText() const { return editorText_; }
  // The file offset of the character at editorPosition (the file's size at the end).
  std::size_t ByteOffset(qsizetype editorPosition) const;
  // The position in the editor text of the character that begins at byteOffset; -1 when no
  // character begins there.
  qsizetype EditorPosition(std::size_t byteOffset) const;

 private:
  // The bytes of the character that begins at unit i, and how many units it takes.
  std::size_t CharacterBytes(qsizetype i, qsizetype *units) const;

  QString editorText_;
  LineEnd lineEnd_;
  FileEncoding characters_;  // the encoding without its byte order mark
  std::size_t start_;        // the byte order mark's bytes
  std::size_t lineEndBytes_;
  mutable QHash<char32_t, std::size_t> bytesOf_;
};

}  // namespace vendigo
