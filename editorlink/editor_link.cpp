#include "editorlink/editor_link.h"

#include <utility>

#include "editorlink/automation_failure.h"

namespace vendigo {

EditorLink::EditorLink(MessageInterface &messages, EditorHostFactory hostFactory)
    : messages_(messages), hostFactory_(std::move(hostFactory)) {}

bool EditorLink::Connect() {
  try {
    auto host = hostFactory_ ? hostFactory_() : nullptr;
    if (!host) throw AutomationFailure("no editor host");
    host->BringToTop();
    host_ = std::move(host);
    return true;
  } catch (const AutomationFailure &) {
    host_.reset();
    messages_.ShowError(kCannotConnectMessage);
    messages_.ShowError(kDetectAndRepairMessage);
    messages_.EndProgram();
    return false;
  }
}

EditorHost &EditorLink::ConnectedHost() const {
  if (!host_) throw AutomationFailure("the editor link is not connected");
  return *host_;
}

std::string EditorLink::ListOpenDocs() {
  return ConnectedHost().ListOpenDocs();
}

void EditorLink::InsertHTML(const std::string &html) {
  ConnectedHost().InsertHTML(html);
}

InsertOutcome EditorLink::InsertFragment(const std::string &html, FailurePolicy policy) {
  return InsertFragment([&html]() -> std::optional<std::string> { return html; }, policy);
}

InsertOutcome EditorLink::InsertFragment(const FragmentBuilder &build, FailurePolicy policy) {
  try {
    if (ListOpenDocs().empty()) {
      messages_.ShowError(kNoDocumentOpenMessage);
      messages_.EndProgram();
      return InsertOutcome::ProgramEnded;
    }
    const std::optional<std::string> html = build();
    if (!html) return InsertOutcome::NothingToInsert;
    InsertHTML(*html);
    return InsertOutcome::Inserted;
  } catch (const AutomationFailure &) {
    messages_.ShowError(kCouldNotConnectMessage);
    if (policy == FailurePolicy::KeepRunning) return InsertOutcome::FailedKeptRunning;
    messages_.EndProgram();
    return InsertOutcome::ProgramEnded;
  }
}

}  // namespace vendigo
