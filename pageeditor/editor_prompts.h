#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vendigo {

// The questions the page editor asks its user. The program asks with dialogs; tests answer
// from a script.
class EditorPrompts {
 public:
  enum class SaveAnswer { Save, Discard, Cancel };
  // Later keeps the work for the next start.
  enum class RestoreAnswer { Restore, Discard, Later };

  virtual ~EditorPrompts() = default;

  // Asked before a modified document is closed.
  virtual SaveAnswer AskSaveChanges(const QString &documentTitle) = 0;
  // Asked before the browser shows a document that is modified or was never saved, since the
  // browser reads the file. True to save it first.
  virtual bool AskSaveBeforePreview(const QString &documentTitle) = 0;
  // The files to open; empty when the user cancelled.
  virtual QStringList AskOpenPaths() = 0;
  // The file to save to, starting from suggestion; empty when the user cancelled.
  virtual QString AskSavePath(const QString &suggestion) = 0;
  // The folder to check as a site, starting from suggestion; empty when the user cancelled.
  virtual QString AskSiteFolder(const QString &suggestion) = 0;
  virtual void ShowError(const QString &text) = 0;
  // Asked when a page about to be saved refers to pictures that visitors cannot load, outside
  // its site (their addresses as the page writes them). True to copy them into the folder
  // "images" beside the page and refer to the copies.
  // The password of account (user@server) for publishing; refusedBefore when the server refused
  // the last one. nullopt when the user cancelled.
  virtual std::optional<QString> AskPassword(const QString &account, bool refusedBefore) = 0;
  virtual bool AskCopyOutsidePictures(const QString &documentTitle,
                                      const QStringList &pictures) = 0;
  // Asked at start when editors that ended without quitting left unsaved work: the documents'
  // paths, or the names of those never saved.
  virtual RestoreAnswer AskRestoreUnsavedWork(const QStringList &documents) = 0;
};

}  // namespace vendigo
