#pragma once

#include "pageeditor/editor_prompts.h"

class QWidget;

namespace vendigo {

// The page editor's questions as modal dialogs over parent.
class QtEditorPrompts : public EditorPrompts {
 public:
  void SetParent(QWidget *parent) { parent_ = parent; }

  SaveAnswer AskSaveChanges(const QString &documentTitle) override;
  bool AskSaveBeforePreview(const QString &documentTitle) override;
  QStringList AskOpenPaths() override;
  QString AskSavePath(const QString &suggestion) override;
  QString AskSiteFolder(const QString &suggestion) override;
  void ShowError(const QString &text) override;
  std::optional<QString> AskPassword(const QString &account, bool refusedBefore) override;
  bool AskCopyOutsidePictures(const QString &documentTitle, const QStringList &pictures) override;
  RestoreAnswer AskRestoreUnsavedWork(const QStringList &documents) override;

 private:
  QWidget *parent_ = nullptr;
};

}  // namespace vendigo
