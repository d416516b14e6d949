#pragma once

#include <QObject>
#include <QProcess>

class QAction;
class QLabel;
class QMainWindow;

namespace vendigo {

class EditorPrompts;

// View > Test Cart and its toolbar button: while on, the rendered views send the orders of the
// page to vendigo-cart on 127.0.0.1 (started from beside the editor when nothing answers there),
// and the status bar says so. Off at start.
class TestCartSwitch : public QObject {
  Q_OBJECT

 public:
  TestCartSwitch(QMainWindow &window, EditorPrompts &prompts);
  ~TestCartSwitch() override;

  QAction *Action() const { return action_; }

 private:
  void Toggle(bool on);
  // True when a test cart answers on the port, after starting one when none did.
  bool EnsureCart();

  EditorPrompts &prompts_;
  QAction *action_;
  QLabel *indicator_;
  QProcess cart_;
};

}  // namespace vendigo
