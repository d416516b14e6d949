#include "cli/terminal_password_source.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace vendigo::cli {

std::optional<std::string> TerminalPasswordSource::Password(const PublishTarget &target,
                                                            bool rejectedBefore) {
  if (const char *fromEnvironment = std::getenv("VENDIGO_PUBLISH_PASSWORD")) {
    // The same text would be refused again.
    if (rejectedBefore) return std::nullopt;
    return std::string(fromEnvironment);
  }
  if (!::isatty(STDIN_FILENO)) {
    std::fputs(
        "vendigo-html: the server asks for a password: set VENDIGO_PUBLISH_PASSWORD, or run on a "
        "terminal to be asked.\n",
        stderr);
    return std::nullopt;
  }
  std::fprintf(stderr, "%sPassword for %s: ", rejectedBefore ? "Refused. " : "",
               PublishTargetUrl(target).c_str());
  std::fflush(stderr);
  termios before{};
  const bool quiet = ::tcgetattr(STDIN_FILENO, &before) == 0;
  if (quiet) {
    termios silent = before;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  }
  std::string password;
  const bool read = static_cast<bool>(std::getline(std::cin, password));
  if (quiet) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
  std::fputc('\n', stderr);
  if (!read) return std::nullopt;
  return password;
}

}  // namespace vendigo::cli
