#pragma once

namespace vendigo {

// What a new document starts from: a small HTML5 page that declares UTF-8, the encoding the
// editor saves in, so a saved page says how to read it. The cursor stands on the empty line
// between the two parts, in the body, where the palette's first fragment goes.
inline constexpr char kNewPageBeforeCursor[] =
    "<!DOCTYPE html>\n"
    "<html>\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<title>New Page</title>\n"
    "</head>\n"
    "<body>\n";
inline constexpr char kNewPageAfterCursor[] =
    "\n"
    "</body>\n"
    "</html>\n";

}  // namespace vendigo
