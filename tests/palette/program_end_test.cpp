// Only the palette's Close and the ends the commands order end the program: a message box that
// closes while no window of ours is active must not end it, however the toolkit counts windows.
// Runs in the application's own event loop with real message boxes and the real file dialog.

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

#include "core/program_folders.h"
#include "dialogs/wizard_dialog.h"
#include "editorlink/editor_registry.h"
#include "editorlink/memory_editor_host.h"
#include "palette/palette_window.h"
#include "palette/qt_message_interface.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::Child;
using testing::TempFolder;

// Runs act on the modal window of type Window once it is up, from the event loop it runs in.
template <typename Window>
void WhenModal(const std::function<void(Window *)> &act) {
  auto *poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (auto *window = qobject_cast<Window *>(QApplication::activeModalWidget())) {
      poll->deleteLater();
      poll->stop();
      act(window);
    }
  });
  poll->start(10);
}

// Enters file's full path into the file dialog's name field and opens it, as Return does. The
// whole path goes in at once: the dialog follows a path typed letter by letter into its folders in
// the background, which can leave a partly typed name behind.
void ChooseInFileDialog(const QString &file) {
  WhenModal<QFileDialog>([file](QFileDialog *files) {
    Child<QLineEdit>(files, "fileNameEdit")->setText(file);
    QMetaObject::invokeMethod(files, "accept");
  });
}

void Click(QWidget *parent, const char *button) {
  QTest::mouseClick(Child<QPushButton>(parent, button), Qt::LeftButton);
}

}  // namespace

class ProgramEndTest : public QObject {
  Q_OBJECT

 private slots:
  void AMessageAfterTheFileDialogKeepsTheWizardAndItsInput();
};

void ProgramEndTest::AMessageAfterTheFileDialogKeepsTheWizardAndItsInput() {
  // An installed copy whose folders cannot be written, not even by the superuser: the program
  // folder and the cache folder lie below a plain file. The template is the merchant's own.
  TempFolder base;
  TempFolder::WriteBytes(base.path() / "file", "x");
  const std::filesystem::path programDir = base.path() / "file" / "bin";
  const XdgEnvironment environment{base.path().string(), "", (base.path() / "file").string(),
                                   (base.path() / "data").string()};
  const ProgramFolders folders = FindProgramFolders(
      programDir, QFileInfo(QString::fromStdString(programDir.string())).isWritable(),
      base.path() / "share", environment);
  std::filesystem::create_directories(folders.templates[1]);
  TempFolder::WriteBytes(folders.templates[1] / "shop.zft", "<p>%zf_description%</p>");
  const QString picture = QString::fromStdString((base.path() / "mug.png").string());
  QImage(4, 4, QImage::Format_RGB32).save(picture);

  Settings settings = DefaultSettings();
  QtMessageInterface messages;
  auto host = std::make_shared<MemoryEditorHost>();
  host->OpenDocument("page.htm", "");
  EditorLink link(messages, [host] { return host; });
  AppContext context{settings, link, messages, programDir.string(), folders};
  EditorRegistry registry(base.path() / "config" / "editor-registry.ini");
  TVendigoProject palette(context, registry, "/opt/vendigo/vendigo");
  palette.show();

  QString shown;
  bool stillRunning = false;
  QString description;
  WhenModal<T_PelluxFP>([&](T_PelluxFP *wizard) {
    auto *list = Child<QListWidget>(wizard, "FileListBox1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    Click(wizard, "nextBut");
    QTest::keyClicks(Child<QLineEdit>(wizard, "Description"), "Blue Mug");
    QTest::keyClicks(Child<QLineEdit>(wizard, "Price"), "4.50");
    QTest::keyClicks(Child<QLineEdit>(wizard, "ProductWeight"), "1");
    Click(wizard, "nextBut");
    ChooseInFileDialog(picture);
    WhenModal<QMessageBox>([&, wizard](QMessageBox *box) {
      shown = box->text();
      box->button(QMessageBox::Ok)->click();
      // Runs only while the program still runs after the box has gone.
      QTimer::singleShot(200, wizard, [&, wizard] {
        stillRunning = wizard->isVisible() && palette.isVisible();
        description = Child<QLineEdit>(wizard, "Description")->text();
        wizard->reject();
        QCoreApplication::quit();
      });
    });
    wizard->findChild<QAction *>("SelectImage1")->trigger();
  });
  QTimer::singleShot(0, &palette, [&] {
    QTest::mouseClick(Child<QToolButton>(&palette, "WizardButton"), Qt::LeftButton);
  });
  QTimer::singleShot(30000, qApp, &QCoreApplication::quit);
  QApplication::exec();

  QCOMPARE(shown,
           "Unable to write to " +
               QString::fromStdString((base.path() / "file" / "vendigo" / "img~.html").string()));
  QVERIFY(stillRunning);
  QCOMPARE(description, QString("Blue Mug"));
}

}  // namespace vendigo

QTEST_MAIN(vendigo::ProgramEndTest)
#include "program_end_test.moc"
