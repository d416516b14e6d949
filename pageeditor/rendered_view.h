#pragma once

#include <QFutureWatcher>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "pageeditor/page_folder_scheme.h"

class QLabel;
class QTemporaryDir;
class QWebEnginePage;
class QWebEngineView;

namespace vendigo {

// A document's page as a browser shows it, form controls and all (Qt WebEngine). The window
// thread never waits for it: the page is written to a temporary file on a worker thread, and the
// engine, which renders in a process of its own, loads it from there, so pages of any size show.
// The engine reaches the page, and the files of the document's folder, only as a vendigo-page:
// site of this view's own (PageFolderScheme), never as file:// addresses.
// The engine starts once the view is first shown and the event loop runs, so the window and the
// bus service come first. A new rendering keeps the scroll position of the one before.
class RenderedView : public QWidget {
  Q_OBJECT

 public:
  explicit RenderedView(QWidget *parent = nullptr);
  ~RenderedView() override;

  // The part of a large page to lay out: about size characters around cursor, a position in
  // the page (PageAroundCursor).
  struct Part {
    qsizetype cursor = 0;
    qsizetype size = 0;
  };
  // What writing a page gives: the error text, empty when the file is written, and whether the
  // file holds only a part of the page.
  struct Writing {
    QString error;
    bool partial = false;
  };

  // Shows the page that html makes (html is called on a worker thread), or only its part around
  // the cursor when part is given; relative addresses in it resolve against base, the
  // document's file (none when empty). A newer call takes the place of one that is not written
  // yet.
  void Render(std::function<QString()> html, const QUrl &base,
              std::optional<Part> part = std::nullopt);

  // Shows or hides the line above the page that says it lacks the latest edits of a large page.
  void SetOutdated(bool outdated);
  bool IsOutdated() const;
  // True when the view shows only a part of the page (the line above it says so).
  bool IsPartial() const { return partial_; }

  // The engine's page; nullptr until the engine has started.
  QWebEnginePage *Page() const;

  // What a scroll area such as the source edit asks for, so the two start alike.
  QSize sizeHint() const override { return QSize(256, 192); }

 signals:
  // A rendering has loaded, or failed to (ok false).
  void Rendered(bool ok);

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  struct Request {
    std::function<QString()> html;
    QUrl base;
    std::optional<Part> part;
  };

  void StartEngine();
  void WriteNext();
  void Written();
  // Loads the file written last, once the scroll position of the page shown is known.
  void LoadWritten();
  void Load();
  void Loaded(bool ok);
  void ShowNotice();

  QLabel *notice_;  // says the page is outdated or only a part, when it is
  bool outdated_ = false;
  bool partial_ = false;
  QWidget *blank_;  // stands in for the engine until it starts
  std::shared_ptr<QTemporaryDir> folder_;
  QString host_;  // the view's site, a name no other page can guess
  QPointer<PageFolderScheme> scheme_;
  QUrl writingBase_;             // the document of the page being written
  PageFolderScheme::Site site_;  // the site of the page written last
  QWebEngineView *view_ = nullptr;
  bool engineRequested_ = false;
  std::optional<Request> waiting_;  // the newest page, not written yet
  QFutureWatcher<Writing> writing_;
  bool isWriting_ = false;
  QUrl written_;  // the address of the page written last, until it is loaded
  QUrl loaded_;   // the address loaded last
  int renderings_ = 0;
  bool isLoading_ = false;
  bool isAskingScroll_ = false;
  QPointF scroll_;
  // Gone once this view starts to go: the engine's callbacks hold it weakly and act only while it
  // is here. (A QPointer to the view would still be set while its children are destroyed.)
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace vendigo
