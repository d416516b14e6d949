#pragma once

#include <string>
#include <string_view>

namespace vendigo {

// Conditional blocks of a template: <zf_if="name">then<zf_else="name">else</zf_if="name">, the
// else part optional, tags found by exact (case-sensitive) search. Resolves the blocks of this
// name front to back, at most 49 per call, keeping then-parts when condition is true and
// else-parts when it is false. Blocks do not nest (an open tag pairs with the first close tag
// after it), a close tag before the first open tag stops all progress, and tags without their
// partner stay in the text. Each block costs one pass in time linear in the text's size, and the
// result is never longer than the text.
std::string ParseIfBlocks(std::string_view text, std::string_view name, bool condition);

}  // namespace vendigo
