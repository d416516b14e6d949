// Menus and commands that other programs registered in the editor's store.
#include "pageeditor/registry_menus.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include "editorlink/editor_registry.h"
#include "support/scripted_editor_prompts.h"

using vendigo::EditorRegistry;
using vendigo::RegistryMenus;
using vendigo::testing::ScriptedEditorPrompts;

namespace {

// Each menu of the bar as "title: caption (status tip) -> program, ...".
QStringList Describe(const QMenuBar &bar) {
  QStringList menus;
  for (const QAction *entry : bar.actions()) {
    const QMenu *menu = entry->menu();
    QStringList actions;
    for (const QAction *action : menu->actions()) {
      actions << action->text() + " (" + action->statusTip() + ") -> " + action->data().toString();
    }
    menus << menu->objectName() + " " + menu->title() + ": " + actions.join(", ");
  }
  return menus;
}

}  // namespace

class RegistryMenusTest : public QObject {
  Q_OBJECT

 private slots:
  void menusComeFromTheStore_data() {
    QTest::addColumn<QByteArray>("store");  // "-" for no store file
    QTest::addColumn<QStringList>("menus");
    const QString file = "FileMenu &File: New () -> ";
    QTest::newRow("no store") << QByteArray("-") << QStringList{file};
    QTest::newRow("keys absent") << QByteArray("[Software\\Other]\nx=1\n") << QStringList{file};
    QTest::newRow("keys without values")
        << QByteArray(
               "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\n"
               "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n")
        << QStringList{file};
    QTest::newRow("installed palette")
        << QByteArray(
               "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\r\n"
               "Vendigo=3,,1,Pellux,Pellux Vendigo,/opt/My Tools/vendigo,,0,\"Pellux "
               "Vendigo Tools\",0\r\n"
               "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\r\n"
               "Pellux=3, ,1,&Pellux,Table\r\n")
        << QStringList{file,
                       "Pellux &Pellux: Pellux Vendigo (Pellux Vendigo Tools) -> /opt/My "
                       "Tools/vendigo"};
    QTest::newRow("commands into the editor's menu, a menu of their own, unreadable values")
        << QByteArray(
               "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\n"
               "Broken=3, ,1\n"
               "Again=3, ,1,FILE,Table\n"
               "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n"
               "Extra=3,,1,file,Extra,/bin/true,,0,\"tip\",0\n"
               "Run=3,,1,Tools,&Run,/bin/false\n"
               "Bad=3,,1,Tools,Bad\n")
        << QStringList{file + ", Extra (tip) -> /bin/true", "Tools Tools: &Run () -> /bin/false"};
  }
  void menusComeFromTheStore() {
    QFETCH(QByteArray, store);
    QFETCH(QStringList, menus);
    QTemporaryDir folder;
    const QString path = folder.filePath("editor-registry.ini");
    if (store != "-") {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(store);
    }
    QMenuBar bar;
    QMenu *fileMenu = bar.addMenu("&File");
    fileMenu->setObjectName("FileMenu");
    fileMenu->addAction("New");
    ScriptedEditorPrompts prompts;
    RegistryMenus::Build(bar, EditorRegistry(path.toStdString()), prompts);
    QCOMPARE(Describe(bar), menus);
    QCOMPARE(QFile::exists(path), store != "-");
  }

  void aCommandStartsItsProgram() {
    QTemporaryDir folder;
    const QString marker = folder.filePath("started");
    const QString program = folder.filePath("my palette");
    {
      QFile script(program);
      QVERIFY(script.open(QIODevice::WriteOnly));
      script.write(("#!/bin/sh\necho started > '" + marker + "'\n").toUtf8());
      script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString registry = folder.filePath("editor-registry.ini");
    {
      QFile file(registry);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(("[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n"
                  "Vendigo=3,,1,Pellux,Pellux Vendigo," +
                  program +
                  ",,0,\"Pellux Vendigo Tools\",0\n"
                  "Missing=3,,1,Pellux,Missing," +
                  folder.filePath("none") + ",,0,\"\",0\n")
                     .toUtf8());
    }
    QMainWindow window;
    ScriptedEditorPrompts prompts;
    RegistryMenus::Build(*window.menuBar(), EditorRegistry(registry.toStdString()), prompts);

    window.findChild<QAction *>("Vendigo")->trigger();
    QTRY_VERIFY(QFile::exists(marker));
    QCOMPARE(prompts.asked, QStringList{});
    window.findChild<QAction *>("Missing")->trigger();
    QCOMPARE(prompts.asked, QStringList{"error: Could not start " + folder.filePath("none")});
  }
};

QTEST_MAIN(RegistryMenusTest)
#include "registry_menus_test.moc"
