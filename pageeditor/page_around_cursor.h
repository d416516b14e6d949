#pragma once

#include <QString>

namespace vendigo {

// The part of a large page that the rendered view lays out: the page up to its body's content
// (the head and the body's start tag), the elements of the body around cursor (a position in
// page) that cover about size characters, and the page from the body's end tag on. The part is
// cut only between elements, so its HTML is as well formed as the page's. When a single element
// around the cursor is larger than size, its start tag is kept and the part is cut among its
// children, and so on down; the elements so opened are closed after the part. A page without a
// body tag has its body after its head's end tag, or from its start.
//
// The elements are found by a scan of the source that knows comments, quoted attribute values,
// the elements whose content is text (script, style, textarea, title, ...), the void elements
// and the end tags that HTML lets a page leave out (a p ends at the next block, an li at the next
// li, ...). Returns the page itself when the part would be the whole body.
QString PageAroundCursor(const QString &page, qsizetype cursor, qsizetype size);

}  // namespace vendigo
