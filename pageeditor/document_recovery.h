#pragma once

#include <QHash>
#include <QObject>
#include <QThreadPool>
#include <memory>
#include <optional>

#include "core/recovery_store.h"
#include "pageeditor/editor_prompts.h"

class QTimer;

namespace vendigo {

class EditorDocument;
class PageEditorWindow;
class SlicedTextReader;

// Keeps a recovery copy of each modified document of the window in a RecoveryStore, so that work
// outlives a crash, a kill or a logout: written a moment after the edits stop, removed once the
// document is saved or closed. A document that goes with the editor keeps its copy. The window
// thread only reads the text, a slice at a time between its other events (SlicedTextReader): a
// copy is encoded and written on a thread of its own, the copies in the order they were read, so
// a large document holds up no answer.
class DocumentRecovery : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDelayMs = 2000;

  DocumentRecovery(PageEditorWindow &window, std::unique_ptr<RecoveryStore> store,
                   int delayMs = kDelayMs, QObject *parent = nullptr);
  ~DocumentRecovery() override;

  // Offers the unsaved work of editors that ended without quitting, asking first when ask is
  // true. Restored work opens as modified documents; discarded work is deleted; work put off stays
  // for the next start. True when work was restored.
  bool OfferOrphans(EditorPrompts &prompts, bool ask);
  // Writes at once the copies still waiting for their moment, as when the editor must end now.
  void WriteWaitingCopies();

 private:
  struct Kept {
    int slot;
    QTimer *timer;             // a child of the document
    SlicedTextReader *reader;  // a child of the timer
  };

  void Keep(EditorDocument *document);
  // Writes the copy now (editorText as the reader gives it), or of the text as it is now.
  void Write(EditorDocument *document, std::optional<QString> editorText = std::nullopt);
  // Removes the copy of slot once the copies on their way are written.
  void Remove(int slot);
  // Opens the copy's document in the window; its entry in kept_.
  QHash<EditorDocument *, Kept>::iterator Restore(const RecoveryCopy &copy);

  PageEditorWindow &window_;
  std::unique_ptr<RecoveryStore> store_;
  int delayMs_;
  // Writes the copies one after the other; every other use of the store waits for it first.
  QThreadPool writer_;
  QHash<EditorDocument *, Kept> kept_;
};

}  // namespace vendigo
