// vendigo-html: builds the fragments of the palette from the command line, without a window
// and without an editor. The fragment goes to standard output byte for byte; the catalogue
// command writes a folder of pages instead.
//
// Exit status: 0 built (an empty fragment prints nothing), 1 the fragment cannot be built (a
// catalogue row was skipped), 2 bad usage or unusable input.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/catalogue_command.h"
#include "cli/cli_commands.h"
#include "core/file_error.h"
#include "core/file_reading.h"
#include "core/program_folders.h"
#include "core/settings.h"

namespace {

using vendigo::cli::Command;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Bad usage or unusable input: the message names the problem.
int UsageError(const QString &message) {
  std::fprintf(stderr, "vendigo-html: %s\n", qUtf8Printable(message));
  return kExitUsage;
}

// The fragment cannot be built: the message is the one the palette would show.
int Failure(const std::string &message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitFailure;
}

QString CommandList() {
  QString list = QStringLiteral("Commands:\n");
  for (const Command &command : vendigo::cli::Commands()) {
    list += QStringLiteral("  %1  %2%3\n")
                .arg(QString::fromStdString(command.name).leftJustified(10))
                .arg(QString::fromStdString(command.summary))
                .arg(command.takesInput ? QStringLiteral(" (reads JSON input)") : QString());
  }
  list += QStringLiteral("  %1  %2\n")
              .arg(QString::fromLatin1(vendigo::cli::kCatalogueCommand).leftJustified(10))
              .arg(QString::fromLatin1(vendigo::cli::kCatalogueSummary));
  return list;
}

// Reads one JSON object from the file, or from standard input when no file is named. Only a
// regular file is read, and no more than kMaxFileBytes of either.
QJsonObject ReadInputObject(const QString &inputPath) {
  const QString source = inputPath.isEmpty() ? QStringLiteral("standard input") : inputPath;
  std::string reason;
  const std::optional<std::string> bytes =
      inputPath.isEmpty()
          ? vendigo::ReadStreamBytes(STDIN_FILENO, reason)
          : vendigo::ReadFileBytes(QFile::encodeName(inputPath).toStdString(), reason);
  if (!bytes) {
    throw vendigo::cli::InputError(QStringLiteral("cannot read input %1: %2")
                                       .arg(source, QString::fromStdString(reason))
                                       .toStdString());
  }
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(*bytes), &error);
  if (error.error != QJsonParseError::NoError) {
    throw vendigo::cli::InputError(QStringLiteral("malformed JSON in %1 at offset %2: %3")
                                       .arg(source)
                                       .arg(error.offset)
                                       .arg(error.errorString())
                                       .toStdString());
  }
  if (!document.isObject()) {
    throw vendigo::cli::InputError(
        QStringLiteral("the input in %1 must be one JSON object").arg(source).toStdString());
  }
  return document.object();
}

// Where this copy's palette keeps pelluxfp.ini: beside the program, or in the user's folders for
// an installed copy. Templates are named on the command line, so their folders are not asked for.
std::filesystem::path OwnSettingsFolder() {
  return vendigo::FindOwnProgramFolders(QCoreApplication::applicationDirPath().toStdString())
      .settings;
}

