#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace vendigo {

// Runs a key filter on every character typed into a widget, before the widget sees it, and
// discards the refused ones. Only keys that type text are filtered: editing and navigation keys
// (backspace, delete, arrows, tab, enter, escape, control shortcuts) pass, and so does text that
// arrives otherwise (pasted or dropped). Characters composed by an input method are filtered too.
class TypedKeyFilter : public QObject {
 public:
  using Allowed = std::function<bool(char32_t)>;

  // Filters the keys typed into target; the filter belongs to target. onRefused, when given, runs
  // for each refused character (for example to show a message).
  static TypedKeyFilter *Install(QWidget *target, Allowed allowed,
                                 std::function<void()> onRefused = {});

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  TypedKeyFilter(QWidget *target, Allowed allowed, std::function<void()> onRefused);
  bool FilterComposed(QObject *watched, QEvent *event);
  std::optional<QString> Kept(const QString &text) const;

  Allowed allowed_;
  std::function<void()> onRefused_;
};

}  // namespace vendigo
