#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendigo {

// Carries a change made by rebuilding a fragment into the merchant's own copy of it. built is
// what the fragment's builder gives for the values read from edited (the bytes in the page, which
// the merchant may have changed by hand: filled in the ordering instructions, reworded a caption),
// rebuilt what it gives for the new values. Each place where rebuilt differs from built is made
// in edited too, and everything the merchant changed stays. nullopt when a change falls on or
// right beside something the merchant changed, so it cannot be carried safely (the caller says
// to check that place by hand).
std::optional<std::string> CarryRebuild(std::string_view edited, std::string_view built,
                                        std::string_view rebuilt);

}  // namespace vendigo
