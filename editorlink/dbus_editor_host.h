#pragma once

#include <QDBusConnection>
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
// The host talks to the one editor process it was connected to (its unique bus name), as an
// automation reference does: once that editor has quit, every call fails, even when another
// editor has since taken the well-known name.
class DBusEditorHost : public EditorHost {
 public:
  static constexpr int kCallTimeoutMs = 5000;
  // Starting the editor by activation may take longer than an ordinary call.
  static constexpr int kStartTimeoutMs = 10000;

  DBusEditorHost(QDBusConnection bus, QString editorUniqueName);

  const QString &EditorUniqueName() const { return editor_; }

  void BringToTop() override;
  std::string ListOpenDocs() override;
  void InsertHTML(const std::string &html) override;

 private:
  QDBusConnection bus_;
  QString editor_;
};

// Finds the editor by its well-known name on the session bus, starting it by activation when it
// does not run, and returns a host for it. Throws AutomationFailure when there is no bus or the
// editor neither runs nor can be started. Usable as an EditorHostFactory.
std::shared_ptr<EditorHost> ConnectDBusEditorHost();

}  // namespace vendigo
