#pragma once

#include <string>
#include <vector>

#include "core/settings.h"

namespace vendigo::cli {

inline constexpr char kRepriceCommand[] = "reprice";
inline constexpr char kRepriceSummary[] =
    "sets the prices of --prices FILE (a spreadsheet with Description, Price and maybe Weight) "
    "in every fragment of the pages PATH... that names their descriptions; --dry-run";

struct RepriceArguments {
  std::string pricesFile;
  std::vector<std::string> paths;
  bool dryRun = false;  // nothing is written
  bool quiet = false;   // no progress bar
};

// The "reprice" command: one line per change ("file:line: Mug: 4.50 → 4.90 (quick link)"), then
// the spreadsheet's descriptions that matched nothing, the places to check by hand and a closing
// count on standard output; pages that could not be read or written on standard error. Returns the
// exit status: 0 done, 1 a page could not be read or written. Throws InputError (status 2) when
// the spreadsheet cannot be read or used.
int RunRepriceCommand(const Settings &settings, const RepriceArguments &arguments);

}  // namespace vendigo::cli
