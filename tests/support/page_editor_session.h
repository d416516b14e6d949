#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vendigo::testing {

// A real vendigo-pageeditor for end-to-end tests, on the offscreen platform and the session bus
// of the test (run the test under dbus-run-session, see vendigo_dbus_test). Its configuration,
// data and state folders (XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME) are in a temporary
// folder of its own, so it neither reads nor writes anything of the real user. The editor is
// stopped when the session goes.
//
//   PageEditorSession editor;
//   QVERIFY2(editor.Start(), qPrintable(editor.LastError()));
//   QVERIFY(editor.NewDocument());
//   ... EditorLink link(messages, ConnectDBusEditorHost); link.Connect(); ...
//   QCOMPARE(editor.ActiveDocumentText(), QString("<b>x</b>"));
class PageEditorSession {
 public:
  static constexpr int kStartTimeoutMs = 20000;

  // dataHome, when given, is the editor's XDG_DATA_HOME instead of a temporary one; its
  // activation file is written there (dbus-1/services/FrontPage.Editor.service).
  explicit PageEditorSession(QString dataHome = {});
  ~PageEditorSession();
  PageEditorSession(const PageEditorSession &) = delete;
  PageEditorSession &operator=(const PageEditorSession &) = delete;

  // The program started: $VENDIGO_PAGEEDITOR, or the one this test was built with.
  static QString Program();

  // The editor's XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_STATE_HOME.
  QString ConfigHome() const { return home_.filePath("config"); }
  QString DataHome() const { return dataHome_; }
  QString StateHome() const { return home_.filePath("state"); }
  // The menu store the editor reads at start: write it before Start.
  QString RegistryFile() const;
  // A folder for the test's own files, removed with the session.
  QString FilesFolder() const { return home_.filePath("files"); }

  // Starts the editor with arguments (files to open) and waits until this very process owns
  // FrontPage.Editor on the session bus. False, with LastError, when it does not.
  bool Start(const QStringList &arguments = {});
  bool IsRunning() const { return process_.state() != QProcess::NotRunning; }
  qint64 ProcessId() const { return process_.processId(); }
  // Ends the editor at once (as when it is killed or closed) and waits until the bus has seen
  // it go. True when it is gone.
  bool Quit();

  // Calls on the running editor; false or an empty text, with LastError, when the call fails.
  bool NewDocument();
  bool OpenDocument(const QString &path);
  bool SaveActiveDocument();
  bool CloseActiveDocument();
  QString ActiveDocumentText();
  QString ListOpenDocs();
  const QString &LastError() const { return lastError_; }

  // Writes bytes to a new file in FilesFolder and returns its path.
  QString WriteFile(const QString &name, const QByteArray &bytes);

 private:
  bool Call(const QString &method, const QVariantList &arguments, QVariant *answer = nullptr);

  QTemporaryDir home_;
  QString dataHome_;
  QProcess process_;
  QDBusConnection bus_;
  QString lastError_;
};

// True once nobody owns name on the session bus, waiting up to timeoutMs.
bool WaitUntilNameIsFree(QDBusConnection &bus, const QString &name, int timeoutMs = 10000);

}  // namespace vendigo::testing
