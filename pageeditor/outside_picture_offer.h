#pragma once

#include <QString>

namespace vendigo {

class EditorDocument;
class EditorPrompts;

// Before a page is saved to path: when it refers to pictures outside its site (file: addresses,
// paths of this computer's disk, relative paths out of the site), offers to copy them into the
// folder "images" beside the page and to refer to the copies (OutsidePicturePlan). On yes the
// copies are made and the addresses in the document change as one undo step; the save that
// follows writes them. Pictures whose files are missing are reported and left as they are.
void OfferToBringPicturesIn(EditorDocument &document, const QString &path, EditorPrompts &prompts);

// The site a page belongs to: the nearest folder above it, its own included, that has a
// publishing target, else the page's own folder.
QString SiteFolderOfPage(const QString &path);

}  // namespace vendigo
