#include "pageeditor/editor_service.h"

#include <dbus/dbus.h>
#include <QStringList>
#include <limits>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"

namespace vendigo {

EditorService::EditorService(PageEditorWindow &window, QObject *parent)
    : QObject(parent), window_(window) {}

void EditorService::KeepReading(QDBusConnection &bus) {
  // The bus daemon and libdbus refuse a message past 128 MiB anyway, and the daemon limits what it
  // queues for the editor.
  if (auto *connection = static_cast<DBusConnection *>(bus.internalPointer())) {
    dbus_connection_set_max_received_size(connection, std::numeric_limits<long>::max());
  }
}

EditorDocument *EditorService::ActiveOrError() {
  EditorDocument *document = window_.ActiveDocument();
  if (!document) sendErrorReply(kNoDocumentError, QStringLiteral("No document is open"));
  return document;
}

void EditorService::vtiBringToTop() {
  window_.BringToTop();
}

QString EditorService::vtiListOpenDocs() {
  QStringList names;
  for (const EditorDocument *document : window_.Documents()) names.append(document->ListName());
  return names.join(u'\n');
}

void EditorService::vtiInsertHTML(const QString &html) {
  EditorDocument *document = ActiveOrError();
  QString error;
  if (document && !document->InsertWithinLimit(html, &error)) {
    sendErrorReply(kTooLargeError, error);
  }
}

void EditorService::OpenDocument(const QString &path) {
  QString error;
  if (!window_.OpenDocument(path, &error)) {
    sendErrorReply(kFileError, QStringLiteral("Could not open %1: %2").arg(path, error));
  }
}

void EditorService::NewDocument() {
  window_.NewDocument();
}

QString EditorService::ActiveDocumentText() {
  const EditorDocument *document = ActiveOrError();
  return document ? document->Text() : QString();
}

void EditorService::SaveActiveDocument() {
  EditorDocument *document = ActiveOrError();
  if (!document) return;
  if (document->Path().isEmpty()) {
    sendErrorReply(kFileError, QStringLiteral("%1 has no file yet").arg(document->Title()));
    return;
  }
  QString error;
  if (!document->SaveAs(document->Path(), &error)) {
    sendErrorReply(kFileError,
                   QStringLiteral("Could not save %1: %2").arg(document->Path(), error));
  }
}

void EditorService::CloseActiveDocument() {
  EditorDocument *document = ActiveOrError();
  if (!document) return;
  if (document->IsModified()) {
    sendErrorReply(kModifiedError,
                   QStringLiteral("%1 has changes that are not saved").arg(document->Title()));
    return;
  }
  window_.CloseDocument(document);
}

}  // namespace vendigo
