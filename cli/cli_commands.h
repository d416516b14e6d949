#pragma once

#include "fragments/fragment_commands.h"

namespace vendigo::cli {

// The fragment commands live in the core (fragments/); the command line only reads its options
// and calls them.
using vendigo::Command;
using vendigo::CommandFailure;
using vendigo::Commands;
using vendigo::FindCommand;
using vendigo::InputError;

}  // namespace vendigo::cli
