#include "palette/hint_timing.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace vendigo {

HintTiming::HintTiming(int hidePauseMs, QObject *parent)
    : QObject(parent), hidePauseMs_(hidePauseMs) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool HintTiming::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::ToolTip) return false;
  auto *widget = qobject_cast<QWidget *>(watched);
  // A control that chose its own time, or shows hints of its own making, keeps its way.
  if (!widget || widget->toolTip().isEmpty() || widget->toolTipDuration() >= 0) return false;
  const auto *help = static_cast<QHelpEvent *>(event);
  QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, hidePauseMs_);
  return true;
}

}  // namespace vendigo
