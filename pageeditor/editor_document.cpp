#include "pageeditor/editor_document.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <optional>
#include <string>
#include <utility>

#include "core/file_reading.h"
#include "core/file_replacement.h"
#include "core/text_encoding.h"
#include "pageeditor/document_encoding.h"
#include "pageeditor/new_page.h"
#include "pageeditor/rendered_view.h"
#include "pageeditor/sliced_text_reader.h"
#include "pageeditor/source_edit.h"
#include "pageeditor/source_text.h"

namespace vendigo {
namespace {

// Why a file past kMaxFileBytes is neither written nor inserted into.
QString TooLargeToOpenReason() {
  return QString::fromStdString(TooLargeReason(kMaxFileBytes)) + ", more than the editor opens";
}

// The most bytes that one UTF-16 unit of the edit takes in the saved file: three in UTF-8 (a
// block break is at most CR LF); in Windows-1252 a character it lacks is a reference such as
// "&#65533;".
qsizetype MostBytesPerUnit(const FileEncoding &encoding) {
  return encoding.charset == FileEncoding::Charset::Utf8 ? 3 : 8;
}

}  // namespace

EditorDocument::EditorDocument(QString untitledName, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent),
      untitledName_(std::move(untitledName)),
      source_(new SourceEdit(this)),
      rendered_(new RenderedView(this)),
      sourceReader_(new SlicedTextReader(*source_->document(), &SourceEdit::ContinuesLine, this)) {
  source_->setObjectName("Source");
  source_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  source_->setLineWrapMode(QPlainTextEdit::NoWrap);
  rendered_->setObjectName("Rendered");
  addWidget(source_);
  addWidget(rendered_);
  setStretchFactor(0, 1);
  setStretchFactor(1, 1);
  setFocusProxy(source_);

  renderTimer_.setSingleShot(true);
  renderTimer_.setInterval(kRenderDelayMs);
  connect(&renderTimer_, &QTimer::timeout, this, &EditorDocument::RefreshRendered);
  connect(source_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (IsLarge()) {
      rendered_->SetOutdated(true);
    } else {
      renderTimer_.start();
    }
  });
  // The edit's raw text becomes the page's text on a worker thread, as Text() gives it. A browser
  // reads every line end alike, so the page keeps LF ones.
  // A large page is laid out only around the cursor: the engine would take gigabytes for all of
  // it. Its text has as many characters as the edit's raw text (one for each line end), so the
  // cursor's place in the raw text is its place in the page.
  connect(sourceReader_, &SlicedTextReader::Read, this, [this](const QString &raw) {
    std::optional<RenderedView::Part> part;
    if (partCursor_ >= 0) part = RenderedView::Part{partCursor_, kRenderedPartCharacters};
    rendered_->Render(
        [raw] { return DocumentEncoding::Shown(SourceText::FromEditor(raw, LineEnd::Lf)); },
        path_.isEmpty() ? QUrl() : QUrl::fromLocalFile(path_), part);
  });
  connect(source_->document(), &QTextDocument::modificationChanged, this,
          &EditorDocument::StateChanged);
}

void EditorDocument::StartNewPage() {
  const QString before = QString::fromUtf8(kNewPageBeforeCursor);
  source_->SetText(before + QString::fromUtf8(kNewPageAfterCursor));
  QTextCursor cursor = source_->textCursor();
  cursor.setPosition(static_cast<int>(before.size()));
  source_->setTextCursor(cursor);
  source_->document()->setModified(false);
}

bool EditorDocument::Load(const QString &path, QString *error) {
  std::string reason;
  const std::optional<std::string> read =
      ReadFileBytes(QFile::encodeName(path).constData(), reason);
  if (!read) {
    *error = QString::fromStdString(reason);
    return false;
  }
  const DecodedFile file = DocumentEncoding::Decode(QByteArrayView(read->data(), read->size()));
  encoding_ = file.encoding;
  path_ = QFileInfo(path).absoluteFilePath();
  source_->SetText(file.text);
  source_->document()->setModified(false);
  RefreshRendered();
  emit StateChanged();
  return true;
}

