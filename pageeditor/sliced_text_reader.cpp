#include "pageeditor/sliced_text_reader.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace vendigo {

SlicedTextReader::SlicedTextReader(QTextDocument &document, QObject *parent)
    : QObject(parent), document_(document) {
  nextSlice_.setSingleShot(true);
  nextSlice_.setInterval(0);
  connect(&nextSlice_, &QTimer::timeout, this, &SlicedTextReader::ReadSlice);
  connect(&document_, &QTextDocument::contentsChange, this, [this] {
    position_ = -1;
    raw_.clear();
    nextSlice_.stop();
  });
}

void SlicedTextReader::Start() {
  raw_.clear();
  raw_.reserve(document_.characterCount());
  position_ = 0;
  ReadSlice();
}

void SlicedTextReader::ReadSlice() {
  if (position_ < 0) return;
  // The document's last character is the end of its last block, which is not text.
  const int end = document_.characterCount() - 1;
  const int sliceEnd = std::min(end, position_ + kSliceCharacters);
  QTextCursor slice(&document_);
  slice.setPosition(position_);
  slice.setPosition(sliceEnd, QTextCursor::KeepAnchor);
  raw_ += slice.selectedText();
  position_ = sliceEnd;
  if (position_ < end) {
    nextSlice_.start();
    return;
  }
  position_ = -1;
  emit Read(std::exchange(raw_, QString()));
}

}  // namespace vendigo
