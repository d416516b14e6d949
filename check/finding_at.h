#pragma once

#include <cstddef>
#include <string>

#include "check/site_check.h"
#include "html/html_document.h"

namespace vendigo {

// A finding of the page at path, at the place in its file of decodedOffset in document's text.
CheckFinding FindingAt(const std::string &path, const HtmlDocument &document,
                       std::size_t decodedOffset, FindingSeverity severity, std::string rule,
                       std::string message);

}  // namespace vendigo
