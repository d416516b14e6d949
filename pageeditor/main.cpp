// vendigo-pageeditor: a small HTML page editor that serves the editor automation interface on the
// session bus, so the palette can insert its fragments into the open document.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QMenuBar>
#include <QStringList>
#include <cstdio>

#include "dialogs/web_engine_start.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_registry.h"
#include "editorlink/editor_store_location.h"
#include "pageeditor/editor_service.h"
#include "pageeditor/editor_startup.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/qt_editor_prompts.h"
#include "pageeditor/registry_menus.h"

namespace {

void Warn(const QString &text) {
  std::fprintf(stderr, "vendigo-pageeditor: %s\n", qUtf8Printable(text));
}

}  // namespace

int main(int argc, char *argv[]) {
  using namespace vendigo;
  PrepareWebEngine("vendigo-pageeditor");
  QApplication app(argc, argv);
  QApplication::setApplicationName("vendigo-pageeditor");
  QApplication::setApplicationDisplayName(PageEditorWindow::kApplicationTitle);
  QApplication::setApplicationVersion(VENDIGO_VERSION);

  QStringList files;
  for (const QString &argument : QApplication::arguments().mid(1)) {
    files.append(QFileInfo(argument).absoluteFilePath());
  }

  QString error;
  if (!EnsureActivationFile(ActivationFilePath(), QApplication::applicationFilePath(), &error)) {
    Warn(error);
  }

  QtEditorPrompts prompts;
  PageEditorWindow window(prompts);
  prompts.SetParent(&window);
  EditorService service(window);

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    bus.registerObject(kEditorObjectPath, &service, QDBusConnection::ExportScriptableSlots);
    const auto owned =
        bus.interface()->registerService(kEditorBusName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (owned.isValid() && owned.value() == QDBusConnectionInterface::ServiceNotRegistered) {
      // Another editor runs: it opens the files, and this one is not needed.
      error.clear();
      if (HandOffToRunningEditor(bus, files, &error)) return 0;
      Warn("the running editor did not take the files: " + error);
      return 1;
    }
    if (!owned.isValid() || owned.value() != QDBusConnectionInterface::ServiceRegistered) {
      Warn("could not take the bus name " + QString::fromLatin1(kEditorBusName) + ": " +
           owned.error().message());
    }
  } else {
    Warn("no session bus, so no automation: " + bus.lastError().message());
  }

  const EditorRegistry registry(EditorRegistryFile().toStdString());
  RegistryMenus::Build(*window.menuBar(), registry, prompts);

  window.show();
  // Started without files, the editor has one new document ready for the palette's first click.
  if (files.isEmpty()) window.NewDocument();
  for (const QString &file : files) {
    if (!window.OpenDocument(file, &error)) {
      prompts.ShowError(QStringLiteral("Could not open %1: %2").arg(file, error));
    }
  }
  return QApplication::exec();
}
