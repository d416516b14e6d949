#pragma once

#include <string>

#include "core/settings.h"

namespace vendigo::cli {

inline constexpr char kReadCommand[] = "read";
inline constexpr char kReadSummary[] =
    "the fragments of the page or fragment read from --input FILE or standard input, one JSON "
    "object a line: kind, line, column, start, end and the kind's JSON input";

// The "read" command: the page's bytes (from inputFile, or standard input when it is empty)
// read back into fragments, written to standard output as JSON Lines. The settings tell the cart
// program's address and the order button apart where a page's bytes alone cannot. Throws
// InputError when the input cannot be read. Returns the exit status: 0.
int RunReadCommand(const Settings &settings, const std::string &inputFile);

}  // namespace vendigo::cli
