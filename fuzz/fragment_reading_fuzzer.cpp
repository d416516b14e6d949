// Reading fragments back. The first byte chooses what the rest is:
// - even: a page, read by ReadFragments, which must not crash and must give fragments in order,
//   inside the page, never overlapping, each found again by FragmentAt and each an input its
//   command builds from;
// - odd: the JSON input of a fragment command (chosen by the byte's upper bits, with one of three
//   settings); when the command accepts it, what is read back from its fragment, alone and inside
//   a page, must build that fragment again byte for byte and span the whole of it.
#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/json_document.h"
#include "fragments/fragment_reading.h"
#include "fuzz/fragment_round_trip.h"
#include "fuzz/fuzz_check.h"

namespace {

vendigo::Settings SettingsNumber(unsigned number) {
  vendigo::Settings settings = vendigo::DefaultSettings();
  if (number == 1) {
    settings.CGI_BIN = "/cgi-bin/pellux.cgi";
    settings.Currency = "\xE2\x82\xAC ";
    settings.OrderButton = "Add to basket";
    settings.PelluxGeneration = 4;
  } else if (number == 2) {
    settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.exe";
    settings.OrderButton = "<input type=\"image\" src=\"buy.gif\">";
  }
  return settings;
}

void CheckPage(std::string_view page) {
  const vendigo::Settings settings = SettingsNumber(0);
  const std::vector<vendigo::FoundFragment> fragments = vendigo::ReadFragments(page, settings);
  std::size_t previousEnd = 0;
  for (const vendigo::FoundFragment &fragment : fragments) {
    FUZZ_CHECK(fragment.start.offset >= previousEnd);
    FUZZ_CHECK(fragment.start.offset < fragment.end && fragment.end <= page.size());
    FUZZ_CHECK(vendigo::FragmentAt(fragments, fragment.start.offset) == &fragment);
    FUZZ_CHECK(vendigo::FragmentAt(fragments, fragment.end - 1) == &fragment);
    // What is read is an input its command builds from.
    FUZZ_CHECK(vendigo::test::BuiltFragment(fragment.kind, fragment.settings, fragment.input));
    previousEnd = fragment.end;
  }
}

void CheckRoundTrip(unsigned choice, std::string_view json) {
  static constexpr std::array<const char *, 10> commands = {
      "pelluxadd", "quicklink", "textadd",  "options",   "addit",
      "form",      "quantity",  "viewcart", "buybutton", "ebay"};
  const char *command = commands[(choice >> 1) % commands.size()];
  const vendigo::Settings settings = SettingsNumber((choice >> 5) % 3);
  nlohmann::json input;
  try {
    input = vendigo::ReadJsonDocument(json);
  } catch (const vendigo::JsonSyntaxError &) {
    return;
  }
  if (!input.is_object()) return;
  const std::optional<std::string> html = vendigo::test::BuiltFragment(command, settings, input);
  if (!html) return;
  const std::string fault = vendigo::test::RoundTripFault(command, settings, *html);
  if (!fault.empty()) std::fprintf(stderr, "%s: %s\n", command, fault.c_str());
  FUZZ_CHECK(fault.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    CheckPage(rest);
  } else {
    CheckRoundTrip(data[0], rest);
  }
  return 0;
}
