#include "dialogs/up_down_arrows.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vendigo {

namespace {

QToolButton *ArrowButton(Qt::ArrowType arrow, const char *name, QWidget *parent) {
  auto *button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedSize(16, 11);
  return button;
}

}  // namespace

UpDownArrows::UpDownArrows(QWidget *parent)
    : QWidget(parent),
      up_(ArrowButton(Qt::UpArrow, "up", this)),
      down_(ArrowButton(Qt::DownArrow, "down", this)) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFocusPolicy(Qt::StrongFocus);
  connect(up_, &QToolButton::clicked, this, &UpDownArrows::StepUp);
  connect(down_, &QToolButton::clicked, this, &UpDownArrows::StepDown);
}

void UpDownArrows::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetPosition(position_);
}

void UpDownArrows::SetPosition(int position) {
  const int clamped = std::clamp(position, minimum_, maximum_);
  const bool changed = clamped != position_;
  position_ = clamped;
  ShowPosition();
  if (changed) emit PositionChanged(position_);
}

void UpDownArrows::Associate(QLineEdit *edit) {
  if (edit_) edit_->removeEventFilter(this);
  edit_ = edit;
  if (edit_) {
    edit_->installEventFilter(this);
    ShowPosition();
  }
}

void UpDownArrows::ShowPosition() {
  if (edit_) edit_->setText(QString::number(position_));
}

void UpDownArrows::Step(int delta) {
  int from = position_;
  if (edit_) {
    bool isNumber = false;
    const qlonglong typed = edit_->text().trimmed().toLongLong(&isNumber);
    if (isNumber) from = static_cast<int>(std::clamp<qlonglong>(typed, minimum_, maximum_));
  }
  int next = from + delta;
  if (next > maximum_) next = wrap_ ? minimum_ : maximum_;
  if (next < minimum_) next = wrap_ ? maximum_ : minimum_;
  const bool changed = next != position_;
  position_ = next;
  ShowPosition();
  if (changed) emit PositionChanged(position_);
}

void UpDownArrows::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Up) {
    StepUp();
  } else if (event->key() == Qt::Key_Down) {
    StepDown();
  } else {
    QWidget::keyPressEvent(event);
  }
}

bool UpDownArrows::eventFilter(QObject *watched, QEvent *event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? +1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vendigo
