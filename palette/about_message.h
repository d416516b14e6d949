#pragma once

#include <array>
#include <string>

namespace vendigo {

// The program's version as its build records it.
struct VersionInfo {
  std::string fileVersion;          // "3.1.26.167"; may be empty
  std::array<int, 4> fixedVersion;  // the same four numbers
  std::string copyright;
};

// The version this program was built as.
VersionInfo ProgramVersion();

// "Vendigo Version <version>\r\r<copyright>", the version being the file version text, or the
// four numbers joined with dots when that text is empty.
std::string AboutMessage(const VersionInfo &version);

}  // namespace vendigo
