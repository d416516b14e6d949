#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/settings.h"
#include "html/markup_scanner.h"

namespace vendigo {

// What a fragment's bytes say of the settings it was built with, as views into the text read; the
// rest is as the settings given. (A reader copies no settings: the caller does, once.)
struct ShownSettings {
  std::optional<std::string_view> CGI_BIN;
  std::optional<std::string_view> Currency;
  std::optional<std::string_view> OrderButton;
  std::optional<std::string_view> ViewCart;
  std::optional<int> PelluxGeneration;

  // settings, as given, with what the bytes show put in.
  void Into(Settings &settings) const {
    if (CGI_BIN) settings.CGI_BIN = *CGI_BIN;
    if (Currency) settings.Currency = *Currency;
    if (OrderButton) settings.OrderButton = *OrderButton;
    if (ViewCart) settings.ViewCart = *ViewCart;
    if (PelluxGeneration) settings.PelluxGeneration = *PelluxGeneration;
  }
};

// What a fragment reader gives back: the builder's values, what its bytes say of the settings
// (the cart's address, currency sign, order button, view-cart text, the cart's generation), and
// its extent [start, end) in the text read. When the bytes are not that kind of fragment, notRead
// says why and the rest means nothing.
template <typename Values>
struct FragmentRead {
  Values values{};
  ShownSettings shown;
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
