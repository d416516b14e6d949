#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "core/settings.h"
#include "fragments/reprice.h"

class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QTableWidget;

namespace vendigo {

class MessageInterface;
class PageEditorWindow;

// Tools > Reprice Site...: asks for a site's folder and a price spreadsheet, finds on a worker
// thread, under a progress dialog that can cancel, every change the new prices make to the
// fragments of the site's pages, and shows them in a table with a tick each, and beside it the
// descriptions that matched nothing and the prices to check by hand. Apply makes the ticked
// changes: in the editor, as one undo step per document, for pages open there (what they hold
// now, saved or not), on disk for the others, again on a worker thread.
class RepriceDialog : public QDialog {
  Q_OBJECT

 public:
  RepriceDialog(PageEditorWindow &window, MessageInterface &messages);
  ~RepriceDialog() override;

  // Opens a new dialog over the window, window-modal.
  static void Start(PageEditorWindow &window, MessageInterface &messages);

 private:
  enum class Job { Find, Apply };
  // What the worker did.
  struct Outcome {
    Job job = Job::Find;
    SiteReprice result;
    std::string failure;
  };
  using Progress = std::function<bool(std::size_t done, std::size_t total)>;

  void FindClick();
  void ApplyClick();
  // Runs work on a worker thread under a progress dialog whose Cancel stops it; Finished takes
  // what it did.
  void RunOnWorker(Job job, const QString &label,
                   std::function<SiteReprice(const Progress &progress)> work);
  void Finished();
  void ShowChanges();
  void Applied(const SiteReprice &onDisk);

  PageEditorWindow &window_;
  MessageInterface &messages_;
  QLineEdit *folder_;
  QLineEdit *prices_;
  QTableWidget *changes_;
  QPlainTextEdit *notes_;
  QPushButton *find_;
  QPushButton *apply_;
  QPointer<QProgressDialog> progress_;
  QFutureWatcher<Outcome> watcher_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  // What the last search found, and with what.
  PriceList priceList_;
  Settings settings_;
  SiteReprice found_;
  // The part of Apply done on the window thread, told with the rest when the disk's part is done.
  std::size_t ticked_ = 0;
  std::size_t madeInEditor_ = 0;
  std::size_t pagesInEditor_ = 0;
  QStringList problems_;
};

}  // namespace vendigo
