// The template engine and the product page builder: the input is a template, a NUL byte, and the
// page command's JSON input (optional). Besides crashes and undefined behaviour it checks that
// resolving the image blocks never makes a template longer, that a page is either built within the
// size limit or refused, and that the product picture's tag stays one attribute value.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/json_document.h"
#include "core/json_fields.h"
#include "core/settings.h"
#include "fuzz/fuzz_check.h"
#include "pages/product_page.h"
#include "pages/product_page_input.h"
#include "pages/template_engine.h"

namespace {

// Small enough to keep each run quick, large enough for any real page.
constexpr std::size_t kPageLimit = std::size_t{256} << 10;

void CheckImageTag(const std::string &tag) {
  const std::string start = "<IMG SRC=\"file://";
  const std::string end = "\" ALT=\"[PRODUCT IMAGE]\" BORDER=\"0\">";
  FUZZ_CHECK(tag.starts_with(start) && tag.ends_with(end));
  const std::string_view url =
      std::string_view(tag).substr(start.size(), tag.size() - start.size() - end.size());
  FUZZ_CHECK(url.find_first_of("\" #<>?\r\n") == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string_view templateText = bytes.substr(0, split);

  for (const bool condition : {true, false}) {
    FUZZ_CHECK(vendigo::ParseIfBlocks(templateText, "image", condition).size() <=
               templateText.size());
  }

  vendigo::ProductPageInput input;
  if (split != std::string_view::npos) {
    const std::string_view json = bytes.substr(split + 1);
    try {
      const nlohmann::json document = vendigo::ReadJsonDocument(json);
      if (!document.is_object()) return 0;
      input = vendigo::ReadProductPageInput(document);
    } catch (const vendigo::JsonSyntaxError &) {
      return 0;
    } catch (const vendigo::JsonInputError &) {
      return 0;
    }
  }
  if (!input.ProductImageTag.empty()) CheckImageTag(input.ProductImageTag);

  vendigo::Settings settings = vendigo::DefaultSettings();
  for (const int generation : {3, 4}) {
    settings.PelluxGeneration = generation;
    try {
      const std::string page = vendigo::BuildProductPage(templateText, input, settings, kPageLimit);
      FUZZ_CHECK(page.size() <= kPageLimit);
    } catch (const vendigo::PageTooLarge &) {
    }
  }
  return 0;
}
