// vendigo-pageeditor: a small HTML page editor that serves the editor automation interface on the
// session bus, so the palette can insert its fragments into the open document.
#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QMenuBar>
#include <QPointer>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "dialogs/web_engine_start.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_registry.h"
#include "editorlink/editor_store_location.h"
#include "pageeditor/document_recovery.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/editor_service.h"
#include "pageeditor/editor_startup.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/qt_editor_prompts.h"
#include "pageeditor/registry_menus.h"
#include "pageeditor/unix_signal_notifier.h"

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
  // A signal to end waits for the event loop, which ends the editor as Quit does, minus the
  // questions: the unsaved work stays in its recovery copies.
  UnixSignalNotifier endSignals({SIGTERM, SIGHUP});

  QCommandLineParser parser;
  parser.setApplicationDescription("A small HTML page editor that Vendigo inserts into.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption restore(
      "restore", "Restore the unsaved work of editors that ended unexpectedly without asking.");
  parser.addOption(restore);
  parser.addPositionalArgument("files", "The HTML files to open.", "[FILE...]");
  parser.process(app);
  QStringList files;
  for (const QString &argument : parser.positionalArguments()) {
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
    EditorService::KeepReading(bus);
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

  RemoveTemporaryFoldersOfEndedEditors();
  std::string reason;
  std::unique_ptr<RecoveryStore> store =
      RecoveryStore::Open(RecoveryFolderPath(), ::getpid(), reason);
  if (!store) {
    Warn("unsaved work cannot be kept for after a crash: " + QString::fromStdString(reason));
  }
  const auto recovery =
      store ? std::make_unique<DocumentRecovery>(window, std::move(store)) : nullptr;
  bool ending = false;
  const auto keepUnsavedWork = [&recovery] {
    if (recovery) recovery->WriteWaitingCopies();
  };
  QObject::connect(&endSignals, &UnixSignalNotifier::Received, &window, [&] {
    ending = true;
    keepUnsavedWork();
    QCoreApplication::exit(0);
  });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, keepUnsavedWork);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, keepUnsavedWork);

  window.show();
  // Started without files, the editor has one new document ready for the palette's first click.
  const QPointer<EditorDocument> started = files.isEmpty() ? window.NewDocument() : nullptr;
  for (const QString &file : files) {
    if (!window.OpenDocument(file, &error)) {
      prompts.ShowError(QStringLiteral("Could not open %1: %2").arg(file, error));
    }
  }
  // Restored work takes the place of the new document while nothing went into it.
  if (recovery && recovery->OfferOrphans(prompts, !parser.isSet(restore)) && started &&
      !started->IsModified()) {
    window.CloseDocument(started);
  }
  // A signal to end may have come while the question was open.
  if (ending) return 0;
  return QApplication::exec();
}
