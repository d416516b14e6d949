#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vendigo {

// Text that is no JSON document. what() names the fault in the words scripts have always seen
// from vendigo-html ("unterminated object", "illegal value", ...); offset is where in the text
// it was found, counted in bytes from 0.
class JsonSyntaxError : public std::runtime_error {
 public:
  JsonSyntaxError(std::size_t offset, const std::string &reason)
      : std::runtime_error(reason), offset(offset) {}
  std::size_t offset;
};

// The JSON document in text (UTF-8; a leading byte order mark is skipped): an object or an
// array, nested at most 1024 deep. Control characters inside strings are taken as they stand,
// so a text pasted with its line breaks and tabs still reads. Throws JsonSyntaxError.
nlohmann::json ReadJsonDocument(std::string_view text);

}  // namespace vendigo
