#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "pageeditor/editor_prompts.h"

namespace vendigo::testing {

// The page editor's questions answered from a script; every question and error is recorded in
// the order asked. A save question is answered Cancel when the script has no answer left.
class ScriptedEditorPrompts : public EditorPrompts {
 public:
  SaveAnswer AskSaveChanges(const QString &title) override {
    asked << "save changes: " + title;
    return saveAnswers.isEmpty() ? SaveAnswer::Cancel : saveAnswers.takeFirst();
  }
  bool AskSaveBeforePreview(const QString &title) override {
    asked << "save before preview: " + title;
    return !saveAnswers.isEmpty() && saveAnswers.takeFirst() == SaveAnswer::Save;
  }
  QStringList AskOpenPaths() override {
    asked << "open";
    return openPaths;
  }
  QString AskSavePath(const QString &suggestion) override {
    asked << "save as: " + suggestion;
    return savePath;
  }
  QString AskSiteFolder(const QString &suggestion) override {
    asked << "site folder: " + suggestion;
    return siteFolder;
  }
  void ShowError(const QString &text) override { asked << "error: " + text; }
  std::optional<QString> AskPassword(const QString &account, bool refusedBefore) override {
    asked << "password for " + account + (refusedBefore ? " again" : "");
    if (passwords.isEmpty()) return std::nullopt;
    return passwords.takeFirst();
  }
  bool AskCopyOutsidePictures(const QString &title, const QStringList &pictures) override {
    asked << "copy pictures of " + title + ": " + pictures.join(", ");
    return copyPictures;
  }
  RestoreAnswer AskRestoreUnsavedWork(const QStringList &documents) override {
    asked << "restore: " + documents.join(", ");
    return restoreAnswer;
  }

  QStringList asked;
  QList<SaveAnswer> saveAnswers;
  QStringList openPaths;
  QString savePath;
  QString siteFolder;
  bool copyPictures = false;
  QStringList passwords;
  RestoreAnswer restoreAnswer = RestoreAnswer::Later;
};

}  // namespace vendigo::testing
