#include "core/recovery_copy.h"

#include <array>
#include <utility>

namespace vendigo {
namespace {

constexpr std::string_view kFormatLine = "vendigo-pageeditor recovery copy 1\n";

std::string Escaped(std::string_view value) {
  std::string escaped;
  for (const char c : value) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::optional<std::string> Unescaped(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      text += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    if (value[i] == 'n') {
      text += '\n';
    } else if (value[i] == '\\') {
      text += '\\';
    } else {
      return std::nullopt;
    }
  }
  return text;
}

// The fields in the order they are written.
std::array<std::pair<std::string_view, std::string RecoveryCopy::*>, 3> Fields() {
  return {{{"path", &RecoveryCopy::path},
           {"untitled", &RecoveryCopy::untitledName},
           {"encoding", &RecoveryCopy::encoding}}};
}

}  // namespace

std::string RecoveryCopyBytes(const RecoveryCopy &copy) {
  std::string bytes(kFormatLine);
  for (const auto &[name, field] : Fields()) {
    bytes += std::string(name) + " " + Escaped(copy.*field) + "\n";
  }
  return bytes + "\n" + copy.text;
}

std::optional<RecoveryCopy> ReadRecoveryCopy(std::string_view bytes) {
  if (!bytes.starts_with(kFormatLine)) return std::nullopt;
  bytes.remove_prefix(kFormatLine.size());
  RecoveryCopy copy;
  for (const auto &[name, field] : Fields()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes.substr(0, end);
    if (!line.starts_with(name) || line.substr(name.size(), 1) != " ") return std::nullopt;
    std::optional<std::string> value = Unescaped(line.substr(name.size() + 1));
    if (!value) return std::nullopt;
    copy.*field = std::move(*value);
    bytes.remove_prefix(end + 1);
  }
  if (!bytes.starts_with('\n')) return std::nullopt;
  copy.text = bytes.substr(1);
  return copy;
}

}  // namespace vendigo
