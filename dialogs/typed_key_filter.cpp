#include "dialogs/typed_key_filter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <optional>
#include <utility>

#include "builders/key_filters.h"

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

TypedKeyFilter::TypedKeyFilter(QWidget *target, Allowed allowed, std::function<void()> onRefused,
                               Meaning meaning)
    : QObject(target),
      allowed_(std::move(allowed)),
      onRefused_(std::move(onRefused)),
      meaning_(std::move(meaning)) {}

TypedKeyFilter *TypedKeyFilter::Install(QWidget *target, Allowed allowed,
                                        std::function<void()> onRefused, Meaning meaning) {
  auto *filter =
      new TypedKeyFilter(target, std::move(allowed), std::move(onRefused), std::move(meaning));
  target->installEventFilter(filter);
  return filter;
}

TypedKeyFilter *TypedKeyFilter::InstallPrice(QWidget *target) {
  return Install(target, PriceKeyAllowed, {}, PriceMeaning());
}

TypedKeyFilter::Meaning TypedKeyFilter::PriceMeaning() {
  return [](char32_t typed, const QString &text) {
    return PriceKeyMeaning(typed, text.contains(u'.'));
  };
}

bool TypedKeyFilter::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::InputMethod) return FilterComposed(watched, event);
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto *key = static_cast<QKeyEvent *>(event);
  if (!TypesText(key->text())) return false;
  const std::optional<QString> kept = Kept(watched, key->text());
  if (!kept) return false;
  // A key may type more than one character; the allowed ones still reach the widget.
  if (!kept->isEmpty()) {
    QKeyEvent rest(QEvent::KeyPress, key->key(), key->modifiers(), *kept, key->isAutoRepeat(),
                   key->count());
    QCoreApplication::sendEvent(watched, &rest);
  }
  return true;
}

// The characters text stands for that are allowed, or nullopt when that is text itself. Reports
// each refused character.
std::optional<QString> TypedKeyFilter::Kept(QObject *watched, const QString &text) const {
  QString before;
  if (const auto *edit = qobject_cast<const QLineEdit *>(watched); edit && meaning_) {
    before = edit->text();
    if (edit->hasSelectedText()) before.remove(edit->selectionStart(), edit->selectedText().size());
  }
  QString kept;
  bool changed = false;
  for (const char32_t typed : text.toUcs4()) {
    const char32_t c = meaning_ ? meaning_(typed, before + kept) : typed;
    if (allowed_(c)) {
      kept += QString::fromUcs4(&c, 1);
      changed = changed || c != typed;
    } else {
      changed = true;
      if (onRefused_) onRefused_();
    }
  }
  if (!changed) return std::nullopt;
  return kept;
}

// Characters composed by an input method (dead keys, compose sequences) arrive as the commit
// text of an input method event rather than as key presses; they are typed all the same.
bool TypedKeyFilter::FilterComposed(QObject *watched, QEvent *event) {
  const auto *composed = static_cast<QInputMethodEvent *>(event);
  const std::optional<QString> kept = Kept(watched, composed->commitString());
  if (!kept) return false;
  QInputMethodEvent rest(composed->preeditString(), composed->attributes());
  rest.setCommitString(*kept, composed->replacementStart(), composed->replacementLength());
  QCoreApplication::sendEvent(watched, &rest);
  return true;
}

}  // namespace vendigo
