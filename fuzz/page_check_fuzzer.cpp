// The page reader and the page check: any bytes as a page file. Besides crashes and undefined
// behaviour it checks that every element and attribute is placed inside the file, at the line
// and column its bytes give, that the file's bytes up to each place decode to the text up to it,
// and that a page gives the same findings every time.
#include <cstdint>
#include <string>
#include <string_view>

#include "check/site_check.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"
#include "html/html_document.h"

namespace {

void CheckPlace(const vendigo::HtmlDocument &document, std::string_view bytes,
                std::size_t decodedOffset) {
  const std::string &text = document.Text();
  FUZZ_CHECK(decodedOffset <= text.size());
  const vendigo::SourcePlace place = document.Place(decodedOffset);
  FUZZ_CHECK(place.offset <= bytes.size());
  // The bytes before the place are the text before it, read the way the whole file was.
  const std::string_view before = bytes.substr(0, place.offset);
  const std::string decoded =
      document.IsWindows1252()
          ? vendigo::Windows1252ToUtf8(before)
          : std::string(before.substr(before.starts_with("\xEF\xBB\xBF") ? 3 : 0));
  FUZZ_CHECK(decoded == std::string_view(text).substr(0, decodedOffset));
  int line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    if (decoded[i] == '\n' ||
        (decoded[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++line;
      lineStart = i + 1;
    }
  }
  FUZZ_CHECK(place.line == line);
  FUZZ_CHECK(place.column ==
             static_cast<int>(vendigo::Utf8Length(std::string_view(decoded).substr(lineStart))) +
                 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  const vendigo::HtmlDocument document = vendigo::HtmlDocument::Read(bytes);
  const auto &nodes = document.Nodes();
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const vendigo::HtmlNode &node = nodes[i];
    FUZZ_CHECK(node.end > i && node.end <= nodes.size());
    FUZZ_CHECK(node.parent == vendigo::HtmlNode::kNoNode ||
               (node.parent < i && nodes[node.parent].end >= node.end));
    // A place inside a character (the parser's own replacement character) is not asked for.
    if (!node.written) continue;
    CheckPlace(document, bytes, node.offset);
    for (const vendigo::HtmlAttribute &attribute : node.attributes) {
      CheckPlace(document, bytes, attribute.nameOffset);
      CheckPlace(document, bytes, attribute.valueOffset);
    }
  }

  vendigo::Settings settings = vendigo::DefaultSettings();
  settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.cgi";
  const auto findings = vendigo::CheckPage("page.html", bytes, settings);
  const auto again = vendigo::CheckPage("page.html", bytes, settings);
  FUZZ_CHECK(findings.size() == again.size());
  for (std::size_t i = 0; i < findings.size(); ++i) {
    FUZZ_CHECK(vendigo::FormatFinding(findings[i]) == vendigo::FormatFinding(again[i]));
    FUZZ_CHECK(findings[i].offset <= size);
    FUZZ_CHECK(findings[i].line >= 1 && findings[i].column >= 1);
  }
  return 0;
}
