#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vendigo {

// How a document's file is written: the encoding it was read in, and whether it began with a
// UTF-8 byte order mark.
struct FileEncoding {
  enum class Charset { Utf8, Windows1252 };
  Charset charset = Charset::Utf8;
  bool byteOrderMark = false;
};

// A document's text read from its file's bytes, and the encoding to write it back in.
struct DecodedFile {
  QString text;
  FileEncoding encoding;
};

// Reads and writes a document's file so that every character that was not edited is written back
// as the very bytes it was read from.
//
// A file that is UTF-8, or mostly UTF-8 (at least as many characters beyond ASCII as bytes that
// are no UTF-8), is UTF-8; any other file is Windows-1252. A byte that is no UTF-8 in a UTF-8
// file is held as the lone surrogate U+DC00 + the byte (U+DC80 to U+DCFF, never after a high
// surrogate: then it is the low half of a character), which no character read or typed can be,
// and is written back as that byte.
class DocumentEncoding {
 public:
  static DecodedFile Decode(QByteArrayView bytes);
  // In Windows-1252, a character that encoding lacks is written as its HTML numeric character
  // reference ("&#26479;"), as a browser submits it from a Windows-1252 page.
  static QByteArray Encode(const QString &text, const FileEncoding &encoding);
  // The text that Encode wrote in the default FileEncoding (UTF-8, no byte order mark), whatever
  // the bytes: a byte that is no UTF-8 is held as Decode holds it, a leading U+FEFF is kept.
  static QString DecodeUtf8(QByteArrayView bytes);
  // The text with each byte that is no UTF-8 shown as the replacement character U+FFFD: what the
  // editor hands out (over D-Bus, to the rendered view), where text must be valid Unicode.
  static QString Shown(const QString &text);
};

}  // namespace vendigo
