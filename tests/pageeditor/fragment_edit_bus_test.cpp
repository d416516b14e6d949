// Edit Fragment between the editor's window and the palette's dialogs over a private session bus.
#include <QAction>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <signal.h>

#include <utility>

#include "builders/hidden_item.h"
#include "builders/quick_link.h"
#include "editorlink/dbus_editor_host.h"
#include "pageeditor/document_encoding.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/editor_service.h"
#include "pageeditor/fragment_editing.h"
#include "pageeditor/page_editor_window.h"
#include "palette/fragment_edit_protocol.h"
#include "palette/palette_instance.h"
#include "support/dialog_world.h"
#include "support/page_editor_session.h"
#include "support/scripted_editor_prompts.h"

using namespace vendigo;
using vendigo::testing::Child;
using vendigo::testing::DialogWorld;
using vendigo::testing::ScriptedEditorPrompts;
using vendigo::testing::Type;

class FragmentEditBusTest : public QObject {
  Q_OBJECT

 private slots:
  void TheBusStartsThePaletteWhichServesOneDialogAtATime();
  void OKReplacesTheFragmentAlone_data();
  void OKReplacesTheFragmentAlone();
  void CancelOrAChangedPageLeavesThePage();
};

namespace {

const Settings kShop{"", "$", "", "/cgi-bin/pellux.cgi", "", 3, ""};

QString MugLink(const char *price) {
  return QString::fromStdString(
      QuickLinkHtml(kShop, {.item = {"Mug Crème", price, "1", "", ""}, .insertProductInfo = true}));
}

// Text beyond ASCII around two fragments; the quick link is on line 3, long enough for rows.
QString Page(const QString &lineEnd, const char *price) {
  return "<html><body><p>Crème brûlée: 4.50</p>" + lineEnd +
         QString::fromStdString(HiddenItemHtml({"Cup", "2.00", "0", "", ""})) + lineEnd +
         QString(3000, u'x') + "<p>" + MugLink(price) + " – ça</p>" + lineEnd + "</body></html>" +
         lineEnd;
}

// The editor's window with the page open, and a palette on a bus connection of its own.
struct EditWorld {
  explicit EditWorld(const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
    QString error;
    document = window.OpenDocument(path, &error);
    editing = window.findChild<FragmentEditing *>();
  }
  ~EditWorld() {
    // The bus's programs outlive it: a palette it started is ended whatever the outcome.
    if (started > 0) ::kill(started, SIGKILL);
    QDBusConnection::disconnectFromBus("palette");
  }
  bool ServePalette() {
    palette.ServeFragmentEdits(dialogs.context);
    QDBusConnection session = QDBusConnection::sessionBus();
    return vendigo::testing::WaitUntilNameIsFree(session, kPaletteBusName) &&
           palette.Claim(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "palette"));
  }
  bool EditAt(int line, int column) {
    document->ShowPlace(line, column);
    window.findChild<QMenu *>("EditMenu")->aboutToShow();
    if (!editing->Action()->isEnabled()) return false;
    editing->Action()->trigger();
    return true;
  }
  // Presses a button of the palette's dialog; true once the editor has the answer.
  bool Press(const char *button) {
    if (!QTest::qWaitFor([this] { return palette.FragmentEdits().OpenDialog(); })) return false;
    QTest::mouseClick(Child<QPushButton>(palette.FragmentEdits().OpenDialog(), button),
                      Qt::LeftButton);
    return QTest::qWaitFor([this] { return !editing->IsWaiting(); });
  }
  QByteArray Saved() {
    QFile file(path);
    return window.SaveDocument(document) && file.open(QIODevice::ReadOnly) ? file.readAll() : "";
  }

  DialogWorld dialogs;
  QString path = QString::fromStdString((dialogs.programDir.path() / "shop.html").string());
  ScriptedEditorPrompts prompts;
  PageEditorWindow window{prompts};
  EditorDocument *document = nullptr;
  FragmentEditing *editing = nullptr;
  PaletteInstance palette;
  pid_t started = 0;
};

}  // namespace

