// vendigo-html: builds the fragments of the palette from the command line, without a window
// and without an editor. The fragment goes to standard output byte for byte; the catalogue
// command writes a folder of pages instead.
//
// Exit status: 0 built (an empty fragment prints nothing), 1 the fragment cannot be built (a
// catalogue row was skipped; the check found errors), 2 bad usage or unusable input. The publish
// command has statuses of its own for what went wrong (cli/publish_command.h).

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/catalogue_command.h"
#include "cli/check_command.h"
#include "cli/cli_commands.h"
#include "cli/command_line.h"
#include "cli/publish_command.h"
#include "core/file_error.h"
#include "core/file_reading.h"
#include "core/json_document.h"
#include "core/json_fields.h"
#include "core/program_folders.h"
#include "core/settings.h"

namespace {

using vendigo::cli::Command;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Bad usage or unusable input: the message names the problem.
int UsageError(const std::string &message) {
  std::fprintf(stderr, "vendigo-html: %s\n", message.c_str());
  return kExitUsage;
}

// The fragment cannot be built: the message is the one the palette would show.
int Failure(const std::string &message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitFailure;
}

// "  name        summary\n", the name in a column of ten.
std::string CommandLine(const std::string &name, const std::string &summary) {
  return "  " + name + std::string(name.size() < 10 ? 10 - name.size() : 0, ' ') + "  " + summary +
         "\n";
}

std::string CommandList() {
  std::string list = "Commands:\n";
  for (const Command &command : vendigo::cli::Commands()) {
    list += CommandLine(command.name,
                        command.summary + (command.takesInput ? " (reads JSON input)" : ""));
  }
  return list + CommandLine(vendigo::cli::kCatalogueCommand, vendigo::cli::kCatalogueSummary) +
         CommandLine(vendigo::cli::kCheckCommand, vendigo::cli::kCheckSummary) +
         CommandLine(vendigo::cli::kPublishCommand, vendigo::cli::kPublishSummary);
}

// Reads one JSON object from the file, or from standard input when no file is named. Only a
// regular file is read, and no more than kMaxFileBytes of either.
nlohmann::json ReadInputObject(const std::string &inputPath) {
  const std::string source = inputPath.empty() ? "standard input" : inputPath;
  std::string reason;
  const std::optional<std::string> bytes = inputPath.empty()
                                               ? vendigo::ReadStreamBytes(STDIN_FILENO, reason)
                                               : vendigo::ReadFileBytes(inputPath, reason);
  if (!bytes) throw vendigo::cli::InputError("cannot read input " + source + ": " + reason);
  nlohmann::json document;
  try {
    document = vendigo::ReadJsonDocument(*bytes);
  } catch (const vendigo::JsonSyntaxError &error) {
    throw vendigo::cli::InputError("malformed JSON in " + source + " at offset " +
                                   std::to_string(error.offset) + ": " + error.what());
  }
  if (!document.is_object()) {
    throw vendigo::cli::InputError("the input in " + source + " must be one JSON object");
  }
  return document;
}

// The folder this program was started from.
std::filesystem::path ProgramFolder(const char *argv0) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (error ? std::filesystem::absolute(argv0, error) : self).parent_path();
}

// Where this copy's palette keeps pelluxfp.ini: beside the program, or in the user's folders for
// an installed copy. Templates are named on the command line, so their folders are not asked for.
std::filesystem::path OwnSettingsFolder(const char *argv0) {
  return vendigo::FindOwnProgramFolders(ProgramFolder(argv0)).settings;
}

bool IsReadableFile(const std::filesystem::path &path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && std::ifstream(path).good();
}

// The settings named with --settings, or this copy's own. Throws InputError when the file named
// cannot be read.
vendigo::Settings ReadSettings(const vendigo::cli::CommandLineParser &parser, const char *argv0) {
  if (!parser.IsSet("settings")) return vendigo::LoadSettings(OwnSettingsFolder(argv0));
  const std::filesystem::path file = parser.Value("settings");
  if (!IsReadableFile(file)) {
    throw vendigo::cli::InputError("cannot read the settings file " + parser.Value("settings"));
  }
  return vendigo::LoadSettingsFile(file);
}

}  // namespace

