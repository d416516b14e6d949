#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vendigo {

// The editor that fragments are inserted into, as the editor link sees it. Each call throws
// AutomationFailure when it does not go through.
class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // Brings the editor window to the front.
  virtual void BringToTop() = 0;
  // The open documents, one per line; the empty text when none is open.
  virtual std::string ListOpenDocs() = 0;
  // Inserts html at the insertion point of the active document.
  virtual void InsertHTML(const std::string &html) = 0;
};

// Finds or starts the editor and returns a host for it; throws AutomationFailure when the
// editor cannot be reached.
using EditorHostFactory = std::function<std::shared_ptr<EditorHost>()>;

}  // namespace vendigo
