#pragma once

#include <string>

#include "cli/cli_commands.h"

namespace vendigo::cli {

// The "page" command: the product page built from the template file (read as the wizard reads
// it) and the input.
Command PageCommand();

}  // namespace vendigo::cli
