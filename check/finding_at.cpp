#include "check/finding_at.h"

#include <utility>

namespace vendigo {

CheckFinding FindingAt(const std::string &path, const HtmlDocument &document,
                       std::size_t decodedOffset, FindingSeverity severity, std::string rule,
                       std::string message) {
  CheckFinding finding;
  const SourcePlace place = document.Place(decodedOffset);
  finding.file = path;
  finding.line = place.line;
  finding.column = place.column;
  finding.offset = place.offset;
  finding.severity = severity;
  finding.rule = std::move(rule);
  finding.message = std::move(message);
  return finding;
}

}  // namespace vendigo
