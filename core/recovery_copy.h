#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendigo {

// A document's unsaved text kept aside so that it outlives the editor, with what it takes to open
// the document again as it was.
struct RecoveryCopy {
  std::string path;          // the document's file; empty for a document never saved
  std::string untitledName;  // the name of a document never saved ("Untitled 2")
  std::string encoding;      // how the document's file is written, in the editor's own words
  std::string text;          // the text as the editor holds it, any bytes
};

// The copy as a file: a first line naming the format, one line per field ("path /a/b.html"; a
// line break in a value is written "\n", a backslash "\\"), an empty line, then the text as it is.
std::string RecoveryCopyBytes(const RecoveryCopy &copy);
// The copy that RecoveryCopyBytes wrote; nullopt for bytes it did not write.
std::optional<RecoveryCopy> ReadRecoveryCopy(std::string_view bytes);

}  // namespace vendigo
