#include "builders/typed_key_filter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

namespace vendigo {

namespace {

// True when the key types text: at least one character, none of them a control character.
bool TypesText(const QString &text) {
  if (text.isEmpty()) return false;
  for (const char32_t c : text.toUcs4()) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

TypedKeyFilter::TypedKeyFilter(QWidget *target, Allowed allowed, std::function<void()> onRefused)
    : QObject(target), allowed_(std::move(allowed)), onRefused_(std::move(onRefused)) {}

TypedKeyFilter *TypedKeyFilter::Install(QWidget *target, Allowed allowed,
                                        std::function<void()> onRefused) {
  auto *filter = new TypedKeyFilter(target, std::move(allowed), std::move(onRefused));
  target->installEventFilter(filter);
  return filter;
}

bool TypedKeyFilter::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::InputMethod) return FilterComposed(watched, event);
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const QString text = static_cast<QKeyEvent *>(event)->text();
  if (!TypesText(text)) return false;
  for (const char32_t c : text.toUcs4()) {
    if (!allowed_(c)) {
      if (onRefused_) onRefused_();
      return true;
    }
  }
  return false;
}

// Characters composed by an input method (dead keys, compose sequences) arrive as the commit
// text of an input method event rather than as key presses; they are typed all the same.
bool TypedKeyFilter::FilterComposed(QObject *watched, QEvent *event) {
  const auto *composed = static_cast<QInputMethodEvent *>(event);
  QString kept;
  bool refused = false;
  for (const char32_t c : composed->commitString().toUcs4()) {
    if (allowed_(c)) {
      kept += QString::fromUcs4(&c, 1);
    } else {
      refused = true;
    }
  }
  if (!refused) return false;
  if (onRefused_) onRefused_();
  QInputMethodEvent rest(composed->preeditString(), composed->attributes());
  rest.setCommitString(kept, composed->replacementStart(), composed->replacementLength());
  QCoreApplication::sendEvent(watched, &rest);
  return true;
}

}  // namespace vendigo
