#include "editorlink/memory_editor_host.h"

#include <stdexcept>
#include <utility>

#include "editorlink/automation_failure.h"

namespace vendigo {

void MemoryEditorHost::OpenDocument(std::string name, std::string text) {
  const std::size_t end = text.size();
  documents_.push_back({std::move(name), std::move(text), end});
}

const std::string &MemoryEditorHost::ActiveText() const {
  if (documents_.empty()) throw std::logic_error("no document is open");
  return documents_.back().text;
}

void MemoryEditorHost::FailUnlessRunning() const {
  if (!running_) throw AutomationFailure("the editor is not running");
}

void MemoryEditorHost::BringToTop() {
  FailUnlessRunning();
  ++bringToTopCount_;
}

std::string MemoryEditorHost::ListOpenDocs() {
  FailUnlessRunning();
  std::string list;
  for (const Document &document : documents_) {
    if (!list.empty()) list += '\n';
    list += document.name;
  }
  return list;
}

void MemoryEditorHost::InsertHTML(const std::string &html) {
  FailUnlessRunning();
  if (documents_.empty()) throw AutomationFailure("no document is open");
  Document &active = documents_.back();
  active.text.insert(active.cursor, html);
  active.cursor += html.size();
}

}  // namespace vendigo