void EditorDocument::Recover(const QString &path, QByteArrayView unsavedBytes,
                             const FileEncoding &encoding) {
  encoding_ = encoding;
  path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
  source_->SetText(DocumentEncoding::DecodeUtf8(unsavedBytes));
  source_->document()->setModified(true);
  RefreshRendered();
  emit StateChanged();
}

bool EditorDocument::SaveAs(const QString &path, QString *error) {
  const QByteArray bytes = DocumentEncoding::Encode(source_->Text(), encoding_);
  if (static_cast<std::size_t>(bytes.size()) > kMaxFileBytes) {
    *error = TooLargeToOpenReason();
    return false;
  }
  std::string reason;
  if (!ReplaceFileContents(QFile::encodeName(path).constData(),
                           std::string_view(bytes.constData(), bytes.size()), reason)) {
    *error = QString::fromStdString(reason);
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  renderTimer_.start();  // relative references now resolve against the new file
  source_->document()->setModified(false);
  emit StateChanged();
  emit Saved();
  return true;
}

QString EditorDocument::Title() const {
  return path_.isEmpty() ? untitledName_ : QFileInfo(path_).fileName();
}

bool EditorDocument::IsModified() const {
  return source_->document()->isModified();
}

QPlainTextEdit *EditorDocument::Source() const {
  return source_;
}

QString EditorDocument::Text() const {
  return DocumentEncoding::Shown(source_->Text());
}

QByteArray EditorDocument::UnsavedBytes() const {
  return UnsavedBytesLater()();
}

std::function<QByteArray()> EditorDocument::UnsavedBytesLater() const {
  return UnsavedBytesLater(source_->EditorText());
}

std::function<QByteArray()> EditorDocument::UnsavedBytesLater(QString editorText) const {
  return [raw = std::move(editorText), lineEnd = source_->DocumentLineEnd()] {
    return DocumentEncoding::Encode(SourceText::FromEditor(raw, lineEnd), FileEncoding());
  };
}

std::function<QByteArray()> EditorDocument::SavedBytesLater() const {
  return [raw = source_->EditorText(), lineEnd = source_->DocumentLineEnd(), encoding = encoding_] {
    return DocumentEncoding::Encode(SourceText::FromEditor(raw, lineEnd), encoding);
  };
}

void EditorDocument::ShowPlace(int line, int column) {
  source_->setTextCursor(source_->CursorAt(line, column));
  source_->ensureCursorVisible();
  source_->setFocus();
}

void EditorDocument::InsertAtCursor(const QString &text) {
  source_->InsertAtCursor(text);
}

bool EditorDocument::InsertWithinLimit(const QString &text, QString *error) {
  const QString inserted = SourceText::WithLineEnd(text, source_->DocumentLineEnd());
  // Counting the bytes encodes the whole text, so it is done only when the file could come near
  // the limit.
  const qsizetype units = source_->document()->characterCount() + inserted.size();
  if (static_cast<std::size_t>(units * MostBytesPerUnit(encoding_)) + 3 > kMaxFileBytes) {
    FileEncoding withoutMark = encoding_;
    withoutMark.byteOrderMark = false;
    const qsizetype bytes = DocumentEncoding::Encode(source_->Text(), encoding_).size() +
                            DocumentEncoding::Encode(inserted, withoutMark).size();
    if (static_cast<std::size_t>(bytes) > kMaxFileBytes) {
      *error = QStringLiteral("Could not insert into %1: %2").arg(Title(), TooLargeToOpenReason());
      return false;
    }
  }
  InsertAtCursor(text);
  return true;
}

bool EditorDocument::Replace(const QList<TextReplacement> &replacements) {
  return source_->Replace(replacements);
}


void EditorDocument::RefreshRendered() {
  renderTimer_.stop();
  rendered_->SetOutdated(false);
  partCursor_ = IsLarge() ? source_->EditorPosition(source_->textCursor().position()) : -1;
  sourceReader_->Start();
}

bool EditorDocument::IsLarge() const {
  return source_->document()->characterCount() > kLivePreviewCharacters;
}

}  // namespace vendigo
