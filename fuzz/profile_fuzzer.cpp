// The profile (INI) reader and writer behind the settings file, the template profiles and the
// editor's menu store. Besides crashes and undefined behaviour it checks that a UTF-8 file is
// kept byte for byte, and that a value written reads back as written (a line break in it made a
// blank, at most 2047 characters).
#include <cstdint>
#include <string>
#include <string_view>

#include "core/profile_file.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  const bool utf8 = vendigo::IsValidUtf8(bytes);
  const std::string text = utf8 ? std::string(bytes) : vendigo::Windows1252ToUtf8(bytes);
  vendigo::ProfileFile profile = vendigo::ProfileFile::Parse(text);
  FUZZ_CHECK(profile.Serialize() == text);

  for (const char *key : {"Company", "Currency", "OrderButton", "CGI_BIN", "PelluxGeneration"}) {
    if (const auto value = profile.Read("CONFIGS", key)) {
      FUZZ_CHECK(vendigo::Utf8Length(*value) <= vendigo::ProfileFile::kMaxValueLength);
      vendigo::ParsePelluxGeneration(*value);
    }
  }
  profile.Entries("PROFILE");

  // The file's own first line, written as a value into its own section and another.
  std::string value = text.substr(0, text.find('\n'));
  std::string expected = value;
  for (char &c : expected) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  expected = vendigo::Utf8Prefix(expected, vendigo::ProfileFile::kMaxValueLength);
  profile.Write("CONFIGS", "Company", value);
  profile.Write("Other", "Key", value);
  const vendigo::ProfileFile reread = vendigo::ProfileFile::Parse(profile.Serialize());
  FUZZ_CHECK(reread.Read("CONFIGS", "Company") == expected);
  FUZZ_CHECK(reread.Read("Other", "Key") == expected);
  profile.DeleteKey("CONFIGS", "Company");
  profile.DeleteSection("Other");
  return 0;
}
