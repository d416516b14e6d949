#pragma once

#include <QObject>
#include <QString>

class QFontMetrics;

namespace vendigo {

// Keeps every control's hint on screen for a set time, whatever the length of its text, in every
// window of the application, and breaks a long hint into lines of a readable width. It watches the
// application for as long as it lives.
class HintTiming : public QObject {
  Q_OBJECT

 public:
  // The widest line of a hint, in average characters of the hint font.
  static constexpr int kHintCharacters = 50;

  HintTiming(int hidePauseMs, QObject *parent);

  int HidePause() const { return hidePauseMs_; }

  // text broken at blanks into lines no wider than maxWidth pixels in metrics (a longer word
  // keeps a line of its own); line breaks already in text stay.
  static QString Wrapped(const QString &text, const QFontMetrics &metrics, int maxWidth);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  int hidePauseMs_;
};

}  // namespace vendigo
