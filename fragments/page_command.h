#pragma once

#include "fragments/fragment_commands.h"

namespace vendigo {

// The "page" command: the product page built from the template file (read as the wizard reads
// it) and the input.
Command PageCommand();

}  // namespace vendigo
