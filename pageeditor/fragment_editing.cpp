#include "pageeditor/fragment_editing.h"

#include <QAction>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>

#include <limits>
#include <string_view>

#include "pageeditor/editor_document.h"
#include "pageeditor/editor_program_folders.h"
#include "pageeditor/editor_prompts.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/saved_byte_offsets.h"
#include "pageeditor/source_edit.h"
#include "palette/fragment_edit_protocol.h"

namespace vendigo {

namespace {

SourceEdit *SourceOf(const EditorDocument *document) {
  return static_cast<SourceEdit *>(document->Source());
}

QString Unreachable(const QString &why) {
  return QStringLiteral("Could not reach the palette to edit the fragment: %1").arg(why);
}

}  // namespace

FragmentEditing::FragmentEditing(PageEditorWindow &window, EditorPrompts &prompts, QMenu *editMenu,
                                 QDBusConnection bus)
    : QObject(&window),
      window_(window),
      prompts_(prompts),
      bus_(std::move(bus)),
      action_(editMenu->addAction(QStringLiteral("Edit &Fragment..."))) {
  action_->setObjectName("EditFragment");
  action_->setEnabled(false);
  connect(action_, &QAction::triggered, this, &FragmentEditing::EditAtCursor);
  connect(editMenu, &QMenu::aboutToShow, this, &FragmentEditing::UpdateAction);
  connect(&window, &PageEditorWindow::DocumentAdded, this, &FragmentEditing::Watch);
  for (EditorDocument *document : window.Documents()) Watch(document);
}

void FragmentEditing::Watch(EditorDocument *document) {
  SourceEdit *source = SourceOf(document);
  revisions_.insert(document, 1);
  connect(source->document(), &QTextDocument::contentsChanged, this,
          [this, document] { ++revisions_[document]; });
  connect(document, &QObject::destroyed, this, [this, document] { revisions_.remove(document); });
  source->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(source, &QWidget::customContextMenuRequested, this, [this, source](const QPoint &at) {
    QMenu *menu = source->createStandardContextMenu(at);
    menu->addSeparator();
    UpdateAction();
    menu->addAction(action_);
    menu->exec(source->viewport()->mapToGlobal(at));
    delete menu;
  });
}

const std::vector<FoundFragment> &FragmentEditing::FragmentsOf(EditorDocument *document) {
  const quint64 revision = RevisionOf(document);
  if (readDocument_ != document || readRevision_ != revision) {
    const QByteArray bytes = document->SavedBytesLater()();
    readFragments_ =
        ReadFragments(std::string_view(bytes.constData(), bytes.size()), SettingsOfEditor());
    readDocument_ = document;
    readRevision_ = revision;
  }
  return readFragments_;
}

std::optional<FragmentEditing::Place> FragmentEditing::PlaceAtCursor(EditorDocument *document) {
  SourceEdit *source = SourceOf(document);
  const std::vector<FoundFragment> &fragments = FragmentsOf(document);
  if (fragments.empty()) return std::nullopt;
  const SavedByteOffsets offsets(source->EditorText(), source->DocumentLineEnd(),
                                 document->Encoding());
  const int cursor = source->EditorPosition(source->textCursor().position());
  const FoundFragment *fragment = FragmentAt(fragments, offsets.ByteOffset(cursor));
  if (!fragment) return std::nullopt;
  const qsizetype from = offsets.EditorPosition(fragment->start.offset);
  const qsizetype to = offsets.EditorPosition(fragment->end);
  if (from < 0 || to < from) return std::nullopt;
  return Place{*fragment, source->PositionOfEditorPosition(static_cast<int>(from)),
               source->PositionOfEditorPosition(static_cast<int>(to))};
}

void FragmentEditing::UpdateAction() {
  EditorDocument *document = window_.ActiveDocument();
  action_->setEnabled(document && PlaceAtCursor(document).has_value());
}

void FragmentEditing::EditAtCursor() {
  EditorDocument *document = window_.ActiveDocument();
  if (!document) return;
  if (waiting_) {
    prompts_.ShowError(
        QStringLiteral("A fragment is open in the palette already: close its dialog there first."));
    return;
  }
  const std::optional<Place> place = PlaceAtCursor(document);
  if (!place) {
    prompts_.ShowError(QStringLiteral("The cursor is in no fragment that the palette made."));
    return;
  }
  const FoundFragment &fragment = place->fragment;
  if (!FragmentHasDialog(fragment.kind)) {
    prompts_.ShowError(
        fragment.kind == "page"
            ? QStringLiteral("A product page has no dialog to reopen it in: the wizard builds it "
                             "from a template. Build the page again with the wizard.")
            : QStringLiteral("The fragment at the cursor (%1) has no values to change: the "
                             "palette builds it from its settings alone.")
                  .arg(QString::fromStdString(fragment.kind)));
    return;
  }
  SourceEdit *source = SourceOf(document);
  QTextCursor selection(source->document());
  selection.setPosition(place->from);
  selection.setPosition(place->to, QTextCursor::KeepAnchor);
  source->setTextCursor(selection);
  source->ensureCursorVisible();
  if (!bus_.isConnected()) {
    prompts_.ShowError(Unreachable(QStringLiteral("there is no session bus.")));
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kPaletteBusName), QString::fromLatin1(kPaletteObjectPath),
      QString::fromLatin1(kPaletteBusName), QString::fromLatin1(kEditFragmentMethod));
  call << QString::fromStdString(fragment.kind)
       << QString::fromStdString(
              fragment.input.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))
       << QString::fromStdString(SettingsJson(fragment.settings));
  waiting_ = Waiting{document, RevisionOf(document), place->from, place->to};
  // The dialog stays open as long as the merchant likes: no time limit.
  auto *watcher =
      new QDBusPendingCallWatcher(bus_.asyncCall(call, std::numeric_limits<int>::max()), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, &FragmentEditing::Answered);
}

void FragmentEditing::Answered(QDBusPendingCallWatcher *call) {
  call->deleteLater();
  const Waiting waiting = *waiting_;
  waiting_.reset();
  const QDBusPendingReply<bool, QString> reply = *call;
  if (reply.isError()) {
    const QDBusError error = reply.error();
    const bool fromPalette =
        error.name() == kPaletteBusyError || error.name() == kPaletteRefusedError;
    // A portable copy's palette is not known to the bus, which cannot start it.
    const QString why =
        error.type() == QDBusError::ServiceUnknown
            ? QStringLiteral("it does not run. Start the Vendigo palette and try again.")
            : error.message();
    prompts_.ShowError(fromPalette ? error.message() : Unreachable(why));
  } else if (reply.argumentAt<0>()) {
    EditorDocument *document = waiting.document;
    if (!document) {
      prompts_.ShowError(QStringLiteral(
          "The page was closed while its fragment was open in the palette: nothing was changed."));
    } else if (RevisionOf(document) != waiting.revision) {
      prompts_.ShowError(
          QStringLiteral("The page changed while its fragment was open in the palette, so the new "
                         "fragment was not put in. Edit the fragment again."));
    } else {
      window_.ShowDocument(document);
      SourceOf(document)->ReplaceBetween(waiting.from, waiting.to, reply.argumentAt<1>());
    }
  }
  emit Finished();
}

}  // namespace vendigo
