#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/message_interface.h"
#include "editorlink/editor_host.h"

namespace vendigo {

inline constexpr char kCannotConnectMessage[] =
    "Cannot connect to Microsoft FrontPage.\r\nFrontPage is not configured properly, this is a "
    "FrontPage error and can be easily fixed!";
inline constexpr char kDetectAndRepairMessage[] =
    "Start Microsoft FrontPage then Click \"Help\" -> \"Detect and Repair\" this will fix many "
    "errors in FrontPage, not just the Vendigo issue at hand!";
inline constexpr char kNoDocumentOpenMessage[] = "No document is open!";
inline constexpr char kCouldNotConnectMessage[] = "Could not connect to document.";

// What happens after "Could not connect to document.": the program ends, or control returns
// to the command, which then does nothing further.
enum class FailurePolicy { EndProgram, KeepRunning };

enum class InsertOutcome {
  Inserted,
  NothingToInsert,    // a document was open, but the builder had nothing to insert
  FailedKeptRunning,  // the editor call failed and the program goes on
  ProgramEnded,       // the user was told why, and the program is ending
};

// The palette's one channel to the editor: connects once at start, then checks for an open
// document and inserts each fragment at the editor's insertion point.
class EditorLink {
 public:
  // Builds the fragment once a document is known to be open; nullopt inserts nothing.
  using FragmentBuilder = std::function<std::optional<std::string>()>;

  EditorLink(MessageInterface &messages, EditorHostFactory hostFactory);

  // Reaches the editor and brings it to the front. When that fails the user gets the two
  // connection messages, the program ends and the result is false.
  bool Connect();
  bool IsConnected() const { return host_ != nullptr; }

  // Throw AutomationFailure when the editor call fails or the link is not connected.
  std::string ListOpenDocs();
  void InsertHTML(const std::string &html);

  // The sequence every command ends with: ends the program when no document is open,
  // otherwise inserts html exactly as given; an editor failure is reported and handled as
  // the policy says. Errors other than AutomationFailure pass through to the caller.
  InsertOutcome InsertFragment(const std::string &html, FailurePolicy policy);
  // The same, with the fragment built between the open-document check and the insertion.
  InsertOutcome InsertFragment(const FragmentBuilder &build, FailurePolicy policy);

 private:
  EditorHost &ConnectedHost() const;

  MessageInterface &messages_;
  EditorHostFactory hostFactory_;
  std::shared_ptr<EditorHost> host_;
};

}  // namespace vendigo
