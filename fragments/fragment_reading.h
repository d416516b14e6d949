#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "html/html_document.h"

namespace vendigo {

// One fragment of a page, read back into the values that built it.
struct FoundFragment {
  std::string kind;      // the vendigo-html command that builds it: "quicklink", "addit", "form"...
  SourcePlace start;     // its first byte in the file, with that byte's line and column
  std::size_t end = 0;   // the file offset just past its last byte
  nlohmann::json input;  // that command's JSON input
  // The settings it was built with as far as its bytes show them (the cart's address, the currency
  // sign, the order button...); the rest as given to ReadFragments. Building kind from input with
  // these settings gives the fragment's bytes again, when nobody edited it by hand.
  Settings settings;
};

// Every fragment of a page (or of a fragment alone), in document order; fragments never overlap.
std::vector<FoundFragment> ReadFragments(std::string_view pageBytes, const Settings &settings);

// The fragment whose bytes hold the file offset, or nullptr. Points into fragments.
const FoundFragment *FragmentAt(const std::vector<FoundFragment> &fragments, std::size_t offset);

}  // namespace vendigo
