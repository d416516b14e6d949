// The palette, driven with real clicks on the offscreen platform: its start, the roll-up, the
// About message, the fixed elements, the dialogs and the installation into the editor's menus.

#include "palette/palette_window.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builders/simple_elements.h"
#include "editorlink/editor_registry.h"
#include "editorlink/memory_editor_host.h"
#include "palette/about_message.h"
#include "palette/hint_timing.h"
#include "palette/menu_installation.h"
#include "palette/palette_title_bar.h"
#include "support/dialog_world.h"

using vendigo::AppContext;
using vendigo::EditorLink;
using vendigo::EditorRegistry;
using vendigo::InstallState;
using vendigo::MemoryEditorHost;
using vendigo::PaletteTitleBar;
using vendigo::Settings;
using vendigo::TVendigoProject;
using vendigo::testing::Child;
using vendigo::testing::IsGone;
using vendigo::testing::Q;
using vendigo::testing::RecordingMessages;
using vendigo::testing::TempFolder;

Q_DECLARE_METATYPE(InstallState)

class PaletteTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsAccordingToTheInstallState_data();
  void StartsAccordingToTheInstallState();
  void AnEditorThatCannotBeReachedEndsTheProgramAtStart();
  void RightPressOnTheTitleRollsUpAndDown();
  void LeftDragOnTheTitleMovesThePalette();
  void AboutShowsVersionAndCopyright();
  void FixedElementsAreInsertedAtOnce();
  void OnlyInsertFormGoesOnWhenTheEditorIsGone();
  void DialogButtonsOpenTheirDialogsModally();
  void InstallWritesTheEditorMenusAndCloses();
  void RemovalAsksAndCloses();
  void DeclinedRemovalKeepsThePaletteOpen();
  void CloseEndsTheProgram();
  void HintsWrapAtAReadableWidth();
  void TheKeyboardReachesAndPressesEveryButton();
};

namespace {

const std::string kCommandsSection = "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n";
const char kProgram[] = "/opt/vendigo/vendigo";

// A palette over an in-memory editor with one open page, its own settings folder and menu store,
// and recorded messages. The palette connects itself, as at program start.
struct PaletteWorld {
  explicit PaletteWorld(std::optional<std::string> store = std::nullopt) {
    settings.CGI_BIN = "/cgi-bin/pellux.cgi";
    settings.ViewCart = "View Cart";
    settings.OrderButton = "Order Now";
    if (store) {
      std::filesystem::create_directories(storeFile.parent_path());
      TempFolder::WriteBytes(storeFile, *store);
    }
    host->OpenDocument("page.htm", "<p>");
  }
  ~PaletteWorld() { delete palette; }

  TVendigoProject *Start() {
    palette = new TVendigoProject(context, registry, kProgram);
    palette->show();
    return palette;
  }
  std::string Inserted() const { return host->ActiveText().substr(3); }
  void Click(const char *button) {
    QTest::mouseClick(Child<QToolButton>(palette, button), Qt::LeftButton);
  }

  TempFolder folder;
  std::filesystem::path storeFile = folder.path() / "config" / "editor-registry.ini";
  EditorRegistry registry{storeFile};
  Settings settings = vendigo::DefaultSettings();
  RecordingMessages messages;
  std::shared_ptr<MemoryEditorHost> host = std::make_shared<MemoryEditorHost>();
  int connects = 0;
  std::function<void()> atConnect;
  EditorLink link{messages, [this] {
                    ++connects;
                    if (atConnect) atConnect();
                    return host;
                  }};
  AppContext context{settings, link, messages, folder.path().string()};
  QPointer<TVendigoProject> palette;
};

TVendigoProject *PaletteBeingBuilt() {
  for (QWidget *widget : QApplication::topLevelWidgets()) {
    if (auto *palette = qobject_cast<TVendigoProject *>(widget)) return palette;
  }
  return nullptr;
}

QColor CaptionColour(const QWidget *button) {
  return button->palette().color(QPalette::ButtonText);
}

std::vector<std::string> Events(std::initializer_list<std::string> events) {
  return events;
}

std::string Message(const char *text) {
  return std::string("message: ") + text;
}

}  // namespace

