#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendigo {

// A number in a spreadsheet saved as CSV is written as the file's separator says: in a file
// separated by semicolons or tabs, "," is the decimal mark and "." or a blank (a space, a no-break
// space or a narrow no-break space) groups thousands; in a comma-separated file, "." is the
// decimal mark and "," groups thousands. Groups are one to three digits, then three digits each,
// all with the same mark, before the decimal mark only.

// The number in cell as the cart and the page builder read it: its digits with "." before the
// decimals and no group marks ("1.234,50" in a semicolon file gives "1234.50"). Blanks around the
// number are dropped. Nothing when cell is no number by the rule, or holds no digit.
std::optional<std::string> ReadSpreadsheetNumber(std::string_view cell, char separator);

// The rule for a file with this separator, in words for a message.
std::string_view DecimalMarkRule(char separator);

}  // namespace vendigo
