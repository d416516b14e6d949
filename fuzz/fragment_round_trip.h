#pragma once

// The defining property of reading fragments back: what is read from a built fragment, alone or
// inside a page, builds that fragment again, byte for byte, and spans the whole of it.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "core/json_fields.h"
#include "core/settings.h"
#include "fragments/fragment_commands.h"
#include "fragments/fragment_reading.h"

namespace vendigo::test {

// The fragment the command builds from input, or nullopt when the command refuses the input or
// builds nothing.
inline std::optional<std::string> BuiltFragment(const std::string &command,
                                                const Settings &settings,
                                                const nlohmann::json &input) {
  try {
    std::string html = FindCommand(command)->build(settings, input);
    if (html.empty()) return std::nullopt;
    return html;
  } catch (const JsonInputError &) {
  } catch (const CommandFailure &) {
  }
  return std::nullopt;
}

// "" when the property holds for html, built by command; otherwise what went wrong.
inline std::string Shortened(const std::string &text) {
  return text.size() <= 300 ? text : text.substr(0, 300) + "...";
}

inline std::string RoundTripFault(const std::string &command, const Settings &settings,
                                  const std::string &html) {
  static const std::pair<const char *, const char *> pages[] = {
      {"", ""}, {"<html><body><p>Before: 1 &amp; 2</p>\r\n", "\r\n<p>After</p></body></html>"}};
  for (const auto &[before, after] : pages) {
    const std::string page = before + html + after;
    const std::vector<FoundFragment> found = ReadFragments(page, settings);
    const std::string where = std::string(*before ? "in a page" : "alone") + ": ";
    if (found.size() != 1) return where + std::to_string(found.size()) + " fragments read";
    const FoundFragment &fragment = found.front();
    if (fragment.kind != command) return where + "read as " + fragment.kind;
    if (fragment.start.offset != std::string_view(before).size() ||
        fragment.end != fragment.start.offset + html.size()) {
      return where + "read from " + std::to_string(fragment.start.offset) + " to " +
             std::to_string(fragment.end);
    }
    const std::optional<std::string> again =
        BuiltFragment(command, fragment.settings, fragment.input);
    if (again != html) {
      return where + "input " +
             Shortened(
                 fragment.input.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)) +
             " builds " + (again ? Shortened(*again) : std::string("nothing"));
    }
  }
  return {};
}

}  // namespace vendigo::test
