#include "app/qt_message_interface.h"

#include <QApplication>
#include <QMessageBox>

namespace vendigo {

namespace {

QString Title() { return QApplication::applicationName(); }

}  // namespace

void QtMessageInterface::ShowMessage(const std::string &text) {
  QMessageBox::information(QApplication::activeWindow(), Title(), QString::fromStdString(text));
}

bool QtMessageInterface::AskYesNo(const std::string &text) {
  return QMessageBox::question(QApplication::activeWindow(), Title(),
                               QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageInterface::EndProgram() {
  endRequested_ = true;
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace vendigo
