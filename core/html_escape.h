#pragma once

#include <string>
#include <string_view>

namespace vendigo {

// Text made safe to stand between tags or inside a double-quoted attribute: "&", "<", ">" and
// the double quote as entities, every other byte as it is.
std::string EscapeHtmlText(std::string_view text);

}  // namespace vendigo
