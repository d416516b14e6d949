#include "pageeditor/document_recovery.h"

#include <sys/resource.h>
#include <unistd.h>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextDocument>
#include <QTimer>
#include <string>
#include <utility>

#include "pageeditor/document_encoding.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "pageeditor/sliced_text_reader.h"
#include "pageeditor/source_edit.h"

namespace vendigo {
namespace {

// The niceness of the thread that writes the copies.
constexpr int kWriterNice = 10;

// How a copy names the encoding its document's file is written in.
std::string EncodingName(const FileEncoding &encoding) {
  if (encoding.charset == FileEncoding::Charset::Windows1252) return "windows-1252";
  return encoding.byteOrderMark ? "utf-8 bom" : "utf-8";
}

FileEncoding EncodingNamed(const std::string &name) {
  FileEncoding encoding;
  if (name == "windows-1252") encoding.charset = FileEncoding::Charset::Windows1252;
  encoding.byteOrderMark = name == "utf-8 bom";
  return encoding;
}

QString Local(const std::string &text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

}  // namespace

DocumentRecovery::DocumentRecovery(PageEditorWindow &window, std::unique_ptr<RecoveryStore> store,
                                   int delayMs, QObject *parent)
    : QObject(parent), window_(window), store_(std::move(store)), delayMs_(delayMs) {
  writer_.setMaxThreadCount(1);
  for (EditorDocument *document : window_.Documents()) Keep(document);
  connect(&window_, &PageEditorWindow::DocumentAdded, this, &DocumentRecovery::Keep);
  connect(&window_, &PageEditorWindow::DocumentClosed, this, [this](EditorDocument *document) {
    const auto kept = kept_.constFind(document);
    if (kept == kept_.cend()) return;
    Remove(kept->slot);
    delete kept->timer;
    kept_.erase(kept);
  });
}

DocumentRecovery::~DocumentRecovery() {
  for (const Kept &kept : std::as_const(kept_)) delete kept.timer;
}

void DocumentRecovery::Keep(EditorDocument *document) {
  auto *timer = new QTimer(document);
  timer->setSingleShot(true);
  timer->setInterval(delayMs_);
  auto *reader =
      new SlicedTextReader(*document->Source()->document(), &SourceEdit::ContinuesLine, timer);
  kept_.insert(document, {store_->NewSlot(), timer, reader});
  connect(timer, &QTimer::timeout, reader, [document, reader] {
    if (document->IsModified()) reader->Start();
  });
  connect(reader, &SlicedTextReader::Read, this,
          [this, document](const QString &editorText) { Write(document, editorText); });
  connect(document->Source()->document(), &QTextDocument::contentsChanged, timer,
          qOverload<>(&QTimer::start));
  // Saved, or back to what the file holds: the file is the copy.
  connect(document, &EditorDocument::StateChanged, this, [this, document] {
    const auto kept = kept_.constFind(document);
    if (document->IsModified() || kept == kept_.cend()) return;
    kept->timer->stop();
    Remove(kept->slot);
  });
  // A document that goes without being closed goes with the editor, and keeps its copy.
  connect(document, &QObject::destroyed, this, [this, document] { kept_.remove(document); });
}

void DocumentRecovery::Write(EditorDocument *document, std::optional<QString> editorText) {
  const auto kept = kept_.constFind(document);
  if (!document->IsModified() || kept == kept_.cend()) return;
  RecoveryCopy copy{QFile::encodeName(document->Path()).toStdString(),
                    document->Path().isEmpty() ? document->UntitledName().toStdString() : "",
                    EncodingName(document->Encoding()), ""};
  writer_.start([store = store_.get(), slot = kept->slot, copy = std::move(copy),
                 bytes = editorText ? document->UnsavedBytesLater(std::move(*editorText))
                                    : document->UnsavedBytesLater(),
                 name = document->ListName()]() mutable {
    // A copy may wait: the window and the bus go first on a busy machine.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWriterNice);
    copy.text = bytes().toStdString();
    std::string reason;
    if (!store->Write(slot, copy, reason)) {
      qWarning("the recovery copy of %s cannot be written: %s", qUtf8Printable(name),
               reason.c_str());
    }
  });
}

void DocumentRecovery::Remove(int slot) {
  writer_.waitForDone();
  store_->Remove(slot);
}

void DocumentRecovery::WriteWaitingCopies() {
  for (auto kept = kept_.cbegin(); kept != kept_.cend(); ++kept) {
    if (!kept->timer->isActive() && !kept->reader->IsReading()) continue;
    kept->timer->stop();
    Write(kept.key());
  }
  writer_.waitForDone();
}

QHash<EditorDocument *, DocumentRecovery::Kept>::iterator DocumentRecovery::Restore(
    const RecoveryCopy &copy) {
  const QByteArrayView text(copy.text.data(), static_cast<qsizetype>(copy.text.size()));
  return kept_.find(window_.RecoverDocument(Local(copy.path), text, EncodingNamed(copy.encoding)));
}

bool DocumentRecovery::OfferOrphans(EditorPrompts &prompts, bool ask) {
  writer_.waitForDone();
  const std::vector<RecoveryStore::Orphan> orphans = store_->ClaimOrphans();
  if (orphans.empty()) return false;
  QStringList documents;
  for (const RecoveryStore::Orphan &orphan : orphans) {
    const RecoveryCopy &copy = orphan.copy;
    documents.append(copy.path.empty() ? QString::fromStdString(copy.untitledName)
                                       : Local(copy.path));
  }
  const EditorPrompts::RestoreAnswer answer =
      ask ? prompts.AskRestoreUnsavedWork(documents) : EditorPrompts::RestoreAnswer::Restore;
  if (answer == EditorPrompts::RestoreAnswer::Later) return false;
  const bool restore = answer == EditorPrompts::RestoreAnswer::Restore;
  for (const RecoveryStore::Orphan &orphan : orphans) {
    const auto kept = restore ? Restore(orphan.copy) : kept_.end();
    if (kept == kept_.end()) {
      Remove(orphan.slot);
      continue;
    }
    // The restored document takes the claimed copy over, which holds its text already; it is
    // written again for the document's new name.
    Remove(kept->slot);
    kept->slot = orphan.slot;
    Write(kept.key());
  }
  return restore;
}

}  // namespace vendigo
