#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "editorlink/editor_host.h"

namespace vendigo {

// An editor held in memory, for tests and for running without a real editor: open documents
// with a text and an insertion point each; the last one opened is the active one.
class MemoryEditorHost : public EditorHost {
 public:
  struct Document {
    std::string name;
    std::string text;
    std::size_t cursor = 0;  // byte offset of the insertion point in text
  };

  // Opens a document with the insertion point at the end of its text; it becomes active.
  void OpenDocument(std::string name, std::string text = {});
  void CloseAllDocuments() { documents_.clear(); }
  // Every later call fails, as when the editor has been closed.
  void Quit() { running_ = false; }

  const std::vector<Document> &Documents() const { return documents_; }
  // The active document's text; throws std::logic_error when none is open.
  const std::string &ActiveText() const;
  int BringToTopCount() const { return bringToTopCount_; }

  void BringToTop() override;
  std::string ListOpenDocs() override;
  void InsertHTML(const std::string &html) override;

 private:
  void FailUnlessRunning() const;

  std::vector<Document> documents_;
  bool running_ = true;
  int bringToTopCount_ = 0;
};

}  // namespace vendigo
