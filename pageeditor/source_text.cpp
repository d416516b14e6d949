#include "pageeditor/source_text.h"

namespace vendigo {
namespace {

// Characters the edit changes when given them, and the markers that stand for them inside it.
// U+FDD0 and U+FDD1 are the edit's own frame marks; U+2028 and U+2029 its line and block breaks.
// The markers are lone low surrogates (never after a high one), which no text read, typed or
// inserted holds (a byte that is no UTF-8 is held as one of U+DC80 to U+DCFF, see
// DocumentEncoding), so every character of a text, noncharacters included, comes back as it went
// in.
struct Marker {
  char16_t character;
  char16_t marker;
};
constexpr Marker kMarkers[] = {
    {u'\r', 0xDD0D},     {u'\n', 0xDD0A},     {u'\u2028', 0xDD28},
    {u'\u2029', 0xDD29}, {u'\uFDD0', 0xDDD0}, {u'\uFDD1', 0xDDD1},
};

// The marker of a character the edit would change; 0 for any other character.
char16_t MarkerOf(char16_t c) {
  if (c > u'\r' && c < u'\u2028') return 0;
  for (const Marker &m : kMarkers) {
    if (c == m.character) return m.marker;
  }
  return 0;
}

// The character a marker stands for; 0 for any other character.
char16_t CharacterOf(char16_t c) {
  if ((c & 0xFF00) != 0xDD00) return 0;
  for (const Marker &m : kMarkers) {
    if (c == m.marker) return m.character;
  }
  return 0;
}

constexpr char16_t kBlockBreak = u'\u2029';
constexpr char16_t kLineBreak = u'\u2028';  // Shift+Enter in the edit

}  // namespace

LineEnd SourceText::DetectLineEnd(const QString &text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') return LineEnd::Lf;
    if (text[i] == u'\r') {
      return i + 1 < text.size() && text[i + 1] == u'\n' ? LineEnd::CrLf : LineEnd::Cr;
    }
  }
  return LineEnd::Lf;
}

QString SourceText::LineEndText(LineEnd lineEnd) {
  switch (lineEnd) {
    case LineEnd::CrLf:
      return QStringLiteral("\r\n");
    case LineEnd::Cr:
      return QStringLiteral("\r");
    case LineEnd::Lf:
      break;
  }
  return QStringLiteral("\n");
}

QString SourceText::WithLineEnd(const QString &text, LineEnd lineEnd) {
  const QString end = LineEndText(lineEnd);
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      result += end;
    } else if (text[i] == u'\n') {
      result += end;
    } else {
      result += text[i];
    }
  }
  return result;
}

QString SourceText::ToEditor(const QString &text, LineEnd lineEnd) {
  const QString end = LineEndText(lineEnd);
  QString edit;
  edit.reserve(text.size());
  // Runs of characters the edit keeps as they are are copied whole.
  qsizetype run = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    const char16_t marker = MarkerOf(c);
    if (marker == 0) continue;
    edit += QStringView(text).sliced(run, i - run);
    if (QStringView(text).sliced(i).startsWith(end)) {
      edit += u'\n';
      i += end.size() - 1;
    } else {
      edit += QChar(marker);
    }
    run = i + 1;
  }
  edit += QStringView(text).sliced(run);
  return edit;
}

QString SourceText::FromEditor(const QString &raw, LineEnd lineEnd) {
  const QString end = LineEndText(lineEnd);
  QString text;
  text.reserve(raw.size());
  qsizetype run = 0;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    const char16_t c = raw[i].unicode();
    const bool lineBreak = c == kBlockBreak || c == kLineBreak;
    // The low half of a character beyond the first plane is no marker.
    const bool paired = i > 0 && raw[i - 1].isHighSurrogate();
    const char16_t original = lineBreak || paired ? 0 : CharacterOf(c);
    if (!lineBreak && original == 0) continue;
    text += QStringView(raw).sliced(run, i - run);
    text += lineBreak ? end : QString(QChar(original));
    run = i + 1;
  }
  text += QStringView(raw).sliced(run);
  return text;
}

}  // namespace vendigo
