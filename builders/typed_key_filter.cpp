#include "builders/typed_key_filter.h"

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
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto *key = static_cast<QKeyEvent *>(event);
  const QString text = key->text();
  if (!TypesText(text)) return false;
  for (const char32_t c : text.toUcs4()) {
    if (!allowed_(c)) {
      if (onRefused_) onRefused_();
      return true;
    }
  }
  return false;
}

}  // namespace vendigo
