#include "builders/product_interface.h"

#include <string_view>
#include <utility>

#include "core/text_encoding.h"
#include "builders/price_rules.h"

namespace vendigo {

namespace {

std::string JoinLines(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> SplitIntoLines(std::string_view text) {
  std::vector<std::string> lines;
  for (TextLine &line : SplitLines(text)) lines.push_back(std::move(line.text));
  return lines;
}

}  // namespace

const std::vector<std::string> &ProductInterfaceTemplate() {
  static const std::vector<std::string> lines = {
      "%zf_place_form_here%",
      "    <CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" CELLSPACING=\"1\" "
      "BORDER=\"0\">",
      "   <TR>       <td>Ordering Instructions: <ol TYPE=\"1\">",
      "        <li>?\?\?</li>",
      "        <li>?\?\?</li>",
      "        <li>?\?\?</li>",
      "      </ol>",
      "      </td></TR></TABLE></CENTER></DIV>",
      "",
      "%zf_place_list_here%",
      "",
      "<P ALIGN=\"CENTER\"><INPUT TYPE=\"SUBMIT\" VALUE=\"%zf_button_face_here%\"></P>",
      "</form>",
      "<p>",
      "<center><a href=\"%zf_pellux_location%\">%zf_ViewCart_here%</a></center>",
      "</p>",
  };
  return lines;
}

std::string WrapInProductInterface(const std::string &table,
                                   const std::vector<std::string> &templateLines,
                                   const Settings &settings) {
  const std::pair<const char *, std::string> steps[] = {
      {"%zf_place_list_here%", table},
      {"%zf_place_form_here%", "<FORM ACTION=\"" + settings.CGI_BIN + "\" METHOD=\"POST\">"},
      {"%zf_button_face_here%", settings.OrderButton},
      {"%zf_ViewCart_here%", settings.ViewCart},
      {"%zf_pellux_location%", settings.CGI_BIN},
  };
  std::vector<std::string> lines = templateLines;
  for (const auto &[placeholder, replacement] : steps) {
    lines = SplitIntoLines(ReplaceText(placeholder, JoinLines(lines), replacement));
  }
  return JoinLines(lines);
}

}  // namespace vendigo
