// The palette against a real page editor over D-Bus: it connects at start, and its buttons put
// their fragments at the editor's cursor.
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <string>

#include "editorlink/editor_registry.h"
#include "pageeditor/new_page.h"
#include "palette/palette_window.h"
#include "support/editor_dialog_world.h"

using vendigo::EditorRegistry;
using vendigo::TVendigoProject;
using vendigo::testing::EditorDialogWorld;

class PaletteDBusTest : public QObject {
  Q_OBJECT

 private slots:
  void QuantityBoxGoesToTheEditorsCursor();
  void AnInstallationShowsInTheEditorsStore();
};

namespace {

const QString kQuantityBox =
    R"(<input TYPE="TEXT" NAME="quantity" VALUE="1" SIZE="3" MAXLENGTH="3">)";

// The palette as the program builds it: it connects to the editor itself.
std::unique_ptr<TVendigoProject> StartPalette(EditorDialogWorld &world, EditorRegistry &store) {
  auto palette = std::make_unique<TVendigoProject>(world.context, store, "/opt/vendigo/vendigo");
  palette->show();
  return palette;
}

void Click(TVendigoProject &palette, const char *button) {
  auto *control = palette.findChild<QToolButton *>(QString::fromLatin1(button));
  QVERIFY(control);
  QTest::mouseClick(control, Qt::LeftButton);
}

}  // namespace

void PaletteDBusTest::QuantityBoxGoesToTheEditorsCursor() {
  EditorDialogWorld world;
  QVERIFY2(world.editor.Start(), qPrintable(world.Error()));
  EditorRegistry store(world.editor.RegistryFile().toStdString());
  auto palette = StartPalette(world, store);
  QVERIFY(!palette->EndedAtStart());
  QVERIFY(world.link.IsConnected());

  // The editor opened a new page at its start: the first click goes into its body.
  Click(*palette, "QuantityBoxButton");
  QCOMPARE(kQuantityBox.size(), 68);
  QCOMPARE(world.editor.ActiveDocumentText(),
           vendigo::kNewPageBeforeCursor + kQuantityBox + vendigo::kNewPageAfterCursor);

  // An opened page has its cursor at the start: the box goes in before the text, which stays.
  const QString page = world.editor.WriteFile("shop.html", "<p>Mugs</p>\r\n<p>Cups</p>\r\n");
  QVERIFY(world.editor.OpenDocument(page));
  Click(*palette, "QuantityBoxButton");
  QCOMPARE(world.editor.ActiveDocumentText(), kQuantityBox + "<p>Mugs</p>\r\n<p>Cups</p>\r\n");
  QVERIFY(world.messages.events.empty());
}

void PaletteDBusTest::AnInstallationShowsInTheEditorsStore() {
  EditorDialogWorld world;
  QVERIFY2(world.editor.Start(), qPrintable(world.Error()));
  EditorRegistry store(world.editor.RegistryFile().toStdString());
  auto palette = StartPalette(world, store);
  Click(*palette, "FrontPageButton");
  QVERIFY(!palette->isVisible());

  // The next start of the palette reads the new state and offers the removal.
  auto next = StartPalette(world, store);
  QCOMPARE(next->findChild<QToolButton *>("FrontPageButton")->text(),
           QString("Remove From FrontPage"));
}

QTEST_MAIN(PaletteDBusTest)
#include "palette_dbus_test.moc"
