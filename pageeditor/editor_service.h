#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>

namespace vendigo {

class EditorDocument;
class PageEditorWindow;

// The editor's automation interface on the session bus (FrontPage.Editor at /Editor): the
// three calls the palette makes, and a few more for scripts and tests. Failures are error
// replies.
class EditorService : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "FrontPage.Editor")

 public:
  static constexpr char kNoDocumentError[] = "FrontPage.Editor.Error.NoDocument";
  static constexpr char kFileError[] = "FrontPage.Editor.Error.File";
  static constexpr char kModifiedError[] = "FrontPage.Editor.Error.Modified";
  static constexpr char kTooLargeError[] = "FrontPage.Editor.Error.TooLarge";

  explicit EditorService(PageEditorWindow &window, QObject *parent = nullptr);

  // Keeps the connection reading calls, however large. libdbus stops reading a connection while
  // the messages it has read and not yet freed pass 63 MiB, and goes on once they are freed; but
  // QtDBus frees a call's message in the window thread, from where it cannot turn reading back
  // on ("Socket notifiers cannot be enabled or disabled from another thread"). One call that
  // large, or many waiting calls, would leave the editor deaf to every later call.
  static void KeepReading(QDBusConnection &bus);

 public slots:
  Q_SCRIPTABLE void vtiBringToTop();
  // The open documents, one per line: the path, or the title of an unsaved one.
  Q_SCRIPTABLE QString vtiListOpenDocs();
  // Inserts html at the cursor of the active document.
  Q_SCRIPTABLE void vtiInsertHTML(const QString &html);

  Q_SCRIPTABLE void OpenDocument(const QString &path);
  Q_SCRIPTABLE void NewDocument();
  Q_SCRIPTABLE QString ActiveDocumentText();
  // Saves the active document to its file; an unsaved document has none, which is an error.
  Q_SCRIPTABLE void SaveActiveDocument();
  // Closes the active document; one with unsaved changes is refused, so nothing is lost.
  Q_SCRIPTABLE void CloseActiveDocument();

 private:
  // The active document, or nullptr after an error reply.
  EditorDocument *ActiveOrError();

  PageEditorWindow &window_;
};

}  // namespace vendigo
