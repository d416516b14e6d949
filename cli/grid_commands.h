#pragma once

#include <vector>

#include "cli/cli_commands.h"

namespace vendigo::cli {

// The commands of the two grid builders, each reading one JSON object:
// - "options": "Name" (text) and "Rows" (up to 19 lists of up to four texts: Description, Price,
//   Weight, Readable Text), the extended option list.
// - "addit": "Mode" ("checkbox", the default, "radio", "select" or "quantity"), "Rows" (up to
//   19 lists of up to five texts: Description, Price, Weight, Taxable, Smart Tax) and
//   "ProductInterface" (true to wrap a table into the whole product interface; false when
//   absent). The tax cells count only for PelluxGeneration 4, and "quantity" needs it.
// Missing rows and cells are empty; the cells are used as given, as the grid holds them.
std::vector<Command> GridCommands();

}  // namespace vendigo::cli
