#pragma once

#include <string>
#include <vector>

#include "check/site_check.h"

namespace vendigo::testing {

// The findings as the check command writes them, a line each.
inline std::string FindingLines(const std::vector<CheckFinding> &findings) {
  std::string text;
  for (const CheckFinding &finding : findings) text += FormatFinding(finding) + "\n";
  return text;
}

}  // namespace vendigo::testing
