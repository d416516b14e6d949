#pragma once

#include <cstddef>
#include <string_view>

#include "core/settings.h"
#include "html/markup_scanner.h"

namespace vendigo {

// What a fragment reader gives back: the builder's values, the settings the fragment shows (the
// settings given, with what its bytes say of the cart's address, currency sign, order button and
// view-cart text), and its extent [start, end) in the text read. When the bytes are not that kind
// of fragment, notRead says why and the rest means nothing.
template <typename Values>
struct FragmentRead {
  Values values{};
  Settings settings;
  std::size_t start = 0;
  std::size_t end = 0;
  const char *notRead = nullptr;

  explicit operator bool() const { return notRead == nullptr; }

  static FragmentRead Not(const char *why) {
    FragmentRead read;
    read.notRead = why;
    return read;
  }
};

// The values of a fragment that takes no input (the simple elements).
struct NoValues {};

// Where a reader looks: the text, where the tag or comment that anchors the fragment begins, and
// the first offset the fragment may reach back to (text before it belongs to something else).
struct ReadPlace {
  std::string_view text;
  std::size_t at = 0;
  std::size_t earliest = 0;
  const RawTag *tag = nullptr;  // the tag that begins at `at`; nullptr where none does
};

}  // namespace vendigo
