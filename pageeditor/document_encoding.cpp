#include "pageeditor/document_encoding.h"

#include <QStringDecoder>

#include <string>
#include <string_view>

#include "core/text_encoding.h"

namespace vendigo {
namespace {

constexpr char16_t kStrayByteBase = 0xDC00;
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// True when text[i] holds a byte that is no UTF-8: a lone surrogate of the stray bytes' range, not
// the low half of a character beyond the first plane.
bool IsStrayByte(QStringView text, qsizetype i) {
  const char16_t c = text[i].unicode();
  return c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF &&
         !(i > 0 && text[i - 1].isHighSurrogate());
}

// The length of the well-formed UTF-8 sequence at bytes[i], or 0 when none starts there.
qsizetype SequenceLength(QByteArrayView bytes, qsizetype i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || bytes.size() - i < length) return 0;
  const QByteArrayView sequence = bytes.sliced(i, length);
  return IsValidUtf8(std::string_view(sequence.data(), sequence.size())) ? length : 0;
}

// Well-formed UTF-8 as text, a byte order mark at its start included (QString::fromUtf8 drops it).
QString Utf8Text(QByteArrayView bytes) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return decoder.decode(bytes);
}

// UTF-8 with each byte that is no UTF-8 held as a stray-byte surrogate.
QString DecodeUtf8KeepingStrayBytes(QByteArrayView bytes) {
  QString text;
  text.reserve(bytes.size());
  qsizetype run = 0;  // start of the current run of well-formed UTF-8
  for (qsizetype i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    if (const qsizetype length = SequenceLength(bytes, i)) {
      i += length;
      continue;
    }
    text += Utf8Text(bytes.sliced(run, i - run));
    text += QChar(static_cast<char16_t>(kStrayByteBase + byte));
    run = ++i;
  }
  text += Utf8Text(bytes.sliced(run));
  return text;
}

// True when the bytes read better as UTF-8 than as Windows-1252: they hold no fewer well-formed
// sequences beyond ASCII than bytes that fit none, and at least one.
bool IsMostlyUtf8(QByteArrayView bytes) {
  qsizetype sequences = 0;
  qsizetype strays = 0;
  for (qsizetype i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
    } else if (const qsizetype length = SequenceLength(bytes, i)) {
      ++sequences;
      i += length;
    } else {
      ++strays;
      ++i;
    }
  }
  return sequences > 0 && sequences >= strays;
}

// The Windows-1252 byte of each character of its upper half.
char Windows1252Byte(char32_t c, bool *found) {
  static const QString upperHalf = [] {
    std::string bytes;
    for (int byte = 0x80; byte <= 0xFF; ++byte) bytes += static_cast<char>(byte);
    return QString::fromStdString(Windows1252ToUtf8(bytes));
  }();
  const qsizetype index = c <= 0xFFFF ? upperHalf.indexOf(QChar(static_cast<char16_t>(c))) : -1;
  *found = index >= 0;
  return static_cast<char>(0x80 + index);
}

}  // namespace

DecodedFile DocumentEncoding::Decode(QByteArrayView bytes) {
  DecodedFile file;
  const std::string_view view(bytes.data(), bytes.size());
  if (!IsValidUtf8(view) && !IsMostlyUtf8(bytes)) {
    file.encoding.charset = FileEncoding::Charset::Windows1252;
    file.text = QString::fromStdString(Windows1252ToUtf8(view));
    return file;
  }
  file.encoding.byteOrderMark = bytes.startsWith(kUtf8Bom);
  file.text = DecodeUtf8KeepingStrayBytes(file.encoding.byteOrderMark ? bytes.sliced(3) : bytes);
  return file;
}

QByteArray DocumentEncoding::Encode(const QString &text, const FileEncoding &encoding) {
  QByteArray bytes;
  bytes.reserve(text.size() + text.size() / 8);
  if (encoding.byteOrderMark) bytes += kUtf8Bom;
  const bool windows1252 = encoding.charset == FileEncoding::Charset::Windows1252;
  qsizetype run = 0;  // start of the characters not yet written
  const auto flush = [&](qsizetype end) {
    if (!windows1252) bytes += QStringView(text).sliced(run, end - run).toUtf8();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (!windows1252) {
      if (!IsStrayByte(text, i)) continue;
      flush(i);
      bytes += static_cast<char>(c - kStrayByteBase);
      run = i + 1;
      continue;
    }
    if (c < 0x80) {
      bytes += static_cast<char>(c);
      continue;
    }
    char32_t point = c;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      point = QChar::surrogateToUcs4(c, text[++i].unicode());
    } else if (QChar::isSurrogate(c)) {
      point = 0xFFFD;  // no character: only a UTF-8 file holds stray bytes
    }
    bool found = false;
    const char byte = Windows1252Byte(point, &found);
    bytes += found ? QByteArray(1, byte) : "&#" + QByteArray::number(point) + ';';
  }
  flush(text.size());
  return bytes;
}

QString DocumentEncoding::DecodeUtf8(QByteArrayView bytes) {
  return DecodeUtf8KeepingStrayBytes(bytes);
}

QString DocumentEncoding::Shown(const QString &text) {
  QString shown = text;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (IsStrayByte(text, i)) shown[i] = QChar::ReplacementCharacter;
  }
  return shown;
}

}  // namespace vendigo
