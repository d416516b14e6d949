#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <memory>
#include <string>

#include "editorlink/editor_host.h"

namespace vendigo {

// Where the page editor serves its automation interface on the session bus.
inline constexpr char kEditorBusName[] = "FrontPage.Editor";
inline constexpr char kEditorObjectPath[] = "/Editor";
inline constexpr char kEditorInterface[] = "FrontPage.Editor";

// The page editor reached over the session bus. Calls are made by method name and block until
// the editor answers; no bus, an error reply or no answer within kCallTimeoutMs throws
// AutomationFailure.
//
// Every call goes to the name the host was given, and first starts the editor by activation when
// nobody owns that name: an editor closed after the palette connected comes back with a new
// document instead of losing the palette's work. Only an editor that cannot be started fails.
class DBusEditorHost : public EditorHost {
 public:
  static constexpr int kCallTimeoutMs = 5000;
  // Starting the editor by activation may take longer than an ordinary call.
  static constexpr int kStartTimeoutMs = 10000;

  DBusEditorHost(QDBusConnection bus, QString editorBusName);

  void BringToTop() override;
  std::string ListOpenDocs() override;
  void InsertHTML(const std::string &html) override;

 private:
  QDBusMessage EditorCall(const char *method, const QList<QVariant> &arguments = {});

  QDBusConnection bus_;
  QString editor_;
};

// A host for the editor's well-known name on the session bus, with the editor running: started by
// activation when it was not. Throws AutomationFailure when there is no bus or the editor neither
// runs nor can be started. Usable as an EditorHostFactory.
std::shared_ptr<EditorHost> ConnectDBusEditorHost();

}  // namespace vendigo
