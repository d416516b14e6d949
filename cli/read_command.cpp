#include "cli/read_command.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdio>
#include <optional>

#include "cli/cli_commands.h"
#include "core/file_reading.h"
#include "fragments/fragment_reading.h"

namespace vendigo::cli {

int RunReadCommand(const Settings &settings, const std::string &inputFile) {
  const std::string source = inputFile.empty() ? "standard input" : inputFile;
  std::string reason;
  const std::optional<std::string> bytes =
      inputFile.empty() ? ReadStreamBytes(STDIN_FILENO, reason) : ReadFileBytes(inputFile, reason);
  if (!bytes) throw InputError("cannot read input " + source + ": " + reason);
  std::string lines;
  for (FoundFragment &fragment : ReadFragments(*bytes, settings)) {
    nlohmann::ordered_json line;
    line["kind"] = fragment.kind;
    line["line"] = fragment.start.line;
    line["column"] = fragment.start.column;
    line["start"] = fragment.start.offset;
    line["end"] = fragment.end;
    line["input"] = std::move(fragment.input);
    lines += line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  }
  if (std::fwrite(lines.data(), 1, lines.size(), stdout) != lines.size() ||
      std::fflush(stdout) != 0) {
    std::fprintf(stderr, "cannot write to standard output\n");
    return 1;
  }
  return 0;
}

}  // namespace vendigo::cli
