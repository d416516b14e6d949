// vendigo: the palette that builds shop page fragments and inserts them into the page editor.
#include <QApplication>
#include <QToolTip>

#include <filesystem>
#include <system_error>

#include "core/app_context.h"
#include "core/program_folders.h"
#include "core/settings.h"
#include "dialogs/web_engine_start.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_link.h"
#include "editorlink/editor_registry.h"
#include "editorlink/editor_store_location.h"
#include "palette/palette_instance.h"
#include "palette/palette_style.h"
#include "palette/palette_window.h"
#include "palette/qt_message_interface.h"

namespace {

// The running executable, found before the application object exists: the settings are read
// first, and they live beside the program or, for an installed copy, in the user's folders.
std::filesystem::path ExecutablePath(const char *argv0) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) path = std::filesystem::absolute(argv0, error);
  return path;
}

// Hints look like notes: pale yellow with a thin dark edge.
void UseBalloonHints() {
  QPalette hints = QToolTip::palette();
  hints.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xe1));
  hints.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(hints);
}

}  // namespace

int main(int argc, char *argv[]) {
  using namespace vendigo;
  const std::filesystem::path executable = ExecutablePath(argv[0]);
  const std::filesystem::path programDir = executable.parent_path();
  const ProgramFolders folders = FindOwnProgramFolders(
      programDir, (programDir / VENDIGO_INSTALLED_TEMPLATES).lexically_normal());
  Settings settings = LoadSettings(folders.settings);

  PrepareWebEngine("vendigo");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vendigo"));
  QApplication::setApplicationVersion(QStringLiteral(VENDIGO_VERSION));
  QApplication::setStyle(new PaletteStyle);
  UseBalloonHints();

  // A second start brings the running palette to the front instead of opening another.
  PaletteInstance instance;
  if (!instance.Claim()) return 0;

  QtMessageInterface messages;
  EditorLink editor(messages, ConnectDBusEditorHost);
  AppContext context{settings, editor, messages, programDir.string(), folders};
  EditorRegistry editorMenus(EditorRegistryFile().toStdString());

  TVendigoProject palette(context, editorMenus, executable.string());
  if (palette.EndedAtStart()) return 0;
  instance.SetWindow(&palette);
  instance.ServeFragmentEdits(context);
  QObject::connect(&palette, &TVendigoProject::Closed, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  palette.show();
  return QApplication::exec();
}
