#include "palette/about_message.h"

namespace vendigo {

VersionInfo ProgramVersion() {
  return {
      VENDIGO_VERSION,
      {VENDIGO_VERSION_MAJOR, VENDIGO_VERSION_MINOR, VENDIGO_VERSION_PATCH, VENDIGO_VERSION_TWEAK},
      VENDIGO_COPYRIGHT};
}

std::string AboutMessage(const VersionInfo &version) {
  std::string number = version.fileVersion;
  if (number.empty()) {
    for (const int part : version.fixedVersion) {
      if (!number.empty()) number += '.';
      number += std::to_string(part);
    }
  }
  return "Vendigo Version " + number + "\r\r" + version.copyright;
}

}  // namespace vendigo
