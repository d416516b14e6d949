#include "pageeditor/sliced_text_reader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace vendigo {

SlicedTextReader::SlicedTextReader(QTextDocument &document, JoinsLine joinsLine, QObject *parent)
    : QObject(parent), document_(document), joinsLine_(std::move(joinsLine)) {
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
  const QString text = slice.selectedText();
  // The block breaks in this slice stand just before the blocks that start after its start.
  qsizetype copied = 0;
  for (QTextBlock block = document_.findBlock(position_).next();
       block.isValid() && block.position() <= sliceEnd; block = block.next()) {
    if (!joinsLine_(block)) continue;
    const qsizetype seam = block.position() - 1 - position_;
    raw_ += QStringView(text).sliced(copied, seam - copied);
    copied = seam + 1;
  }
  raw_ += QStringView(text).sliced(copied);
  position_ = sliceEnd;
  if (position_ < end) {
    nextSlice_.start();
    return;
  }
  position_ = -1;
  emit Read(std::exchange(raw_, QString()));
}

}  // namespace vendigo
