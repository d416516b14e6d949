#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// A JSON input that is well formed but unusable: a wrong type, an unknown key or value. The
// message names the key at fault.
class JsonInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reading the fields of a JSON input object. Each refusal throws JsonInputError; `where` names
// the value read ("Rows", "Options group 1 Rows"). A field that is absent is nullptr.

[[noreturn]] void Refuse(const std::string &message);

// The member key of object; nullptr when it has none.
const nlohmann::json *Field(const nlohmann::json &object, std::string_view key);

// Refuses the first key of object (in byte order) that is not among known.
void CheckKeys(const nlohmann::json &object, const std::vector<std::string> &known,
               const std::string &where);

// The text of value; "" when it is absent.
std::string Text(const nlohmann::json *value, const std::string &where);

// The yes/no of value; false when it is absent.
bool Flag(const nlohmann::json *value, const std::string &where);

// The rows of a grid: a list of at most maxRows lists of at most cells texts, each row filled up
// with empty texts to cells texts; no rows when absent. columns names the cells for the messages.
std::vector<std::vector<std::string>> Rows(const nlohmann::json *value, const std::string &where,
                                           std::size_t maxRows, std::size_t cells,
                                           const std::string &columns);

}  // namespace vendigo