int main(int argc, char *argv[]) {
  vendigo::cli::CommandLineParser parser(
      "Builds the HTML fragments of the Vendigo palette and writes them to standard output.\n"
      "Without --settings it reads the palette's pelluxfp.ini: beside the program, or for an "
      "installed copy in $XDG_CONFIG_HOME/vendigo, with defaults when that file is missing.\n\n" +
          CommandList(),
      {
          {{"h", "help"}, "Displays help on commandline options.", ""},
          // Kept from the days of Qt's parser; it shows the same help.
          {{"help-all"}, "Displays help including Qt specific options.", ""},
          {{"v", "version"}, "Displays version information.", ""},
          {{"settings"}, "Read the settings from <file>.", "file"},
          {{"input"},
           "Read the command's JSON input from <file> instead of standard input.",
           "file"},
          {{"template"}, "Fill the ZestForm template <file> (the page command).", "file"},
          {{"output"}, "Write the catalogue into the folder <dir> (the catalogue command).", "dir"},
          {{"force"},
           "Replace pages, pictures and the index that exist (the catalogue command); publish "
           "even when the check finds errors (the publish command).",
           ""},
          {{"quiet"},
           "No progress bar and no closing count (the catalogue command); no progress bar (the "
           "check and publish commands).",
           ""},
          {{"format"}, "Write the findings as text or json (the check command).", "format"},
          {{"base-url"},
           "The address the catalogue is published under, such as https://shop.example/: the "
           "pages' product data gets absolute addresses, and sitemap.xml and feed.xml are "
           "written (the catalogue command).",
           "address"},
          {{"target"},
           "Publish the site to <url>, sftp://user@host[:port]/path, ftp://... or ftps://... "
           "(explicit TLS), and remember it for the site folder (the publish command).",
           "url"},
          {{"dry-run"},
           "List what would be sent and removed, change nothing (the publish command).",
           ""},
          {{"delete"},
           "Also remove published files that are no longer in the folder (the publish command).",
           ""},
          {{"accept-host-key"},
           "Accept the SFTP server's unknown host key when its fingerprint is <fingerprint> and "
           "add it to ~/.ssh/known_hosts (the publish command).",
           "fingerprint"},
      },
      {{"command", "The fragment to build."}});

  if (!parser.Parse(std::vector<std::string>(argv, argv + argc))) {
    return UsageError(parser.ErrorText() + "\nTry --help.");
  }
  if (parser.IsSet("help") || parser.IsSet("help-all")) {
    const std::string help = parser.HelpText();
    std::fwrite(help.data(), 1, help.size(), stdout);
    return 0;
  }
  if (parser.IsSet("version")) {
    std::puts("vendigo-html " VENDIGO_VERSION);
    return 0;
  }

  const std::vector<std::string> &arguments = parser.Positionals();
  const bool check = !arguments.empty() && arguments.front() == vendigo::cli::kCheckCommand;
  if (check) {
    for (const char *option : {"input", "template", "output", "force"}) {
      if (parser.IsSet(option)) {
        return UsageError(std::string("--") + option + " is not an option of the check command.");
      }
    }
    if (arguments.size() < 2) return UsageError("the command 'check' needs at least one PATH.");
    const std::string format = parser.IsSet("format") ? parser.Value("format") : "text";
    if (format != "text" && format != "json") {
      return UsageError("--format takes text or json, not '" + format + "'.");
    }
    try {
      return vendigo::cli::RunCheckCommand(
          ReadSettings(parser, argv[0]),
          {{arguments.begin() + 1, arguments.end()}, format, parser.IsSet("quiet")});
    } catch (const vendigo::cli::InputError &error) {
      return UsageError(error.what());
    }
  }
  if (parser.IsSet("format")) return UsageError("--format is an option of the check command only.");
  const bool publish = !arguments.empty() && arguments.front() == vendigo::cli::kPublishCommand;
  for (const char *option : {"target", "dry-run", "delete", "accept-host-key"}) {
    if (!publish && parser.IsSet(option)) {
      return UsageError(std::string("--") + option + " is an option of the publish command only.");
    }
  }
  if (publish) {
    for (const char *option : {"input", "template", "output", "base-url"}) {
      if (parser.IsSet(option)) {
        return UsageError(std::string("--") + option + " is not an option of the publish command.");
      }
    }
    if (arguments.size() != 2) return UsageError("the command 'publish' needs one SITE_DIR.");
    try {
      return vendigo::cli::RunPublishCommand(
          ReadSettings(parser, argv[0]),
          {arguments[1], parser.Value("target"), parser.IsSet("dry-run"), parser.IsSet("delete"),
           parser.IsSet("force"), parser.IsSet("quiet"), parser.Value("accept-host-key")});
    } catch (const vendigo::cli::InputError &error) {
      return UsageError(error.what());
    }
  }
  if (arguments.size() != 1) return UsageError("name exactly one command.\n" + CommandList());
  const bool catalogue = arguments.front() == vendigo::cli::kCatalogueCommand;
  for (const char *option : {"output", "force", "quiet", "base-url"}) {
    if (!catalogue && parser.IsSet(option)) {
      return UsageError(std::string("--") + option +
                        " is an option of the catalogue command only.");
    }
  }
  if (catalogue && !(parser.IsSet("template") && parser.IsSet("input") && parser.IsSet("output"))) {
    return UsageError(
        "the command 'catalogue' needs --template FILE, --input FILE and --output DIR.");
  }
  const Command *command = vendigo::cli::FindCommand(arguments.front());
  if (!command && !catalogue) {
    return UsageError("unknown command '" + arguments.front() + "'.\n" + CommandList());
  }
  if (command && !command->takesInput && parser.IsSet("input")) {
    return UsageError("the command '" + command->name + "' takes no input.");
  }
  if (command && !command->buildFromTemplate && parser.IsSet("template")) {
    return UsageError("the command '" + command->name + "' takes no template.");
  }
  if (command && command->buildFromTemplate && !parser.IsSet("template")) {
    return UsageError("the command '" + command->name + "' needs --template FILE.");
  }

  try {
    const vendigo::Settings settings = ReadSettings(parser, argv[0]);
    if (catalogue) {
      return vendigo::cli::RunCatalogueCommand(
          settings, {parser.Value("template"), parser.Value("input"), parser.Value("output"),
                     parser.IsSet("force"), parser.IsSet("quiet"), parser.Value("base-url")});
    }
    const nlohmann::json input =
        command->takesInput ? ReadInputObject(parser.Value("input")) : nlohmann::json::object();

    const std::string fragment =
        command->buildFromTemplate
            ? command->buildFromTemplate(settings, input, parser.Value("template"))
            : command->build(settings, input);
    if (std::fwrite(fragment.data(), 1, fragment.size(), stdout) != fragment.size() ||
        std::fflush(stdout) != 0) {
      return Failure("cannot write to standard output");
    }
    return 0;
  } catch (const vendigo::cli::InputError &error) {
    return UsageError(error.what());
  } catch (const vendigo::JsonInputError &error) {
    return UsageError(error.what());
  } catch (const vendigo::cli::CommandFailure &error) {
    return Failure(error.what());
  } catch (const vendigo::FileError &error) {
    return Failure(error.what());
  }
}
