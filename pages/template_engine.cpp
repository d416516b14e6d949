#include "pages/template_engine.h"

#include "core/text_encoding.h"

namespace vendigo {

namespace {

// A condition name is a short string: longer names are cut to 255 characters.
constexpr std::size_t kMaxConditionName = 255;
// Resolving stops when the pass count reaches this: at most 49 blocks per call.
constexpr int kPassLimit = 50;

}  // namespace

std::string ParseIfBlocks(std::string_view text, std::string_view name, bool condition) {
  const std::string shortName = Utf8Prefix(name, kMaxConditionName);
  const std::string openTag = "<zf_if=\"" + shortName + "\">";
  const std::string elseTag = "<zf_else=\"" + shortName + "\">";
  const std::string closeTag = "</zf_if=\"" + shortName + "\">";

  std::string result(text);
  int count = 1;
  while (count < kPassLimit && result.find(openTag) != std::string::npos &&
         result.find(closeTag) != std::string::npos) {
    ++count;
    std::string thenPart;
    std::string elsePart;
    const std::size_t po = result.find(openTag);
    const std::size_t pc = result.find(closeTag);
    if (po < pc) {
      const std::string_view block = std::string_view(result).substr(po, pc + closeTag.size() - po);
      const std::size_t pe = block.find(elseTag);
      if (pe != std::string_view::npos) {
        thenPart = block.substr(openTag.size(), pe - openTag.size());
        const std::size_t elseStart = pe + elseTag.size();
        elsePart = block.substr(elseStart, block.size() - closeTag.size() - elseStart);
      } else {
        thenPart = block.substr(openTag.size(), block.size() - openTag.size() - closeTag.size());
      }
    }
    // The block gives way to the kept part where it stood. A close tag standing before the open
    // tag leaves nothing to take out, and the kept part is empty then, so such a pass changes
    // nothing. The kept part goes straight in: no stand-in text is written into the page and
    // searched for again, so text in the template can never be taken for one.
    const std::size_t end = pc > po ? pc + closeTag.size() : po;
    result.replace(po, end - po, condition ? thenPart : elsePart);
  }
  return result;
}

}  // namespace vendigo
