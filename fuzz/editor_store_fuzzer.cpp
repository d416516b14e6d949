// The values of the page editor's menu store ("Init Menus", "Init Commands"). Besides crashes and
// undefined behaviour it checks that the command the palette writes for any program path reads
// back with that path (blanks at its ends aside).
#include <cstdint>
#include <string>
#include <string_view>

#include "editorlink/registry_menu_values.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view value(reinterpret_cast<const char *>(data), size);
  vendigo::SplitRegistryFields(value);
  vendigo::ParseMenuValue(value);
  vendigo::ParseCommandValue(value);
  vendigo::TitleWithoutAccelerator(value);

  // The palette's own command value around the input taken as a program path.
  const std::string command =
      "3,,1,Pellux,Pellux Vendigo," + std::string(value) + ",,0,\"Pellux Vendigo Tools\",0";
  const auto parsed = vendigo::ParseCommandValue(command);
  if (!TrimBlanks(value).empty()) {
    FUZZ_CHECK(parsed.has_value());
    FUZZ_CHECK(parsed->program == TrimBlanks(value));
    FUZZ_CHECK(parsed->menu == "Pellux" && parsed->caption == "Pellux Vendigo");
    FUZZ_CHECK(parsed->statusTip == "Pellux Vendigo Tools");
  }
  return 0;
}