void PaletteTest::StartsAccordingToTheInstallState_data() {
  QTest::addColumn<QString>("store");
  QTest::addColumn<InstallState>("state");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QColor>("colour");
  QTest::addColumn<int>("connects");

  QTest::newRow("installed") << Q(kCommandsSection + "Vendigo=3,,1\n") << InstallState::Installed
                             << "Remove From FrontPage" << QColor(Qt::black) << 1;
  QTest::newRow("not installed") << Q(kCommandsSection + "Vendigo=\n") << InstallState::NotInstalled
                                 << "Install Into FrontPage" << QColor(Qt::red) << 0;
  QTest::newRow("key absent") << QString() << InstallState::KeyAbsent << "Install Into FrontPage"
                              << QColor(Qt::red) << 1;
}

void PaletteTest::StartsAccordingToTheInstallState() {
  QFETCH(QString, store);
  QFETCH(InstallState, state);
  QFETCH(QString, caption);
  QFETCH(QColor, colour);
  QFETCH(int, connects);

  PaletteWorld world(store.isNull() ? std::nullopt : std::optional(store.toStdString()));
  // By the time the palette reaches for the editor, the caption and the hint time are set.
  QString captionAtConnect;
  int hidePauseAtConnect = 0;
  world.atConnect = [&] {
    TVendigoProject *palette = PaletteBeingBuilt();
    QVERIFY(palette);
    captionAtConnect = Child<QToolButton>(palette, "FrontPageButton")->text();
    const auto *timing = palette->findChild<vendigo::HintTiming *>();
    hidePauseAtConnect = timing ? timing->HidePause() : -1;
  };
  TVendigoProject *palette = world.Start();

  QCOMPARE(palette->InstallStateAtStart(), state);
  QCOMPARE(palette->EndedAtStart(), false);
  auto *button = Child<QToolButton>(palette, "FrontPageButton");
  QCOMPARE(button->text(), caption);
  QCOMPARE(CaptionColour(button), colour);
  QCOMPARE(world.connects, connects);
  QCOMPARE(world.link.IsConnected(), connects == 1);
  QCOMPARE(world.host->BringToTopCount(), connects);
  if (connects == 1) {
    QCOMPARE(captionAtConnect, caption);
    QCOMPARE(hidePauseAtConnect, 20000);
  }
  QVERIFY(world.messages.events.empty());
  QCOMPARE(palette->windowTitle(), QString("Vendigo"));
  QVERIFY(palette->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(palette->windowFlags().testFlag(Qt::Tool));
  QCOMPARE(Child<QWidget>(palette, "Client")->size(), QSize(397, 321));
}

void PaletteTest::AnEditorThatCannotBeReachedEndsTheProgramAtStart() {
  PaletteWorld world;
  world.host->Quit();
  TVendigoProject *palette = world.Start();
  QVERIFY(palette->EndedAtStart());
  QCOMPARE(world.messages.events,
           Events({Message(vendigo::kCannotConnectMessage),
                   Message(vendigo::kDetectAndRepairMessage), "end program"}));
}

void PaletteTest::RightPressOnTheTitleRollsUpAndDown() {
  PaletteWorld world;
  TVendigoProject *palette = world.Start();
  auto *title = Child<PaletteTitleBar>(palette, "TitleBar");
  const int fullHeight = palette->height();
  QCOMPARE(fullHeight, PaletteTitleBar::kHeight + 321);
  QCOMPARE(palette->Rolling().FullHeight(), fullHeight);

  // A left press and a right press elsewhere leave the height alone.
  QTest::mousePress(title, Qt::LeftButton);
  QTest::mouseRelease(title, Qt::LeftButton);
  QTest::mousePress(Child<QWidget>(palette, "Client"), Qt::RightButton);
  QCOMPARE(palette->height(), fullHeight);

  // Rolled up, only the title strip shows: no button peeks out below it.
  QTest::mousePress(title, Qt::RightButton);
  QCOMPARE(palette->height(), PaletteTitleBar::kHeight);
  QVERIFY(Child<QWidget>(palette, "Client")->y() >= palette->height());
  QTest::mousePress(title, Qt::RightButton);
  QCOMPARE(palette->height(), fullHeight);
  QVERIFY(!palette->Rolling().Busy());

  palette->resize(palette->width(), fullHeight + 40);
  QTest::mousePress(title, Qt::RightButton);
  QCOMPARE(palette->height(), fullHeight + 40);
}

void PaletteTest::LeftDragOnTheTitleMovesThePalette() {
  PaletteWorld world;
  TVendigoProject *palette = world.Start();
  auto *title = Child<PaletteTitleBar>(palette, "TitleBar");
  const QPoint start = palette->pos();
  QTest::mousePress(title, Qt::LeftButton, Qt::NoModifier, {10, 5});
  QTest::mouseMove(title, {40, 25});
  QTest::mouseRelease(title, Qt::LeftButton, Qt::NoModifier, {40, 25});
  QCOMPARE(palette->pos(), start + QPoint(30, 20));
  QTest::mouseMove(title, {60, 5});
  QCOMPARE(palette->pos(), start + QPoint(30, 20));
  QCOMPARE(palette->height(), palette->Rolling().FullHeight());
}

void PaletteTest::AboutShowsVersionAndCopyright() {
  PaletteWorld world;
  world.Start();
  world.Click("AboutButton");
  QCOMPARE(world.messages.events,
           Events({std::string("message: Vendigo Version 3.1.26.167\r\r") + VENDIGO_COPYRIGHT}));
}

void PaletteTest::FixedElementsAreInsertedAtOnce() {
  struct Case {
    const char *button;
    std::string html;
  };
  PaletteWorld world;
  const std::vector<Case> cases = {
      {"InsertFormButton",
       R"(<form method="POST" action="/cgi-bin/pellux.cgi"><p>&nbsp;</p></form>)"},
      {"QuantityBoxButton",
       R"(<input TYPE="TEXT" NAME="quantity" VALUE="1" SIZE="3" MAXLENGTH="3">)"},
      {"ViewCartLinkButton", R"(<a href="/cgi-bin/pellux.cgi">View Cart</a>)"},
      {"BuyButton", R"(<input TYPE="SUBMIT" VALUE="Order Now">)"},
      {"EbayButton", vendigo::EbayFormHtml(world.settings)},
  };
  world.Start();
  for (const Case &c : cases) {
    world.host->CloseAllDocuments();
    world.host->OpenDocument("page.htm", "<p>");
    world.Click(c.button);
    QCOMPARE(Q(world.Inserted()), Q(c.html));
  }
  QVERIFY(world.messages.events.empty());
  QVERIFY(world.palette->isVisible());
}

void PaletteTest::OnlyInsertFormGoesOnWhenTheEditorIsGone() {
  for (const char *button :
       {"InsertFormButton", "QuantityBoxButton", "ViewCartLinkButton", "BuyButton", "EbayButton"}) {
    PaletteWorld world;
    world.Start();
    world.host->Quit();
    world.Click(button);
    const bool keepsRunning = std::string(button) == "InsertFormButton";
    QCOMPARE(world.messages.events,
             keepsRunning ? Events({Message(vendigo::kCouldNotConnectMessage)})
                          : Events({Message(vendigo::kCouldNotConnectMessage), "end program"}));
  }
}

void PaletteTest::DialogButtonsOpenTheirDialogsModally() {
  struct Case {
    const char *button;
    const char *dialogClass;
  };
  const std::vector<Case> cases = {
      {"OptionsButton", "vendigo::TOptions"},
      {"PelluxAddButton", "vendigo::TPelluxAdd"},
      {"TextInputButton", "vendigo::TTextAdd"},
      {"ProductOptionsButton", "vendigo::TPelluxOptionsBuilder"},
      {"WizardButton", "vendigo::T_PelluxFP"},
      {"QuickLinkButton", "vendigo::TQuickLink"},
      {"AddItButton", "vendigo::TAddBuilder"},
  };
  PaletteWorld world;
  TVendigoProject *palette = world.Start();
  for (const Case &c : cases) {
    QString opened;
    QPointer<QWidget> dialog;
    // The click returns only once the modal dialog has closed: look at it, then cancel it.
    QTimer::singleShot(0, [&] {
      dialog = QApplication::activeModalWidget();
      if (!dialog) return;
      opened = QString::fromLatin1(dialog->metaObject()->className());
      QCOMPARE(dialog->parentWidget(), palette);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    world.Click(c.button);
    QCOMPARE(opened, QString::fromLatin1(c.dialogClass));
    QVERIFY(IsGone(dialog));
  }
  QVERIFY(world.messages.events.empty());
}

void PaletteTest::InstallWritesTheEditorMenusAndCloses() {
  PaletteWorld world(kCommandsSection + "Pellux=left over\n");
  TVendigoProject *palette = world.Start();
  QSignalSpy closed(palette, &TVendigoProject::Closed);
  world.Click("FrontPageButton");

  QCOMPARE(world.messages.events,
           Events({Message(vendigo::kInstalledMessage), Message(vendigo::kRestartEditorMessage)}));
  QCOMPARE(Q(TempFolder::ReadBytes(world.storeFile)),
           Q(kCommandsSection +
             "Vendigo=3,,1,Pellux,Pellux Vendigo,/opt/vendigo/vendigo,,0,\"Pellux Vendigo "
             "Tools\",0\n"
             "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\n"
             "Pellux=3, ,1,&Pellux,Table\n"));
  QCOMPARE(closed.count(), 1);
  QVERIFY(!palette->isVisible());
}

void PaletteTest::RemovalAsksAndCloses() {
  PaletteWorld world(kCommandsSection + "Vendigo=3,,1\nPellux=left over\n" +
                     "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\nPellux=3, ,1\n");
  world.messages.answers = {true};
  TVendigoProject *palette = world.Start();
  QSignalSpy closed(palette, &TVendigoProject::Closed);
  world.Click("FrontPageButton");

  QCOMPARE(world.messages.events, Events({std::string("ask: ") + vendigo::kConfirmRemovalQuestion,
                                          Message(vendigo::kRemovedMessage)}));
  QCOMPARE(Q(TempFolder::ReadBytes(world.storeFile)),
           Q(kCommandsSection + "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\n"));
  QCOMPARE(closed.count(), 1);
}

void PaletteTest::DeclinedRemovalKeepsThePaletteOpen() {
  const std::string store = kCommandsSection + "Vendigo=3,,1\n";
  PaletteWorld world(store);
  TVendigoProject *palette = world.Start();
  QSignalSpy closed(palette, &TVendigoProject::Closed);
  world.Click("FrontPageButton");
  QCOMPARE(world.messages.events,
           Events({std::string("ask: ") + vendigo::kConfirmRemovalQuestion}));
  QCOMPARE(TempFolder::ReadBytes(world.storeFile), store);
  QCOMPARE(closed.count(), 0);
  QVERIFY(palette->isVisible());
}

void PaletteTest::CloseEndsTheProgram() {
  PaletteWorld world;
  TVendigoProject *palette = world.Start();
  QSignalSpy closed(palette, &TVendigoProject::Closed);
  world.Click("CloseButton");
  QCOMPARE(closed.count(), 1);
  QVERIFY(!palette->isVisible());
  QVERIFY(world.messages.events.empty());
}

void PaletteTest::HintsWrapAtAReadableWidth() {
  PaletteWorld world;
  TVendigoProject *palette = world.Start();
  const QFontMetrics metrics(QToolTip::font());
  const int readable = vendigo::HintTiming::kHintCharacters * metrics.averageCharWidth();
  for (QWidget *control : palette->findChildren<QWidget *>()) {
    if (control->toolTip().isEmpty()) continue;
    QHelpEvent hover(QEvent::ToolTip, control->rect().center(),
                     control->mapToGlobal(control->rect().center()));
    QCoreApplication::sendEvent(control, &hover);
    const QString shown = QToolTip::text();
    for (const QString &line : shown.split('\n')) {
      QVERIFY2(metrics.horizontalAdvance(line) <= readable, qPrintable(line));
    }
    QCOMPARE(QString(shown).replace('\n', ' '), control->toolTip());
    QToolTip::hideText();
  }
}

void PaletteTest::TheKeyboardReachesAndPressesEveryButton() {
  PaletteWorld world;
  TVendigoProject *palette = world.Start();
  QVERIFY(QTest::qWaitForWindowActive(palette));
  auto *buy = Child<QToolButton>(palette, "BuyButton");
  const QImage unfocused = buy->grab().toImage();
  // Tab reaches each button once, framed and named for assistive tools by its text.
  QSet<QWidget *> reached;
  while (auto *button = qobject_cast<QToolButton *>(QApplication::focusWidget())) {
    if (reached.contains(button)) break;
    reached << button;
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
             button->text());
    QVERIFY(button != buy || buy->grab().toImage() != unfocused);
    QTest::keyClick(button, Qt::Key_Tab);
  }
  QCOMPARE(reached.size(), palette->findChildren<QToolButton *>().size());
  buy->setFocus();
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    world.host->OpenDocument("page.htm", "<p>");
    QTest::keyClick(buy, key);
    QCOMPARE(world.Inserted(), std::string(R"(<input TYPE="SUBMIT" VALUE="Order Now">)"));
  }
}

QTEST_MAIN(PaletteTest)
#include "palette_test.moc"
