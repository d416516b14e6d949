#include "pageeditor/editor_document.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <string>
#include <utility>

#include "core/text_encoding.h"
#include "pageeditor/new_page.h"
#include "pageeditor/rendered_view.h"
#include "pageeditor/sliced_text_reader.h"
#include "pageeditor/source_edit.h"
#include "pageeditor/source_text.h"

namespace vendigo {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

}  // namespace

EditorDocument::EditorDocument(QString untitledName, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent),
      untitledName_(std::move(untitledName)),
      source_(new SourceEdit(this)),
      rendered_(new RenderedView(this)),
      sourceReader_(new SlicedTextReader(*source_->document(), this)) {
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
  connect(source_->document(), &QTextDocument::contentsChanged, &renderTimer_,
          qOverload<>(&QTimer::start));
  // The edit's raw text becomes the page's text on a worker thread. A browser reads every line
  // end alike, so the page keeps LF ones.
  connect(sourceReader_, &SlicedTextReader::Read, this, [this](const QString &raw) {
    rendered_->Render([raw] { return SourceText::FromEditor(raw, LineEnd::Lf); },
                      path_.isEmpty() ? QUrl() : QUrl::fromLocalFile(path_));
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
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = file.errorString();
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    *error = file.errorString();
    return false;
  }
  hasByteOrderMark_ = bytes.startsWith(kUtf8Bom);
  const std::string text = DecodeTextFile(std::string_view(bytes.constData(), bytes.size()));
  const QString content = QString::fromStdString(text);
  path_ = QFileInfo(path).absoluteFilePath();
  source_->SetText(content);
  source_->document()->setModified(false);
  RefreshRendered();
  emit StateChanged();
  return true;
}

bool EditorDocument::SaveAs(const QString &path, QString *error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    *error = file.errorString();
    return false;
  }
  if (hasByteOrderMark_) file.write(kUtf8Bom);
  file.write(Text().toUtf8());
  if (!file.commit()) {
    *error = file.errorString();
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  renderTimer_.start();  // relative references now resolve against the new file
  source_->document()->setModified(false);
  emit StateChanged();
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
  return source_->Text();
}

void EditorDocument::InsertAtCursor(const QString &text) {
  source_->InsertAtCursor(text);
}

void EditorDocument::RefreshRendered() {
  renderTimer_.stop();
  sourceReader_->Start();
}

}  // namespace vendigo
