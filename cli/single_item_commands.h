#pragma once

#include <vector>

#include "cli/cli_commands.h"

namespace vendigo::cli {

// pelluxadd (the hidden item field), quicklink (the one-click order link) and textadd (the
// shopper's text input). Each reads one JSON object whose keys are the dialog's fields; a missing
// key takes the field's initial value in the dialog. An unknown key, a value of the wrong type, or
// an empty field that the dialog's OK needs is an InputError.
void AppendSingleItemCommands(std::vector<Command> &commands);

}  // namespace vendigo::cli