void FragmentEditBusTest::OKReplacesTheFragmentAlone_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addColumn<QByteArray>("changed");
  QTest::newRow("UTF-8, CR LF") << Page("\r\n", "4.50").toUtf8() << Page("\r\n", "4.90").toUtf8();
  const FileEncoding windows1252{FileEncoding::Charset::Windows1252, false};
  QTest::newRow("Windows-1252, LF") << DocumentEncoding::Encode(Page("\n", "4.50"), windows1252)
                                    << DocumentEncoding::Encode(Page("\n", "4.90"), windows1252);
}

void FragmentEditBusTest::OKReplacesTheFragmentAlone() {
  QFETCH(QByteArray, page);
  QFETCH(QByteArray, changed);
  EditWorld world(page);
  QVERIFY(world.ServePalette());
  QVERIFY(!world.EditAt(1, 5));  // no fragment: the item is off
  QVERIFY(world.EditAt(3, 3012));
  QTRY_VERIFY(world.palette.FragmentEdits().OpenDialog());
  auto *price = Child<QLineEdit>(world.palette.FragmentEdits().OpenDialog(), "Edit2");
  QCOMPARE(world.document->Source()->textCursor().selectedText().remove(u'\u2029'),
           MugLink("4.50"));
  price->selectAll();
  Type(price, "4.90");
  QVERIFY(world.Press("Button1"));
  QCOMPARE(world.prompts.asked, QStringList());
  QCOMPARE(world.Saved(), changed);
  world.document->Source()->undo();
  QCOMPARE(world.Saved(), page);
}

void FragmentEditBusTest::CancelOrAChangedPageLeavesThePage() {
  const QByteArray page = Page("\n", "4.50").toUtf8();
  EditWorld world(page);
  QVERIFY(world.ServePalette());
  QVERIFY(world.EditAt(2, 3));  // the hidden item
  QVERIFY(world.Press("Button2"));
  QCOMPARE(world.Saved(), page);

  QVERIFY(world.EditAt(3, 3012));
  world.document->ShowPlace(1, 1);
  world.document->InsertAtCursor("<!-- new -->");
  QVERIFY(world.Press("Button1"));
  QCOMPARE(world.prompts.asked,
           QStringList("error: The page changed while its fragment was open in the palette, so "
                       "the new fragment was not put in. Edit the fragment again."));
  QCOMPARE(world.Saved(), "<!-- new -->" + page);
}

void FragmentEditBusTest::TheBusStartsThePaletteWhichServesOneDialogAtATime() {
  EditWorld world(Page("\n", "4.50").toUtf8());
  // The palette connects to the editor when it starts.
  QDBusConnection bus = QDBusConnection::sessionBus();
  EditorService service(world.window);
  bus.registerObject(kEditorObjectPath, &service, QDBusConnection::ExportScriptableSlots);
  QVERIFY(bus.registerService(kEditorBusName));
  QVERIFY(world.EditAt(3, 3012));
  // The bus started the built palette: it has the dialog open and refuses a second call.
  QTRY_VERIFY_WITH_TIMEOUT(bus.interface()->isServiceRegistered(kPaletteBusName), 20000);
  world.started = static_cast<pid_t>(bus.interface()->servicePid(kPaletteBusName).value());
  QDBusMessage second = QDBusMessage::createMethodCall(kPaletteBusName, kPaletteObjectPath,
                                                       kPaletteBusName, kEditFragmentMethod)
                        << "textadd"
                        << R"({"Caption":"Name","Price":"1"})" << SettingsJson(kShop).c_str();
  // Asked without blocking: the palette calls this editor while it starts.
  QDBusPendingCall refused = bus.asyncCall(second);
  QTRY_VERIFY_WITH_TIMEOUT(refused.isFinished(), 20000);
  QCOMPARE(refused.error().name(), QString(kPaletteBusyError));
  QVERIFY(world.editing->IsWaiting());

  // A palette that ends leaves the page as it was, and says so.
  QCOMPARE(::kill(std::exchange(world.started, 0), SIGKILL), 0);
  QTRY_VERIFY(!world.editing->IsWaiting());
  QCOMPARE(world.prompts.asked,
           QStringList("error: Could not reach the palette to edit the fragment: Message "
                       "recipient disconnected from message bus without replying"));
  QCOMPARE(world.Saved(), Page("\n", "4.50").toUtf8());
}

QTEST_MAIN(FragmentEditBusTest)
#include "fragment_edit_bus_test.moc"
