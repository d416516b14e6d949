#pragma once

#include <cstddef>
#include <string_view>

#include "builders/fragment_read.h"
#include "builders/text_option.h"

namespace vendigo {

// The text option read back from the place of its input (named textadd_<caption>_<price>): the
// caption written before it with ": ", the size and maximum length, and the note after it, whose
// price gives the currency sign. Caption and price are split where the text before the input is
// the caption (no earlier than place.earliest) and the note agrees with the price.
FragmentRead<TextOption> ReadTextOption(const ReadPlace &place);

// Where a text that QuoteToEntity wrote as quoted begins when it ends at end, written as typed;
// npos when the text before end is not such a text (or begins before earliest).
std::size_t TypedTextBefore(std::string_view text, std::size_t end, std::size_t earliest,
                            std::string_view quoted);

}  // namespace vendigo
