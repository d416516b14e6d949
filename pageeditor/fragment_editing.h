#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "fragments/fragment_reading.h"

class QAction;
class QDBusPendingCallWatcher;
class QMenu;

namespace vendigo {

class EditorDocument;
class EditorPrompts;
class PageEditorWindow;

// Edit > Edit Fragment and the source view's context menu: the fragment at the cursor is selected
// and reopened in its dialog in the palette (over the session bus, which starts the palette when
// it does not run); OK there puts the new fragment in place of exactly the selected text, as one
// undo step. The editor keeps working while the dialog is open.
//
// The page is read as a save would write it, once per revision of the document and only when a
// menu shows or the action runs, never on a cursor move.
class FragmentEditing : public QObject {
  Q_OBJECT

 public:
  FragmentEditing(PageEditorWindow &window, EditorPrompts &prompts, QMenu *editMenu,
                  QDBusConnection bus = QDBusConnection::sessionBus());

  QAction *Action() const { return action_; }
  // Enables the action when the active document's cursor is inside a fragment.
  void UpdateAction();
  // Selects the fragment at the active document's cursor and asks the palette to reopen it.
  void EditAtCursor();
  // True while the palette has a fragment of this editor open.
  bool IsWaiting() const { return waiting_.has_value(); }

 signals:
  // The palette answered (or could not be reached) and the answer was carried out.
  void Finished();

 private:
  // A fragment of a document and where its text is in the edit.
  struct Place {
    FoundFragment fragment;
    int from = 0;
    int to = 0;
  };
  // What the palette is asked about: the document, its revision when the fragment was selected,
  // and the fragment's place.
  struct Waiting {
    QPointer<EditorDocument> document;
    quint64 revision = 0;
    int from = 0;
    int to = 0;
  };

  void Watch(EditorDocument *document);
  // Counts every change of the document's text, an undo too, so an equal count is the same text.
  quint64 RevisionOf(const EditorDocument *document) const { return revisions_.value(document); }
  // The fragments of the document as its text would be saved now, read again when it changed.
  const std::vector<FoundFragment> &FragmentsOf(EditorDocument *document);
  std::optional<Place> PlaceAtCursor(EditorDocument *document);
  void Answered(QDBusPendingCallWatcher *call);

  PageEditorWindow &window_;
  EditorPrompts &prompts_;
  QDBusConnection bus_;
  QAction *action_;
  // The last page read, for its document's revision.
  QPointer<EditorDocument> readDocument_;
  quint64 readRevision_ = 0;
  QHash<const EditorDocument *, quint64> revisions_;
  std::vector<FoundFragment> readFragments_;
  std::optional<Waiting> waiting_;
};

}  // namespace vendigo
