#include "pageeditor/editor_document.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <optional>
#include <string>
#include <utility>

#include "core/file_reading.h"
#include "core/file_replacement.h"
#include "pageeditor/document_encoding.h"
#include "pageeditor/source_edit.h"

namespace vendigo {
EditorDocument::EditorDocument(QString untitledName, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent),
      untitledName_(std::move(untitledName)),
      source_(new SourceEdit(this)),
      rendered_(new QTextBrowser(this)) {
  source_->setObjectName("Source");
  source_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  source_->setLineWrapMode(QPlainTextEdit::NoWrap);
  rendered_->setObjectName("Rendered");
  rendered_->setOpenLinks(false);
  addWidget(source_);
  addWidget(rendered_);
  setStretchFactor(0, 1);
  setStretchFactor(1, 1);
  setFocusProxy(source_);

  renderTimer_.setSingleShot(true);
  renderTimer_.setInterval(kRenderDelayMs);
  connect(&renderTimer_, &QTimer::timeout, this, &EditorDocument::RefreshRendered);
  connect(source_->document(), &QTextDocument::contentsChanged, &renderTimer_,
          qOverload<>(&QTimer::start));
  connect(source_->document(), &QTextDocument::modificationChanged, this,
          &EditorDocument::StateChanged);
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
  ShowPicturesFrom(QFileInfo(path_).absolutePath());
  RefreshRendered();
  emit StateChanged();
  return true;
}

bool EditorDocument::SaveAs(const QString &path, QString *error) {
  const QByteArray bytes = DocumentEncoding::Encode(source_->Text(), encoding_);
  std::string reason;
  if (!ReplaceFileContents(QFile::encodeName(path).constData(),
                           std::string_view(bytes.constData(), bytes.size()), reason)) {
    *error = QString::fromStdString(reason);
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  ShowPicturesFrom(QFileInfo(path_).absolutePath());
  source_->document()->setModified(false);
  emit StateChanged();
  return true;
}

void EditorDocument::ShowPicturesFrom(const QString &folder) {
  rendered_->document()->setBaseUrl(QUrl::fromLocalFile(folder + "/"));
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

void EditorDocument::InsertAtCursor(const QString &text) {
  source_->InsertAtCursor(text);
}

void EditorDocument::RefreshRendered() {
  renderTimer_.stop();
  const int scroll = rendered_->verticalScrollBar()->value();
  rendered_->setHtml(Text());
  rendered_->verticalScrollBar()->setValue(scroll);
}

}  // namespace vendigo
