#include "palette/palette_title_bar.h"

#include <QContextMenuEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace vendigo {

PaletteTitleBar::PaletteTitleBar(QWidget *parent) : QWidget(parent) {
  setFixedHeight(kHeight);
  QFont font = this->font();
  font.setBold(true);
  font.setPixelSize(11);
  setFont(font);
}

void PaletteTitleBar::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const bool active = window()->isActiveWindow();
  QLinearGradient fill(rect().topLeft(), rect().topRight());
  fill.setColorAt(0, active ? QColor(0x0a, 0x24, 0x6a) : QColor(0x80, 0x80, 0x80));
  fill.setColorAt(1, active ? QColor(0xa6, 0xca, 0xf0) : QColor(0xc0, 0xc0, 0xc0));
  painter.fillRect(rect(), fill);
  painter.setPen(Qt::white);
  painter.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   window()->windowTitle());
}

void PaletteTitleBar::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    emit RightPressed();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    event->accept();
    QWindow *handle = window()->windowHandle();
    if (!handle || !handle->startSystemMove()) {
      dragOffset_ = window()->pos() - event->globalPosition().toPoint();
    }
    return;
  }
  QWidget::mousePressEvent(event);
}

void PaletteTitleBar::mouseMoveEvent(QMouseEvent *event) {
  if (!dragOffset_) return QWidget::mouseMoveEvent(event);
  window()->move(event->globalPosition().toPoint() + *dragOffset_);
}

void PaletteTitleBar::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) dragOffset_.reset();
  QWidget::mouseReleaseEvent(event);
}

// The right press is the roll-up; no menu comes up on the title strip.
void PaletteTitleBar::contextMenuEvent(QContextMenuEvent *event) {
  event->accept();
}

}  // namespace vendigo
