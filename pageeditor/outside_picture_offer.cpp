#include "pageeditor/outside_picture_offer.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStringList>
#include <filesystem>

#include "core/file_error.h"
#include "core/program_folders.h"
#include "pageeditor/editor_document.h"
#include "pageeditor/editor_prompts.h"
#include "pageeditor/source_edit.h"
#include "pages/outside_pictures.h"
#include "publish/publish_target_store.h"

namespace vendigo {

QString SiteFolderOfPage(const QString &path) {
  const std::filesystem::path targets = PublishTargetsFile(ProcessXdgEnvironment());
  const QString own = QFileInfo(path).absolutePath();
  for (std::filesystem::path folder = QFile::encodeName(own).toStdString();;
       folder = folder.parent_path()) {
    if (LoadPublishTargetUrl(targets, folder)) return QFile::decodeName(folder.c_str());
    if (folder == folder.parent_path()) return own;
  }
}

void OfferToBringPicturesIn(EditorDocument &document, const QString &path, EditorPrompts &prompts) {
  const QByteArray bytes = document.SavedBytesLater()();
  const OutsidePicturePlan plan =
      PlanOutsidePictures(QFile::encodeName(path).toStdString(),
                          QFile::encodeName(SiteFolderOfPage(path)).toStdString(),
                          std::string_view(bytes.constData(), bytes.size()));
  QStringList pictures;
  for (const OutsideReference &reference : plan.references) {
    if (!reference.newAddress.empty() && !pictures.contains(reference.address.c_str())) {
      pictures << QString::fromStdString(reference.address);
    }
  }
  const QString title = QFileInfo(path).fileName();
  if (!pictures.isEmpty() && prompts.AskCopyOutsidePictures(title, pictures)) {
    // The text first: it may refuse, and then no copy is made.
    QList<TextReplacement> replacements;
    for (const PageTextEdit &edit : plan.edits) {
      replacements.push_back({edit.begin.line, edit.begin.column, edit.end.line, edit.end.column,
                              QString::fromStdString(edit.written),
                              QString::fromStdString(edit.text)});
    }
    if (!document.Replace(replacements)) {
      prompts.ShowError(
          QStringLiteral("The addresses of the pictures in %1 could not be changed.").arg(title));
    } else {
      try {
        CopyPictures(plan.copies);
      } catch (const FileError &error) {
        document.Source()->undo();
        prompts.ShowError(QStringLiteral("Could not copy the pictures of %1: %2")
                              .arg(title, QString::fromStdString(error.what())));
      }
    }
  }
  if (!plan.missing.empty()) {
    QStringList missing;
    for (const std::string &address : plan.missing) missing << QString::fromStdString(address);
    prompts.ShowError(QStringLiteral("These pictures of %1 do not exist on this computer, so "
                                     "their addresses were left as they are:\n\n%2")
                          .arg(title, missing.join(u'\n')));
  }
}

}  // namespace vendigo
