// The page editor's file encoding and the source view's marking of the characters its edit would
// change: whatever bytes a file holds are written back as they were read, and whatever text a
// document holds comes back from the edit's form as it went in.
#include <QByteArray>
#include <QString>

#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "pageeditor/document_encoding.h"
#include "pageeditor/source_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const vendigo::DecodedFile file = vendigo::DocumentEncoding::Decode(bytes);
  FUZZ_CHECK(vendigo::DocumentEncoding::Encode(file.text, file.encoding) == bytes);
  for (const vendigo::LineEnd lineEnd :
       {vendigo::LineEnd::Lf, vendigo::LineEnd::CrLf, vendigo::LineEnd::Cr}) {
    // The edit keeps each "\n" it is given as a block break.
    QString edit = vendigo::SourceText::ToEditor(file.text, lineEnd);
    edit.replace(u'\n', QChar::ParagraphSeparator);
    FUZZ_CHECK(vendigo::SourceText::FromEditor(edit, lineEnd) == file.text);
  }
  // The shown text is valid Unicode wherever the file was not.
  FUZZ_CHECK(vendigo::DocumentEncoding::Shown(file.text).isValidUtf16());
  return 0;
}
