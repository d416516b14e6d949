#include "palette/hint_timing.h"

#include <QCoreApplication>
#include <QFontMetrics>
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
  const QFontMetrics metrics(QToolTip::font());
  QToolTip::showText(
      help->globalPos(),
      Wrapped(widget->toolTip(), metrics, kHintCharacters * metrics.averageCharWidth()), widget, {},
      hidePauseMs_);
  return true;
}

QString HintTiming::Wrapped(const QString &text, const QFontMetrics &metrics, int maxWidth) {
  QStringList lines;
  for (const QString &paragraph : text.split(u'\n')) {
    QString line;
    bool started = false;
    for (const QString &word : paragraph.split(u' ')) {
      const QString longer = started ? line + u' ' + word : word;
      if (started && metrics.horizontalAdvance(longer) > maxWidth) {
        lines << line;
        line = word;
      } else {
        line = longer;
      }
      started = true;
    }
    lines << line;
  }
  return lines.join(u'\n');
}

}  // namespace vendigo
