#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vendigo {

// Up-down arrows beside an edit. Each step moves the position by one between the minimum and the
// maximum (no wrap, unless asked for) and writes it into the associated edit as a whole number.
// The edit itself accepts any typed text; a step starts from the number in the edit when it
// holds one (brought into the range), otherwise from the last position. The arrows take the
// keyboard focus in the tab order; the Up and Down keys step both there and in the edit.
class UpDownArrows : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownArrows(QWidget *parent = nullptr);

  void SetRange(int minimum, int maximum);
  void SetWrap(bool wrap) { wrap_ = wrap; }
  int Position() const { return position_; }
  // Brought into the range; written into the associated edit.
  void SetPosition(int position);
  // The edit whose text the arrows read and write.
  void Associate(QLineEdit *edit);

  void StepUp() { Step(+1); }
  void StepDown() { Step(-1); }

 signals:
  void PositionChanged(int position);

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void Step(int delta);
  void ShowPosition();

  QToolButton *up_;
  QToolButton *down_;
  QLineEdit *edit_ = nullptr;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  bool wrap_ = false;
};

}  // namespace vendigo
