#include "core/json_fields.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <utility>

namespace vendigo {

void Refuse(const std::string &message) {
  throw JsonInputError(message);
}

const nlohmann::json *Field(const nlohmann::json &object, std::string_view key) {
  const auto member = object.find(key);
  return member == object.end() ? nullptr : &*member;
}

void CheckKeys(const nlohmann::json &object, const std::vector<std::string> &known,
               const std::string &where) {
  for (const auto &[key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      std::string list;
      for (const std::string &name : known) list += (list.empty() ? "" : ", ") + name;
      Refuse("unknown key '" + key + "' in " + where + "; the keys are " + list);
    }
  }
}

std::string Text(const nlohmann::json *value, const std::string &where) {
  if (!value) return "";
  if (!value->is_string()) Refuse(where + " must be a text");
  return value->get<std::string>();
}

bool Flag(const nlohmann::json *value, const std::string &where) {
  if (!value) return false;
  if (!value->is_boolean()) Refuse(where + " must be true or false");
  return value->get<bool>();
}

std::vector<std::vector<std::string>> Rows(const nlohmann::json *value, const std::string &where,
                                           std::size_t maxRows, std::size_t cells,
                                           const std::string &columns) {
  std::vector<std::vector<std::string>> rows;
  if (!value) return rows;
  if (!value->is_array()) Refuse(where + " must be a list of rows");
  if (value->size() > maxRows) {
    Refuse(where + " has " + std::to_string(value->size()) + " rows; the grid has " +
           std::to_string(maxRows));
  }
  for (std::size_t r = 0; r < value->size(); ++r) {
    const std::string rowName = where + " row " + std::to_string(r + 1);
    const nlohmann::json &row = (*value)[r];
    if (!row.is_array()) {
      Refuse(rowName + " must be a list of up to " + std::to_string(cells) + " texts (" + columns +
             ")");
    }
    if (row.size() > cells) {
      Refuse(rowName + " has " + std::to_string(row.size()) + " cells; a row has at most " +
             std::to_string(cells) + " (" + columns + ")");
    }
    std::vector<std::string> texts(cells);
    for (std::size_t c = 0; c < row.size(); ++c) {
      texts[c] = Text(&row[c], rowName + " cell " + std::to_string(c + 1));
    }
    rows.push_back(std::move(texts));
  }
  return rows;
}

}  // namespace vendigo
