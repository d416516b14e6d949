#include "app/qt_message_interface.h"

#include <QApplication>
#include <QMessageBox>

namespace vendigo {

namespace {

QString Title() {
  return QApplication::applicationName();
}

// Messages separate lines with CR, CR LF or LF; a message box breaks lines only at LF.
QString DisplayText(const std::string &text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

}  // namespace

void QtMessageInterface::ShowMessage(const std::string &text) {
  QMessageBox::information(QApplication::activeWindow(), Title(), DisplayText(text));
}

bool QtMessageInterface::AskYesNo(const std::string &text) {
  // Every question the program asks is a confirmation.
  return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Confirm"),
                               DisplayText(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageInterface::EndProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace vendigo
