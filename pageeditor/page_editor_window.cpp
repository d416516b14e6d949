#include "pageeditor/page_editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <filesystem>
#include <system_error>

#include "pageeditor/catalogue_dialog.h"
#include "pageeditor/check_panel.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/editor_prompts.h"
#include "pageeditor/reprice_dialog.h"
#include "pageeditor/fragment_editing.h"
#include "pageeditor/outside_picture_offer.h"
#include "pageeditor/publish_dialog.h"
#include "pageeditor/test_cart_switch.h"

namespace vendigo {

PageEditorWindow::PageEditorWindow(EditorPrompts &prompts, QWidget *parent)
    : QMainWindow(parent), prompts_(prompts), tabs_(new QTabWidget(this)) {
  setObjectName("PageEditorWindow");
  tabs_->setObjectName("Documents");
  tabs_->setTabsClosable(true);
  tabs_->setDocumentMode(true);
  setCentralWidget(tabs_);
  statusBar();
  resize(1000, 700);

  QMenu *file = menuBar()->addMenu("&File");
  file->setObjectName("FileMenu");
  const auto addAction = [&](const char *name, const QString &text, QKeySequence keys,
                             void (PageEditorWindow::*handler)()) {
    QAction *action = file->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  addAction("FileNew", "&New", QKeySequence::New, &PageEditorWindow::FileNewClick);
  addAction("FileOpen", "&Open...", QKeySequence::Open, &PageEditorWindow::FileOpenClick);
  saveAction_ =
      addAction("FileSave", "&Save", QKeySequence::Save, &PageEditorWindow::FileSaveClick);
  saveAsAction_ = addAction("FileSaveAs", "Save &As...", QKeySequence::SaveAs,
                            &PageEditorWindow::FileSaveAsClick);
  previewAction_ = addAction("FilePreviewInBrowser", "Preview in &Browser", QKeySequence(),
                             &PageEditorWindow::FilePreviewInBrowserClick);
  closeAction_ =
      addAction("FileClose", "&Close", QKeySequence::Close, &PageEditorWindow::FileCloseClick);
  QAction *catalogue = file->addAction("Build &Catalogue...");
  catalogue->setObjectName("FileBuildCatalogue");
  connect(catalogue, &QAction::triggered, this, [this] {
    CatalogueDialog::Start(this, [this](const QString &index) {
      // An index open from an earlier build is read again unless it has changes.
      QString error;
      EditorDocument *document = OpenDocument(index, &error);
      if (document && !document->IsModified()) document->Load(index, &error);
      if (!document) prompts_.ShowError("Could not open " + index + ": " + error);
    });
  });
  QAction *checkSite = file->addAction("Check &Site...");
  checkSite->setObjectName("FileCheckSite");
  connect(checkSite, &QAction::triggered, this, &PageEditorWindow::FileCheckSiteClick);
  QAction *publishSite = file->addAction("P&ublish Site...");
  publishSite->setObjectName("FilePublishSite");
  connect(publishSite, &QAction::triggered, this, &PageEditorWindow::FilePublishSiteClick);
  file->addSeparator();
  QAction *quit = file->addAction("E&xit");
  quit->setObjectName("FileExit");
  quit->setShortcut(QKeySequence::Quit);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu *edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("EditMenu");
  new FragmentEditing(*this, prompts_, edit);

  new TestCartSwitch(*this, prompts_);
  // A large page is not rendered as it is typed: F5 renders the active document's page now.
  QMenu *view = menuBar()->findChild<QMenu *>("ViewMenu");
  if (!view) view = menuBar()->addMenu("&View");
  QAction *refresh = view->addAction("&Refresh Page");
  refresh->setObjectName("ViewRefreshPage");
  refresh->setShortcut(Qt::Key_F5);
  connect(refresh, &QAction::triggered, this, [this] {
    if (EditorDocument *document = ActiveDocument()) document->RefreshRendered();
  });
  checkPanel_ = new CheckPanel(*this, prompts_);
  checkPageAction_ = view->addAction("&Check Page");
  checkPageAction_->setObjectName("ViewCheckPage");
  connect(checkPageAction_, &QAction::triggered, this,
          [this] { checkPanel_->CheckDocument(ActiveDocument()); });

  QMenu *tools = menuBar()->findChild<QMenu *>("ToolsMenu");
  if (!tools) {
    tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("ToolsMenu");
  }
  QAction *reprice = tools->addAction("&Reprice Site...");
  reprice->setObjectName("ToolsRepriceSite");
  connect(reprice, &QAction::triggered, this, [this] { RepriceDialog::Start(*this, messages_); });

  connect(tabs_, &QTabWidget::currentChanged, this, &PageEditorWindow::UpdateState);
  connect(tabs_, &QTabWidget::tabCloseRequested, this, [this](int index) {
    CloseDocument(qobject_cast<EditorDocument *>(tabs_->widget(index)));
  });
  UpdateState();
}

EditorDocument *PageEditorWindow::NewDocument() {
  auto *document = new EditorDocument(QStringLiteral("Untitled %1").arg(++untitledCount_));
  document->StartNewPage();
  AddDocument(document);
  return document;
}

EditorDocument *PageEditorWindow::RecoverDocument(const QString &path, QByteArrayView unsavedBytes,
                                                  const FileEncoding &encoding) {
  const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
  if (EditorDocument *open = DocumentOfFile(absolute); open && !open->IsModified()) {
    open->Recover(open->Path(), unsavedBytes, encoding);
    tabs_->setCurrentWidget(open);
    return open;
  }
  auto *document = new EditorDocument(
      path.isEmpty() ? QStringLiteral("Untitled %1").arg(++untitledCount_) : QString());
  document->Recover(absolute, unsavedBytes, encoding);
  AddDocument(document);
  return document;
}

EditorDocument *PageEditorWindow::OpenDocument(const QString &path, QString *error) {
  // No name names no file (and would find an untitled document).
  if (path.isEmpty()) {
    *error = QStringLiteral("No file name given");
    return nullptr;
  }
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (EditorDocument *open = DocumentOfFile(absolute)) {
    tabs_->setCurrentWidget(open);
    return open;
  }
  auto *document = new EditorDocument(QString());
  if (!document->Load(absolute, error)) {
    delete document;
    return nullptr;
  }
  AddDocument(document);
  return document;
}

EditorDocument *PageEditorWindow::DocumentOfFile(const QString &absolutePath) const {
  if (absolutePath.isEmpty()) return nullptr;
  const QList<EditorDocument *> documents = Documents();
  for (EditorDocument *document : documents) {
    if (document->Path() == absolutePath) return document;
  }
  // The same device and inode: false for a path that names no file.
  const std::filesystem::path wanted(QFile::encodeName(absolutePath).toStdString());
  for (EditorDocument *document : documents) {
    std::error_code error;
    if (!document->Path().isEmpty() &&
        std::filesystem::equivalent(QFile::encodeName(document->Path()).toStdString(), wanted,
                                    error)) {
      return document;
    }
  }
  return nullptr;
}

void PageEditorWindow::AddDocument(EditorDocument *document) {
  connect(document, &EditorDocument::StateChanged, this, &PageEditorWindow::UpdateState);
  connect(document, &EditorDocument::Saved, checkPanel_,
          [this, document] { checkPanel_->DocumentSaved(document); });
  tabs_->setCurrentIndex(tabs_->addTab(document, document->Title()));
  document->setFocus();
  UpdateState();
  emit DocumentAdded(document);
}

EditorDocument *PageEditorWindow::ActiveDocument() const {
  return qobject_cast<EditorDocument *>(tabs_->currentWidget());
}

void PageEditorWindow::ShowDocument(EditorDocument *document) {
  tabs_->setCurrentWidget(document);
}

QList<EditorDocument *> PageEditorWindow::Documents() const {
  QList<EditorDocument *> documents;
  for (int i = 0; i < tabs_->count(); ++i) {
    documents.append(qobject_cast<EditorDocument *>(tabs_->widget(i)));
  }
  return documents;
}

bool PageEditorWindow::SaveDocument(EditorDocument *document) {
  if (document->Path().isEmpty()) return SaveDocumentAs(document);
  OfferToBringPicturesIn(*document, document->Path(), prompts_);
  QString error;
  if (document->SaveAs(document->Path(), &error)) return true;
  prompts_.ShowError(QStringLiteral("Could not save %1: %2").arg(document->Path(), error));
  return false;
}

bool PageEditorWindow::SaveDocumentAs(EditorDocument *document) {
  const QString suggestion =
      document->Path().isEmpty() ? document->Title() + ".html" : document->Path();
  const QString path = prompts_.AskSavePath(suggestion);
  if (path.isEmpty()) return false;
  OfferToBringPicturesIn(*document, path, prompts_);
  QString error;
  if (document->SaveAs(path, &error)) return true;
  prompts_.ShowError(QStringLiteral("Could not save %1: %2").arg(path, error));
  return false;
}

bool PageEditorWindow::CloseDocument(EditorDocument *document) {
  if (!document) return false;
  if (document->IsModified()) {
    tabs_->setCurrentWidget(document);
    switch (prompts_.AskSaveChanges(document->Title())) {
      case EditorPrompts::SaveAnswer::Save:
        if (!SaveDocument(document)) return false;
        break;
      case EditorPrompts::SaveAnswer::Discard:
        break;
      case EditorPrompts::SaveAnswer::Cancel:
        return false;
    }
  }
  tabs_->removeTab(tabs_->indexOf(document));
  emit DocumentClosed(document);
  document->deleteLater();
  UpdateState();
  return true;
}

void PageEditorWindow::BringToTop() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void PageEditorWindow::closeEvent(QCloseEvent *event) {
  for (EditorDocument *document : Documents()) {
    if (!CloseDocument(document)) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void PageEditorWindow::FileNewClick() {
  NewDocument();
}

void PageEditorWindow::FileOpenClick() {
  for (const QString &path : prompts_.AskOpenPaths()) {
    QString error;
    if (!OpenDocument(path, &error)) {
      prompts_.ShowError(QStringLiteral("Could not open %1: %2").arg(path, error));
    }
  }
}

void PageEditorWindow::FileSaveClick() {
  if (EditorDocument *document = ActiveDocument()) SaveDocument(document);
}

void PageEditorWindow::FileSaveAsClick() {
  if (EditorDocument *document = ActiveDocument()) SaveDocumentAs(document);
}

void PageEditorWindow::FilePreviewInBrowserClick() {
  EditorDocument *document = ActiveDocument();
  if (!document) return;
  if (document->IsModified() || document->Path().isEmpty()) {
    if (!prompts_.AskSaveBeforePreview(document->Title()) || !SaveDocument(document)) return;
  }
  browser_->Open(document->Path(), [this, path = document->Path()](const QString &reason) {
    prompts_.ShowError(QStringLiteral("Could not open %1 in the browser: %2").arg(path, reason));
  });
}

void PageEditorWindow::FileCloseClick() {
  CloseDocument(ActiveDocument());
}

void PageEditorWindow::FileCheckSiteClick() {
  const EditorDocument *document = ActiveDocument();
  const QString suggestion =
      document && !document->Path().isEmpty() ? QFileInfo(document->Path()).path() : QString();
  const QString folder = prompts_.AskSiteFolder(suggestion);
  if (!folder.isEmpty()) checkPanel_->CheckFolder(folder);
}

void PageEditorWindow::FilePublishSiteClick() {
  const EditorDocument *document = ActiveDocument();
  QString folder =
      document && !document->Path().isEmpty() ? SiteFolderOfPage(document->Path()) : QString();
  if (folder.isEmpty()) folder = prompts_.AskSiteFolder(QString());
  if (folder.isEmpty()) return;
  PublishDialog dialog(
      folder, messages_, prompts_, [this](const QString &site) { checkPanel_->CheckFolder(site); },
      this);
  dialog.exec();
}

void PageEditorWindow::UpdateState() {
  for (int i = 0; i < tabs_->count(); ++i) {
    const auto *document = qobject_cast<EditorDocument *>(tabs_->widget(i));
    // A tab takes "&" as the mark of its shortcut letter; a file name's "&" is shown as it is.
    QString text = document->Title() + (document->IsModified() ? "*" : "");
    tabs_->setTabText(i, text.replace('&', "&&"));
    tabs_->setTabToolTip(i, document->ListName());
  }
  const EditorDocument *active = ActiveDocument();
  saveAction_->setEnabled(active);
  saveAsAction_->setEnabled(active);
  previewAction_->setEnabled(active);
  closeAction_->setEnabled(active);
  checkPageAction_->setEnabled(active);
  if (!active) {
    setWindowTitle(kApplicationTitle);
    setWindowModified(false);
    return;
  }
  setWindowTitle(active->Title() + "[*] - " + kApplicationTitle);
  setWindowModified(active->IsModified());
}

}  // namespace vendigo