bool IsReadableFile(const std::filesystem::path &path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && std::ifstream(path).good();
}

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("vendigo-html"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VENDIGO_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Builds the HTML fragments of the Vendigo palette and writes them to "
                     "standard output.\nWithout --settings it reads the palette's pelluxfp.ini: "
                     "beside the program, or for an installed copy in "
                     "$XDG_CONFIG_HOME/vendigo, with defaults when that file is missing.\n\n") +
      CommandList());
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption settingsOption(QStringLiteral("settings"),
                                          QStringLiteral("Read the settings from <file>."),
                                          QStringLiteral("file"));
  const QCommandLineOption inputOption(
      QStringLiteral("input"),
      QStringLiteral("Read the command's JSON input from <file> instead of standard input."),
      QStringLiteral("file"));
  const QCommandLineOption templateOption(
      QStringLiteral("template"),
      QStringLiteral("Fill the ZestForm template <file> (the page command)."),
      QStringLiteral("file"));
  const QCommandLineOption outputOption(
      QStringLiteral("output"),
      QStringLiteral("Write the catalogue into the folder <dir> (the catalogue command)."),
      QStringLiteral("dir"));
  const QCommandLineOption forceOption(
      QStringLiteral("force"),
      QStringLiteral("Replace pages, pictures and the index that exist (the catalogue command)."));
  const QCommandLineOption quietOption(
      QStringLiteral("quiet"),
      QStringLiteral("No progress bar and no closing count (the catalogue command)."));
  parser.addOption(settingsOption);
  parser.addOption(inputOption);
  parser.addOption(templateOption);
  parser.addOption(outputOption);
  parser.addOption(forceOption);
  parser.addOption(quietOption);
  parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The fragment to build."));

  if (!parser.parse(QCoreApplication::arguments())) {
    return UsageError(parser.errorText() + QStringLiteral("\nTry --help."));
  }
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

  const QStringList arguments = parser.positionalArguments();
  if (arguments.size() != 1) {
    return UsageError(QStringLiteral("name exactly one command.\n") + CommandList());
  }
  const bool catalogue = arguments.first() == QLatin1String(vendigo::cli::kCatalogueCommand);
  for (const QCommandLineOption *option : {&outputOption, &forceOption, &quietOption}) {
    if (!catalogue && parser.isSet(*option)) {
      return UsageError(QStringLiteral("--%1 is an option of the catalogue command only.")
                            .arg(option->names().first()));
    }
  }
  if (catalogue &&
      !(parser.isSet(templateOption) && parser.isSet(inputOption) && parser.isSet(outputOption))) {
    return UsageError(QStringLiteral(
        "the command 'catalogue' needs --template FILE, --input FILE and --output DIR."));
  }
  const Command *command = vendigo::cli::FindCommand(arguments.first().toStdString());
  if (!command && !catalogue) {
    return UsageError(QStringLiteral("unknown command '%1'.\n").arg(arguments.first()) +
                      CommandList());
  }
  if (command && !command->takesInput && parser.isSet(inputOption)) {
    return UsageError(QStringLiteral("the command '%1' takes no input.")
                          .arg(QString::fromStdString(command->name)));
  }

  if (command && !command->buildFromTemplate && parser.isSet(templateOption)) {
    return UsageError(QStringLiteral("the command '%1' takes no template.")
                          .arg(QString::fromStdString(command->name)));
  }
  if (command && command->buildFromTemplate && !parser.isSet(templateOption)) {
    return UsageError(QStringLiteral("the command '%1' needs --template FILE.")
                          .arg(QString::fromStdString(command->name)));
  }

  try {
    vendigo::Settings settings;
    if (parser.isSet(settingsOption)) {
      const std::filesystem::path file = parser.value(settingsOption).toStdString();
      if (!IsReadableFile(file)) {
        return UsageError(
            QStringLiteral("cannot read the settings file %1").arg(parser.value(settingsOption)));
      }
      settings = vendigo::LoadSettingsFile(file);
    } else {
      settings = vendigo::LoadSettings(OwnSettingsFolder());
    }
    if (catalogue) {
      return vendigo::cli::RunCatalogueCommand(
          settings,
          {parser.value(templateOption).toStdString(), parser.value(inputOption).toStdString(),
           parser.value(outputOption).toStdString(), parser.isSet(forceOption),
           parser.isSet(quietOption)});
    }
    const QJsonObject input =
        command->takesInput ? ReadInputObject(parser.value(inputOption)) : QJsonObject();

    const std::string fragment =
        command->buildFromTemplate
            ? command->buildFromTemplate(settings, input,
                                         parser.value(templateOption).toStdString())
            : command->build(settings, input);
    if (std::fwrite(fragment.data(), 1, fragment.size(), stdout) != fragment.size() ||
        std::fflush(stdout) != 0) {
      return Failure("cannot write to standard output");
    }
    return 0;
  } catch (const vendigo::cli::InputError &error) {
    return UsageError(QString::fromStdString(error.what()));
  } catch (const vendigo::cli::CommandFailure &error) {
    return Failure(error.what());
  } catch (const vendigo::FileError &error) {
    return Failure(error.what());
  }
}
