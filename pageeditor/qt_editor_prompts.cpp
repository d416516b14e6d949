#include "pageeditor/qt_editor_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace vendigo {
namespace {

const QString kHtmlFilter = QStringLiteral("HTML pages (*.html *.htm);;All files (*)");

}  // namespace

EditorPrompts::SaveAnswer QtEditorPrompts::AskSaveChanges(const QString &documentTitle) {
  const auto button = QMessageBox::warning(
      parent_, QApplication::applicationDisplayName(),
      QStringLiteral("Save the changes to %1?").arg(documentTitle),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (button == QMessageBox::Save) return SaveAnswer::Save;
  if (button == QMessageBox::Discard) return SaveAnswer::Discard;
  return SaveAnswer::Cancel;
}

bool QtEditorPrompts::AskSaveBeforePreview(const QString &documentTitle) {
  return QMessageBox::question(
             parent_, QApplication::applicationDisplayName(),
             QStringLiteral("The browser shows the saved file. Save %1 first?").arg(documentTitle),
             QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save) == QMessageBox::Save;
}

QStringList QtEditorPrompts::AskOpenPaths() {
  return QFileDialog::getOpenFileNames(parent_, QStringLiteral("Open"), QString(), kHtmlFilter);
}

QString QtEditorPrompts::AskSavePath(const QString &suggestion) {
  return QFileDialog::getSaveFileName(parent_, QStringLiteral("Save As"), suggestion, kHtmlFilter);
}

QString QtEditorPrompts::AskSiteFolder(const QString &suggestion) {
  return QFileDialog::getExistingDirectory(parent_, QStringLiteral("Check Site"), suggestion);
}

void QtEditorPrompts::ShowError(const QString &text) {
  QMessageBox::warning(parent_, QApplication::applicationDisplayName(), text);
}

std::optional<QString> QtEditorPrompts::AskPassword(const QString &account, bool refusedBefore) {
  bool given = false;
  const QString password = QInputDialog::getText(
      parent_, QStringLiteral("Publish Site"),
      (refusedBefore ? QStringLiteral("The server refused the password. ") : QString()) +
          QStringLiteral("Password for %1:").arg(account),
      QLineEdit::Password, QString(), &given);
  if (!given) return std::nullopt;
  return password;
}

bool QtEditorPrompts::AskCopyOutsidePictures(const QString &documentTitle,
                                             const QStringList &pictures) {
  return QMessageBox::question(
             parent_, QApplication::applicationDisplayName(),
             QStringLiteral("%1 refers to pictures outside its site, which visitors cannot "
                            "load:\n\n%2\n\nCopy them into the folder \"images\" beside the "
                            "page and refer to the copies?")
                 .arg(documentTitle, pictures.join(u'\n')),
             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

EditorPrompts::RestoreAnswer QtEditorPrompts::AskRestoreUnsavedWork(const QStringList &documents) {
  const auto button = QMessageBox::question(
      parent_, QApplication::applicationDisplayName(),
      QStringLiteral("Restore the unsaved work of an editor that ended unexpectedly?\n\n%1\n\n"
                     "Discard deletes it; Cancel keeps it for the next start.")
          .arg(documents.join(u'\n')),
      QMessageBox::Yes | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return RestoreAnswer::Restore;
  if (button == QMessageBox::Discard) return RestoreAnswer::Discard;
  // Cancel, or the box went because the editor is ending.
  return RestoreAnswer::Later;
}

}  // namespace vendigo
