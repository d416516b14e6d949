#include "pageeditor/rendered_view.h"

#include <malloc.h>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QtConcurrent>
#include <utility>

#include "pageeditor/editor_startup.h"
#include "pageeditor/external_link_page.h"
#include "pageeditor/page_around_cursor.h"
#include "pageeditor/page_folder_scheme.h"

namespace vendigo {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
// After a page this large, the C library is asked to give its freed memory back: the copies made
// on the way to the file are as large as the document, and it would keep them.
constexpr qsizetype kTrimAfterCharacters = 1024 * 1024;

constexpr char kOutdatedNotice[] =
    "This page is large, so the view is not updated as you type: it shows the page as last saved "
    "or refreshed. Press F5 to show your changes.";
constexpr char kPartNotice[] =
    "This page is large, so the view shows only the part around the cursor. Press F5 to show the "
    "part around the cursor again.";
constexpr char kOutdatedPartNotice[] =
    "This page is large, so the view shows only the part around the cursor, and it is not updated "
    "as you type: it shows that part as last saved or refreshed. Press F5 to show the part around "
    "the cursor again, with your changes.";

// Writes the page to file as UTF-8, marked as such so the engine does not guess. The error text,
// or empty.
QString WritePage(const QString &file, QString html) {
  if (html.startsWith(QChar(0xFEFF))) html.remove(0, 1);
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(kUtf8Bom) < 0 || out.write(html.toUtf8()) < 0 ||
      !out.commit()) {
    return QStringLiteral("The page cannot be shown: %1: %2").arg(file, out.errorString());
  }
  return {};
}

// Writes the page, or its part around the cursor when part is set.
RenderedView::Writing WritePageAndTrim(const QString &file, QString html,
                                       std::optional<RenderedView::Part> part) {
  const bool large = html.size() > kTrimAfterCharacters;
  bool partial = false;
  if (part) {
    QString shown = PageAroundCursor(html, part->cursor, part->size);
    partial = shown.size() < html.size();
    html = std::move(shown);
  }
  QString error = WritePage(file, std::move(html));
  if (large) malloc_trim(0);
  return {std::move(error), partial};
}

}  // namespace

RenderedView::RenderedView(QWidget *parent)
    : QWidget(parent),
      notice_(new QLabel(this)),
      blank_(new QWidget(this)),
      folder_(std::make_shared<QTemporaryDir>(TemporaryFolderTemplate())),
      host_(QUuid::createUuid().toString(QUuid::Id128)) {
  notice_->setObjectName("Notice");
  notice_->setWordWrap(true);
  notice_->setMargin(4);
  notice_->setBackgroundRole(QPalette::ToolTipBase);
  notice_->setForegroundRole(QPalette::ToolTipText);
  notice_->setAutoFillBackground(true);
  notice_->hide();
  // A blank page stands in for the engine until it starts (an empty layout would take no room).
  blank_->setBackgroundRole(QPalette::Base);
  blank_->setAutoFillBackground(true);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(notice_);
  layout->addWidget(blank_, 1);
  connect(&writing_, &QFutureWatcher<Writing>::finished, this, &RenderedView::Written);
}

RenderedView::~RenderedView() {
  // The engine answers the scripts it still has, and may end a load, while its page is destroyed:
  // that happens here, while this view is whole, and none of it reaches the view.
  alive_.reset();
  if (scheme_) scheme_->Withdraw(host_);
  if (!view_) return;
  view_->disconnect(this);
  view_->page()->disconnect(this);
  delete std::exchange(view_, nullptr);
}

QWebEnginePage *RenderedView::Page() const {
  return view_ ? view_->page() : nullptr;
}

void RenderedView::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (engineRequested_) return;
  engineRequested_ = true;
  QTimer::singleShot(0, this, &RenderedView::StartEngine);
}

void RenderedView::StartEngine() {
  view_ = new QWebEngineView(this);
  view_->setPage(new ExternalLinkPage(view_));
  scheme_ = PageFolderScheme::ForProfile(view_->page()->profile());
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  connect(view_, &QWebEngineView::loadFinished, this, &RenderedView::Loaded);
  // A page whose engine process ended answers nothing more: the last rendering is loaded again.
  connect(view_->page(), &QWebEnginePage::renderProcessTerminated, this, [this] {
    isAskingScroll_ = false;
    isLoading_ = false;
    if (written_.isEmpty()) written_ = loaded_;
    Load();
  });
  delete layout()->replaceWidget(blank_, view_);
  delete std::exchange(blank_, nullptr);
  LoadWritten();
}

