// The JSON input of every vendigo-html command that reads one, run through the commands as the
// program runs them. Besides crashes and undefined behaviour it checks the quick link: its status
// text stays inside its script string, and each field of its address decodes back to the field as
// typed (Windows-1252 bytes and numeric character references, never a mix of encodings).
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "cli/cli_commands.h"
#include "core/file_error.h"
#include "core/json_document.h"
#include "core/json_fields.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"

namespace {

using vendigo::cli::Command;

// A template with every placeholder and an image block, for the page command; removed at exit
// (the path is never freed, so it outlives every other static).
const std::string &TemplateFile() {
  static const std::string *const path = [] {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("vendigo-fuzz-" + std::to_string(getpid()) + ".zft");
    std::ofstream(file, std::ios::binary)
        << "<p>%zf_company_name% %zf_description% %zf_currency%%zf_price%</p>\n"
           "<zf_if=\"image\">%zf_product_image%<zf_else=\"image\">-</zf_if=\"image\">\n"
           "%zf_pelluxaddh%%zf_pelluxadds%%zf_all_options%%zf_upsells%\n"
           "%zf_addcart_button% %zf_pellux_location% %zf_long_text%\n";
    std::atexit([] { std::remove(TemplateFile().c_str()); });
    return new std::string(file.string());
  }();
  return *path;
}

// A field of the link's address as the cart reads it: form decoding, the bytes as Windows-1252,
// then the numeric character references a browser wrote for characters Windows-1252 lacks.
std::string DecodedField(std::string_view field) {
  std::string bytes;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '+') {
      bytes += ' ';
    } else if (field[i] == '%') {
      FUZZ_CHECK(i + 2 < field.size() && std::isxdigit(static_cast<unsigned char>(field[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(field[i + 2])));
      bytes += static_cast<char>(std::stoi(std::string(field.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      bytes += field[i];
    }
  }
  const std::string text = vendigo::Windows1252ToUtf8(bytes);
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::size_t end = i + 2;
    while (end < text.size() && end < i + 9 &&
           std::isdigit(static_cast<unsigned char>(text[end]))) {
      ++end;
    }
    if (text.compare(i, 2, "&#") == 0 && end > i + 2 && end < text.size() && text[end] == ';') {
      vendigo::AppendUtf8(decoded,
                          static_cast<char32_t>(std::stoul(text.substr(i + 2, end - i - 2))));
      i = end;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

void CheckQuickLink(const std::string &html, const nlohmann::json &input,
                    const vendigo::Settings &settings) {
  const auto typed = [&](const char *key) { return input.value(key, std::string()); };
  // The anchor follows the product info and the opening bracket, when they are wanted.
  std::size_t anchor = 0;
  if (input.value("InsertProductInfo", false)) {
    anchor = html.find("</font></b> ", 3 + typed("Description").size());
    FUZZ_CHECK(anchor != std::string::npos);
    anchor += 12;
  }
  if (input.value("Brackets", false)) ++anchor;
  const std::string start = "<A HREF=\"" + settings.CGI_BIN + "?pelluxadd=";
  FUZZ_CHECK(html.compare(anchor, start.size(), start) == 0);
  const std::size_t query = anchor + start.size();
  const std::size_t queryEnd = html.find('"', query);
  FUZZ_CHECK(queryEnd != std::string::npos);
  const std::string_view fields = std::string_view(html).substr(query, queryEnd - query);
  // The fields between the carets, in order, as typed.
  const char *const keys[] = {"Description", "Price", "Weight", "Taxable", "SmartTaxCode"};
  std::size_t at = 0;
  for (const char *key : keys) {
    const std::size_t caret = std::min(fields.find('^', at), fields.size());
    for (const char c : fields.substr(at, caret - at)) {
      FUZZ_CHECK(std::isalnum(static_cast<unsigned char>(c)) ||
                 std::string_view("*-./@_+%").find(c) != std::string_view::npos);
    }
    if (typed(key).find("&#") == std::string::npos) {
      FUZZ_CHECK(DecodedField(fields.substr(at, caret - at)) == typed(key));
    }
    at = caret + 1;
  }
  // The status text's script string ends where the builder ends it.
  const std::string script = " onMouseOver=\"self.status='";
  FUZZ_CHECK(html.compare(queryEnd + 1, script.size(), script) == 0);
  std::size_t i = queryEnd + 1 + script.size();
  while (i < html.size() && html[i] != '\'') {
    FUZZ_CHECK(html[i] != '\r' && html[i] != '\n');
    i += html[i] == '\\' ? 2 : 1;
  }
  FUZZ_CHECK(html.compare(i, 16, "';  return true\"") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  nlohmann::json input;
  try {
    input = vendigo::ReadJsonDocument(std::string_view(reinterpret_cast<const char *>(data), size));
  } catch (const vendigo::JsonSyntaxError &) {
    return 0;
  }
  if (!input.is_object()) return 0;
  vendigo::Settings settings = vendigo::DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  for (const int generation : {3, 4}) {
    settings.PelluxGeneration = generation;
    for (const Command &command : vendigo::cli::Commands()) {
      if (!command.takesInput) continue;
      try {
        const std::string html = command.buildFromTemplate
                                     ? command.buildFromTemplate(settings, input, TemplateFile())
                                     : command.build(settings, input);
        if (command.name == "quicklink") CheckQuickLink(html, input, settings);
      } catch (const vendigo::cli::InputError &) {
      } catch (const vendigo::JsonInputError &) {
      } catch (const vendigo::cli::CommandFailure &) {
      } catch (const vendigo::FileError &) {
      }
    }
  }
  return 0;
}
