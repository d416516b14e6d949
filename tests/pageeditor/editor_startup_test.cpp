// What the editor sets up at start: its folders and its D-Bus activation file.
#include "pageeditor/editor_startup.h"
#include "editorlink/editor_store_location.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using vendigo::ActivationFileText;
using vendigo::EditorConfigFolder;
using vendigo::EnsureActivationFile;

namespace {

QByteArray ReadAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

ino_t Inode(const QString &path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

class EditorStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void theActivationFileNamesTheProgram_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain path")
        << "/opt/vendigo/bin/vendigo-pageeditor"
        << QByteArray(
               "[D-BUS "
               "Service]\nName=FrontPage.Editor\nExec=/opt/vendigo/bin/vendigo-pageeditor\n");
    QTest::newRow("blanks and quotes are quoted for the bus")
        << "/home/shop/My Tools/it's/vendigo-pageeditor"
        << QByteArray(
               "[D-BUS Service]\nName=FrontPage.Editor\n"
               "Exec='/home/shop/My Tools/it'\\''s/vendigo-pageeditor'\n");
  }
  void theActivationFileNamesTheProgram() {
    QFETCH(QString, program);
    QFETCH(QByteArray, expected);
    QCOMPARE(ActivationFileText(program).toUtf8(), expected);
  }

  void theActivationFileIsWrittenWhenMissingOrWrong_data() {
    QTest::addColumn<QByteArray>("before");  // "-" for no file
    QTest::addColumn<bool>("rewritten");
    QTest::newRow("missing, folder too") << QByteArray("-") << true;
    QTest::newRow("naming another program")
        << QByteArray("[D-BUS Service]\nName=FrontPage.Editor\nExec=/old/vendigo-pageeditor\n")
        << true;
    QTest::newRow("naming this program")
        << ActivationFileText("/opt/vendigo-pageeditor").toUtf8() << false;
  }
  void theActivationFileIsWrittenWhenMissingOrWrong() {
    QFETCH(QByteArray, before);
    QFETCH(bool, rewritten);
    QTemporaryDir home;
    const QString file = home.filePath("dbus-1/services/FrontPage.Editor.service");
    if (before != "-") {
      QVERIFY(QDir().mkpath(home.filePath("dbus-1/services")));
      QFile out(file);
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write(before);
    }
    const ino_t inodeBefore = Inode(file);

    QString error;
    QVERIFY2(EnsureActivationFile(file, "/opt/vendigo-pageeditor", &error), qPrintable(error));
    QCOMPARE(ReadAll(file), ActivationFileText("/opt/vendigo-pageeditor").toUtf8());
    QCOMPARE(Inode(file) != inodeBefore, rewritten);
  }

  void anActivationFileThatCannotBeWrittenIsReported() {
    QTemporaryDir home;
    QFile blocker(home.filePath("dbus-1"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    QString error;
    QVERIFY(!EnsureActivationFile(home.filePath("dbus-1/services/FrontPage.Editor.service"),
                                  "/opt/vendigo-pageeditor", &error));
    QCOMPARE(error, "cannot make the folder of " +
                        home.filePath("dbus-1/services/FrontPage.Editor.service"));
  }

  void foldersFollowTheXdgVariables_data() {
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<QByteArray>("dataHome");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("activation");
    const QString home = QDir::homePath();
    QTest::newRow("set") << QByteArray("/x/config") << QByteArray("/x/data")
                         << "/x/config/vendigo-pageeditor"
                         << "/x/data/dbus-1/services/FrontPage.Editor.service";
    QTest::newRow("unset") << QByteArray() << QByteArray() << home + "/.config/vendigo-pageeditor"
                           << home + "/.local/share/dbus-1/services/FrontPage.Editor.service";
    QTest::newRow("relative paths are ignored")
        << QByteArray("config") << QByteArray("data") << home + "/.config/vendigo-pageeditor"
        << home + "/.local/share/dbus-1/services/FrontPage.Editor.service";
  }
  void foldersFollowTheXdgVariables() {
    QFETCH(QByteArray, configHome);
    QFETCH(QByteArray, dataHome);
    QFETCH(QString, config);
    QFETCH(QString, activation);
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    configHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", configHome);
    dataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome);
    const QString gotConfig = EditorConfigFolder();
    const QString gotStore = vendigo::EditorRegistryFile();
    const QString gotActivation = vendigo::ActivationFilePath();
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("XDG_DATA_HOME", oldData);
    QCOMPARE(gotConfig, config);
    QCOMPARE(gotStore, config + "/editor-registry.ini");
    QCOMPARE(gotActivation, activation);
  }
};

QTEST_MAIN(EditorStartupTest)
#include "editor_startup_test.moc"
