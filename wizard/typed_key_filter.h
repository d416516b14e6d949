#pragma once

#include <QObject>
#include <functional>

namespace vendigo {

// Refuses typed characters before the control sees them. Installed as an event filter on an edit,
// it swallows every key press whose text holds a printable character that `allowed` refuses;
// backspace goes to `allowed` too. Keys without text (arrows, Delete) and the other control
// characters (Tab, Return, Escape, Ctrl shortcuts) always pass, so moving, editing and the
// dialog's keys keep working. Text that reaches the control otherwise (pasted) is not seen here.
class TypedKeyFilter : public QObject {
  Q_OBJECT

 public:
  using KeyAllowed = std::function<bool(char32_t key)>;

  TypedKeyFilter(KeyAllowed allowed, QObject *parent);

  // Installs a new filter, owned by the widget, on the widget.
  static TypedKeyFilter *Install(QObject *target, KeyAllowed allowed);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  KeyAllowed allowed_;
};

}  // namespace vendigo
