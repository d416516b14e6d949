#include "wizard/typed_key_filter.h"

#include <QKeyEvent>
#include <utility>

#include "builders/key_filters.h"

namespace vendigo {

TypedKeyFilter::TypedKeyFilter(KeyAllowed allowed, QObject *parent)
    : QObject(parent), allowed_(std::move(allowed)) {}

TypedKeyFilter *TypedKeyFilter::Install(QObject *target, KeyAllowed allowed) {
  auto *filter = new TypedKeyFilter(std::move(allowed), target);
  target->installEventFilter(filter);
  return filter;
}

bool TypedKeyFilter::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto *key = static_cast<QKeyEvent *>(event);
  for (const char32_t c : key->text().toUcs4()) {
    const bool control = c < 0x20 || c == 0x7f;
    if (control && c != kBackspace) continue;
    if (!allowed_(c)) return true;
  }
  return false;
}

}  // namespace vendigo
