#pragma once

#include <string>

#include "core/settings.h"

namespace vendigo {

inline constexpr char kDefaultTextOptionSize[] = "20";

// A text input in which the shopper types text that belongs to the ordered item.
struct TextOption {
  std::string caption;  // what the text is for
  std::string price;
  std::string size = kDefaultTextOptionSize;
  std::string maxLength = kDefaultTextOptionSize;

  friend bool operator==(const TextOption &, const TextOption &) = default;
};

// The caption, a text input named textadd_<caption>_<price> with its SIZE and MAXLENGTH, and a
// small note with the character limit and, when the price converts to more than 0, the price as
// typed after the currency sign. Texts are written as typed, except that inside the attributes a
// double quote is written as "&quot;".
std::string TextOptionHtml(const Settings &settings, const TextOption &option);

}  // namespace vendigo
