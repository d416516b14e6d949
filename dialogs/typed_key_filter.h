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
  // The character a typed one stands for, given the text it goes into: the target's text without
  // the selection it replaces (empty for targets that are no line edit).
  using Meaning = std::function<char32_t(char32_t typed, const QString &text)>;

  // Filters the keys typed into target; the filter belongs to target. onRefused, when given, runs
  // for each refused character (for example to show a message). meaning, when given, turns each
  // typed character into the one allowed judges and the target gets.
  static TypedKeyFilter *Install(QWidget *target, Allowed allowed,
                                 std::function<void()> onRefused = {}, Meaning meaning = {});
  // The filter of price edits and price cells: digits, "." and backspace, and a "," taken as "."
  // while the text has no point.
  static TypedKeyFilter *InstallPrice(QWidget *target);
  static Meaning PriceMeaning();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  TypedKeyFilter(QWidget *target, Allowed allowed, std::function<void()> onRefused,
                 Meaning meaning);
  bool FilterComposed(QObject *watched, QEvent *event);
  std::optional<QString> Kept(QObject *watched, const QString &text) const;

  Allowed allowed_;
  std::function<void()> onRefused_;
  Meaning meaning_;
};

}  // namespace vendigo
