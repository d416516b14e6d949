#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "editorlink/editor_link.h"

namespace vendigo {

// A palette command that inserts one fixed fragment at once, without a dialog.
struct SimpleElementCommand {
  std::string caption;  // the palette button's caption
  std::string name;     // the vendigo-html command
  std::string summary;  // what the fragment is, for help texts
  FailurePolicy policy;
  std::string (*build)(const Settings &);  // an empty fragment means nothing to insert
};

// Insert Form, Quantity Box, View Cart Link, Buy Button and the eBay form, in palette order.
const std::vector<SimpleElementCommand> &SimpleElementCommands();

// Runs the command: checks for an open document, builds the fragment from the current settings
// and inserts it; an empty fragment is not inserted and shows nothing.
InsertOutcome RunSimpleElementCommand(const SimpleElementCommand &command, const Settings &settings,
                                      EditorLink &link);

}  // namespace vendigo
