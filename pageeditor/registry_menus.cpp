#include "pageeditor/registry_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "editorlink/editor_registry.h"
#include "editorlink/registry_menu_values.h"
#include "pageeditor/editor_prompts.h"

namespace vendigo {
namespace {

QMenu *FindMenu(QMenuBar &menuBar, const QString &name) {
  const QString wanted = QString::fromStdString(TitleWithoutAccelerator(name.toStdString()));
  for (QMenu *menu : menuBar.findChildren<QMenu *>(Qt::FindDirectChildrenOnly)) {
    const QString title =
        QString::fromStdString(TitleWithoutAccelerator(menu->title().toStdString()));
    if (title.compare(wanted, Qt::CaseInsensitive) == 0) return menu;
  }
  return nullptr;
}

std::vector<std::pair<std::string, std::string>> ValuesOf(const EditorRegistry &registry,
                                                          const char *key) {
  EditorRegistry store = registry;
  const auto opened = store.OpenKey(key, false);
  return opened ? opened->Values() : std::vector<std::pair<std::string, std::string>>{};
}

}  // namespace

void RegistryMenus::Build(QMenuBar &menuBar, const EditorRegistry &registry,
                          EditorPrompts &prompts) {
  for (const auto &[name, value] : ValuesOf(registry, kInitMenusKey)) {
    const auto menu = ParseMenuValue(value);
    if (!menu) continue;
    const QString title = QString::fromStdString(menu->title);
    if (FindMenu(menuBar, title)) continue;
    menuBar.addMenu(title)->setObjectName(QString::fromStdString(name));
  }
  for (const auto &[name, value] : ValuesOf(registry, kInitCommandsKey)) {
    const auto command = ParseCommandValue(value);
    if (!command) continue;
    const QString menuName = QString::fromStdString(command->menu);
    QMenu *menu = FindMenu(menuBar, menuName);
    if (!menu) {
      menu = menuBar.addMenu(menuName);
      menu->setObjectName(menuName);
    }
    QAction *action = menu->addAction(QString::fromStdString(command->caption));
    action->setObjectName(QString::fromStdString(name));
    action->setStatusTip(QString::fromStdString(command->statusTip));
    const QString program = QString::fromStdString(command->program);
    action->setData(program);
    QObject::connect(action, &QAction::triggered, &menuBar, [program, &prompts] {
      if (!QProcess::startDetached(program, {})) {
        prompts.ShowError(QStringLiteral("Could not start %1").arg(program));
      }
    });
  }
}

}  // namespace vendigo
