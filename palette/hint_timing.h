#pragma once

#include <QObject>

namespace vendigo {

// Keeps every control's hint on screen for a set time, whatever the length of its text, in every
// window of the application. It watches the application for as long as it lives.
class HintTiming : public QObject {
  Q_OBJECT

 public:
  HintTiming(int hidePauseMs, QObject *parent);

  int HidePause() const { return hidePauseMs_; }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  int hidePauseMs_;
};

}  // namespace vendigo