void RenderedView::SetOutdated(bool outdated) {
  outdated_ = outdated;
  ShowNotice();
}

bool RenderedView::IsOutdated() const {
  return outdated_;
}

void RenderedView::ShowNotice() {
  notice_->setText(partial_    ? (outdated_ ? kOutdatedPartNotice : kPartNotice)
                   : outdated_ ? kOutdatedNotice
                               : "");
  notice_->setVisible(outdated_ || partial_);
}

void RenderedView::Render(std::function<QString()> html, const QUrl &base,
                          std::optional<Part> part) {
  waiting_ = Request{std::move(html), base, part};
  if (!isWriting_) WriteNext();
}

void RenderedView::WriteNext() {
  if (!waiting_) return;
  Request request = std::move(*waiting_);
  waiting_.reset();
  writingBase_ = request.base;
  isWriting_ = true;
  if (!folder_->isValid()) {
    writing_.setFuture(QtFuture::makeReadyFuture(
        Writing{QStringLiteral("The page cannot be shown: no temporary folder: %1")
                    .arg(folder_->errorString())}));
    return;
  }
  const QString file = folder_->filePath(QStringLiteral("page.html"));
  // The job holds the folder, so the file stays writable while this view goes away.
  writing_.setFuture(
      QtConcurrent::run([folder = folder_, file, request = std::move(request)]() mutable {
        // The function goes once called, and with it the text it holds, before the memory is
        // given back.
        QString html = std::exchange(request.html, nullptr)();
        return WritePageAndTrim(file, std::move(html), request.part);
      }));
}

void RenderedView::Written() {
  isWriting_ = false;
  const Writing written = writing_.result();
  const QString &error = written.error;
  if (error.isEmpty()) {
    partial_ = written.partial;
    ShowNotice();
    // The page is served as the document's file in its folder, so its relative addresses reach
    // the folder's pictures, styles and scripts as on the merchant's site.
    const QFileInfo document(writingBase_.toLocalFile());
    site_ = {writingBase_.isEmpty() ? QString() : document.absolutePath(),
             writingBase_.isEmpty() ? QStringLiteral("page.html") : document.fileName(),
             folder_->filePath(QStringLiteral("page.html"))};
    // A new address each time, so the engine loads the page again rather than reloading.
    written_ = PageFolderScheme::PageAddress(host_, site_);
    written_.setQuery(QString::number(++renderings_));
    LoadWritten();
  } else if (view_) {
    view_->setHtml("<p>" + error.toHtmlEscaped() + "</p>");
  } else {
    qWarning("%s", qUtf8Printable(error));
  }
  WriteNext();
}

void RenderedView::LoadWritten() {
  if (!view_ || written_.isEmpty() || isAskingScroll_) return;
  // A page still loading has no scroll position of its own: the one before it stays.
  if (isLoading_) {
    Load();
    return;
  }
  isAskingScroll_ = true;
  view_->page()->runJavaScript(QStringLiteral("[window.scrollX, window.scrollY]"),
                               [this, alive = std::weak_ptr(alive_)](const QVariant &position) {
                                 if (alive.expired()) return;
                                 isAskingScroll_ = false;
                                 const QVariantList xy = position.toList();
                                 if (xy.size() == 2) {
                                   scroll_ = QPointF(xy[0].toDouble(), xy[1].toDouble());
                                 }
                                 Load();
                               });
}

void RenderedView::Load() {
  if (written_.isEmpty()) return;
  isLoading_ = true;
  scheme_->Serve(host_, site_);
  loaded_ = std::exchange(written_, QUrl());
  view_->load(loaded_);
}

void RenderedView::Loaded(bool ok) {
  isLoading_ = false;
  if (ok && !scroll_.isNull()) {
    view_->page()->runJavaScript(
        QStringLiteral("window.scrollTo(%1, %2);").arg(scroll_.x()).arg(scroll_.y()));
  }
  emit Rendered(ok);
}

}  // namespace vendigo
