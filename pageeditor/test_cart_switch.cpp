#include "pageeditor/test_cart_switch.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTcpSocket>
#include <QToolBar>
#include <csignal>

#include "pageeditor/editor_prompts.h"
#include "pageeditor/test_cart_redirect.h"

namespace vendigo {

namespace {

bool CartAnswers() {
  QTcpSocket socket;
  socket.connectToHost("127.0.0.1", TestCartRedirect::kPort);
  return socket.waitForConnected(500);
}

}  // namespace

TestCartSwitch::TestCartSwitch(QMainWindow &window, EditorPrompts &prompts)
    : QObject(&window),
      prompts_(prompts),
      action_(new QAction("&Test Cart", this)),
      indicator_(new QLabel(&window)) {
  action_->setObjectName("ViewTestCart");
  action_->setCheckable(true);
  action_->setToolTip("Send the page's orders to the test cart on this machine");
  QMenu *view = window.menuBar()->addMenu("&View");
  view->setObjectName("ViewMenu");
  view->addAction(action_);
  QToolBar *tools = window.addToolBar("Test Cart");
  tools->setObjectName("TestCartToolBar");
  tools->addAction(action_);

  indicator_->setObjectName("TestCartIndicator");
  indicator_->setText(
      QString(" Test Cart on: orders go to http://127.0.0.1:%1/ ").arg(TestCartRedirect::kPort));
  indicator_->setStyleSheet("background-color: #f5c400; color: black; font-weight: bold");
  indicator_->hide();
  window.statusBar()->addPermanentWidget(indicator_);

  connect(action_, &QAction::toggled, this, &TestCartSwitch::Toggle);

  // The cart this editor starts ends with it: at a normal end the destructor stops it, and the
  // system stops it when the editor is killed or crashes.
  const pid_t editor = ::getpid();
  cart_.setChildProcessModifier([editor] {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != editor) ::_exit(1);  // the editor ended before the line above
  });
}

TestCartSwitch::~TestCartSwitch() {
  TestCartRedirect::SetOn(false);
  if (cart_.state() != QProcess::NotRunning) {
    cart_.kill();
    cart_.waitForFinished(3000);
  }
}

void TestCartSwitch::Toggle(bool on) {
  if (on && !EnsureCart()) {
    action_->setChecked(false);
    return;
  }
  // Every rendered view's page asks its TestCartRedirect, which reads this.
  TestCartRedirect::SetOn(on);
  indicator_->setVisible(on);
}

bool TestCartSwitch::EnsureCart() {
  if (cart_.state() == QProcess::Running || CartAnswers()) return true;
  const QString program = QDir(QCoreApplication::applicationDirPath()).filePath("vendigo-cart");
  cart_.start(program, {"--port", QString::number(TestCartRedirect::kPort)});
  if (cart_.waitForStarted(5000) && cart_.waitForReadyRead(5000)) return true;
  const QString said = QString::fromLocal8Bit(cart_.readAllStandardError()).trimmed();
  cart_.kill();
  cart_.waitForFinished(3000);
  prompts_.ShowError(QString("The test cart could not be started (%1): %2")
                         .arg(program, said.isEmpty() ? cart_.errorString() : said));
  return false;
}

}  // namespace vendigo
