#include "palette/qt_message_interface.h"

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

// A modal box over the active window. With none active it stays on top by itself, so the
// always-on-top palette cannot hide it.
QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString &title,
                                const std::string &text, QMessageBox::StandardButtons buttons) {
  QWidget *parent = QApplication::activeWindow();
  QMessageBox box(icon, title, DisplayText(text), buttons, parent);
  if (!parent) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtMessageInterface::ShowMessage(const std::string &text) {
  Ask(QMessageBox::Information, Title(), text, QMessageBox::Ok);
}

void QtMessageInterface::ShowError(const std::string &text) {
  Ask(QMessageBox::Warning, Title(), text, QMessageBox::Ok);
}

bool QtMessageInterface::AskYesNo(const std::string &text) {
  // Every question the program asks is a confirmation.
  return Ask(QMessageBox::Question, QStringLiteral("Confirm"), text,
             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageInterface::EndProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace vendigo
