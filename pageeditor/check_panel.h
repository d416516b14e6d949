#pragma once

#include <QDockWidget>
#include <QFutureWatcher>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "check/site_check.h"

class QLabel;
class QProgressDialog;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vendigo {

class EditorDocument;
class EditorPrompts;
class PageEditorWindow;

// The findings of the page check in a dock: View > Check Page checks the active document's text
// as a save would write it, File > Check Site... a folder of pages on a worker thread under a
// progress dialog. Activating a finding shows its place in the source view. Refresh checks the
// same document or folder again; a save of the checked document does too.
class CheckPanel : public QDockWidget {
  Q_OBJECT

 public:
  CheckPanel(PageEditorWindow &window, EditorPrompts &prompts);
  ~CheckPanel() override;

  // Shows the panel and checks the document, by its path when it has one.
  void CheckDocument(EditorDocument *document);
  // Shows the panel and checks the pages in folder and below as one site.
  void CheckFolder(const QString &folder);
  // Checks the document again when the panel shows its findings.
  void DocumentSaved(EditorDocument *document);

 private:
  struct SiteRun;
  struct PageOutcome {
    std::vector<CheckFinding> findings;
    std::string failure;  // why the page could not be checked
  };
  struct SiteOutcome {
    SiteCheckResult result;
    std::size_t total = 0;  // pages to check, as progress last heard
    std::string failure;
  };

  void Refresh();
  // Fills the list; files are shown (relative to the site's folder) in a site's findings.
  void ShowFindings(const std::vector<CheckFinding> &findings, const QString &summary);
  void PageFinished();
  void SiteFinished();
  void Activate(QTreeWidgetItem *item);

  PageEditorWindow &window_;
  EditorPrompts &prompts_;
  QLabel *summary_;
  QPushButton *refresh_;
  QTreeWidget *list_;
  // What the list shows: a document's findings, or a folder's when siteFolder_ is set.
  QPointer<EditorDocument> document_;
  QString documentName_;
  QString siteFolder_;
  // A check still running is outdated by the next one: the watcher forgets its future.
  QFutureWatcher<PageOutcome> pageWatcher_;
  QFutureWatcher<SiteOutcome> siteWatcher_;
  QPointer<QProgressDialog> progress_;
  std::shared_ptr<SiteRun> siteRun_;
};

}  // namespace vendigo
