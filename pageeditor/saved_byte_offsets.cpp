#include "pageeditor/saved_byte_offsets.h"

#include <utility>

namespace vendigo {

SavedByteOffsets::SavedByteOffsets(QString editorText, LineEnd lineEnd,
                                   const FileEncoding &encoding)
    : editorText_(std::move(editorText)), lineEnd_(lineEnd), characters_(encoding) {
  characters_.byteOrderMark = false;
  start_ = static_cast<std::size_t>(DocumentEncoding::Encode(QString(), encoding).size());
  lineEndBytes_ = static_cast<std::size_t>(
      DocumentEncoding::Encode(SourceText::LineEndText(lineEnd), characters_).size());
}

std::size_t SavedByteOffsets::CharacterBytes(qsizetype i, qsizetype *units) const {
  const char16_t c = editorText_[i].unicode();
  *units = 1;
  if (c < 0x80) return 1;
  if (c == u'\u2029' || c == u'\u2028') return lineEndBytes_;
  const bool pair = QChar::isHighSurrogate(c) && i + 1 < editorText_.size() &&
                    editorText_[i + 1].isLowSurrogate();
  if (pair) *units = 2;
  const char32_t key = pair ? QChar::surrogateToUcs4(c, editorText_[i + 1].unicode()) : c;
  const auto known = bytesOf_.constFind(key);
  if (known != bytesOf_.constEnd()) return *known;
  // A marker of the edit stands for the character it holds (SourceText).
  const QString character = SourceText::FromEditor(editorText_.sliced(i, *units), lineEnd_);
  const auto bytes =
      static_cast<std::size_t>(DocumentEncoding::Encode(character, characters_).size());
  bytesOf_.insert(key, bytes);
  return bytes;
}

std::size_t SavedByteOffsets::ByteOffset(qsizetype editorPosition) const {
  std::size_t offset = start_;
  qsizetype units = 1;
  for (qsizetype i = 0; i < editorPosition && i < editorText_.size(); i += units) {
    offset += CharacterBytes(i, &units);
  }
  return offset;
}

qsizetype SavedByteOffsets::EditorPosition(std::size_t byteOffset) const {
  std::size_t offset = start_;
  qsizetype units = 1;
  qsizetype i = 0;
  for (; offset < byteOffset && i < editorText_.size(); i += units) {
    offset += CharacterBytes(i, &units);
  }
  return offset == byteOffset ? i : -1;
}

}  // namespace vendigo
