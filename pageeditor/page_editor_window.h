#pragma once

#include <QByteArrayView>
#include <QList>
#include <QMainWindow>
#include <QString>

#include "pageeditor/desktop_browser.h"
#include "palette/qt_message_interface.h"

class QAction;
class QTabWidget;

namespace vendigo {

class CheckPanel;
class EditorDocument;
class EditorPrompts;
struct FileEncoding;

// The page editor's main window: open documents in tabs, the File, View and Tools menus, the
// Check panel, and the window title naming the active document.
class PageEditorWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr char kApplicationTitle[] = "Vendigo Page Editor";

  explicit PageEditorWindow(EditorPrompts &prompts, QWidget *parent = nullptr);

  // A new unsaved document ("Untitled 1", "Untitled 2", ...) holding the new page, made active.
  EditorDocument *NewDocument();
  // Opens the file in a new tab, or activates its tab when it is open already, under this name
  // or another (a symbolic or hard link to it). nullptr with error set when the file cannot be
  // read.
  EditorDocument *OpenDocument(const QString &path, QString *error);
  // A document given back from a recovery copy (EditorDocument::Recover), made active: one of a
  // file under the file's name (in the file's tab, under any name, when it is open without
  // changes), one never saved as a new untitled document.
  EditorDocument *RecoverDocument(const QString &path, QByteArrayView unsavedBytes,
                                  const FileEncoding &encoding);
  // nullptr when no document is open.
  EditorDocument *ActiveDocument() const;
  // Makes the document's tab the active one.
  void ShowDocument(EditorDocument *document);
  QList<EditorDocument *> Documents() const;

  // Saves to the document's file, asking for one when it has none. False when not saved.
  bool SaveDocument(EditorDocument *document);
  bool SaveDocumentAs(EditorDocument *document);
  // Closes the document, first asking whether to save it when it is modified. False when it
  // stays open.
  bool CloseDocument(EditorDocument *document);

  // Shows, raises and activates the window.
  void BringToTop();

 signals:
  void DocumentAdded(EditorDocument *document);
  // The document is closed by the user's will, its changes saved or given up.
  void DocumentClosed(EditorDocument *document);

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  void FileNewClick();
  void FileOpenClick();
  void FileSaveClick();
  void FileSaveAsClick();
  void FilePreviewInBrowserClick();
  void FileCloseClick();
  void FileCheckSiteClick();
  void FilePublishSiteClick();
  void AddDocument(EditorDocument *document);
  // The open document of the file at absolutePath, by its path or by the file itself; nullptr
  // when none.
  EditorDocument *DocumentOfFile(const QString &absolutePath) const;
  void UpdateState();

  EditorPrompts &prompts_;
  QTabWidget *tabs_;
  DesktopBrowser *browser_ = new DesktopBrowser(this);
  QAction *saveAction_;
  QAction *saveAsAction_;
  QAction *previewAction_;
  QAction *closeAction_;
  QAction *checkPageAction_;
  CheckPanel *checkPanel_;
  QtMessageInterface messages_;
  int untitledCount_ = 0;
};

}  // namespace vendigo
