#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "builders/extended_option.h"
#include "builders/fragment_read.h"

namespace vendigo {

// The option list read back from the place of its select (named eop_<name>): the name written
// before it with ": " (no earlier than place.earliest), and one row per option, Description,
// Price and Weight from its value, the Readable Text as written. A first option that is not
// SELECTED stands after an empty first row, as the builder leaves grid row 1 unselected only
// when that row is empty.
FragmentRead<ExtendedOption> ReadExtendedOption(const ReadPlace &place);

// One option of a select as the builders write it: <OPTION VALUE="value"[ SELECTED]>shown, and
// the line break before the next option or the end of the list.
struct WrittenOption {
  std::string_view value;
  bool selected = false;
  std::string_view shown;
};

// The options after a select's start tag (selectEnd just past it), up to its end tag, and where
// that end tag ends; nullopt when the list is not closed or holds something other than options.
std::optional<std::pair<std::vector<WrittenOption>, std::size_t>> ReadWrittenOptions(
    std::string_view text, std::size_t selectEnd);

}  // namespace vendigo
