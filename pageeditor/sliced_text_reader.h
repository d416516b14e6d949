#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QTextBlock;
class QTextDocument;

namespace vendigo {

// Reads a text document's raw text (as QTextDocument::toRawText gives it) a slice at a time
// between the window thread's other events, so that reading a large document never holds up the
// window: a bus call waits for one slice at most. A change to the document abandons the reading.
// Blocks that only continue the line before them (joinsLine says which) are rows of one line:
// the reading leaves out the block breaks before them, so the text has the document's lines.
class SlicedTextReader : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSliceCharacters = 64 * 1024;

  using JoinsLine = std::function<bool(const QTextBlock &)>;

  SlicedTextReader(QTextDocument &document, JoinsLine joinsLine, QObject *parent = nullptr);

  // Starts reading from the beginning; a reading under way starts over.
  void Start();
  bool IsReading() const { return position_ >= 0; }

 signals:
  void Read(const QString &raw);

 private:
  void ReadSlice();

  QTextDocument &document_;
  JoinsLine joinsLine_;
  QTimer nextSlice_;
  QString raw_;
  int position_ = -1;  // where the next slice starts; -1 when not reading
};

}  // namespace vendigo
