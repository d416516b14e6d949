#include "fragments/page_command.h"

#include <nlohmann/json.hpp>

#include "core/file_error.h"
#include "pages/product_page.h"
#include "pages/product_page_input.h"
#include "pages/template_package.h"

namespace vendigo {
Command PageCommand() {
  Command command;
  command.name = "page";
  command.summary = "a product page from the template given with --template FILE";
  command.takesInput = true;
  command.buildFromTemplate = [](const Settings &settings, const nlohmann::json &json,
                                 const std::string &templateFile) {
    const ProductPageInput input = ReadProductPageInput(json);
    std::string templateText;
    try {
      templateText = ReadTemplateText(templateFile);
    } catch (const FileError &error) {
      throw InputError(std::string("cannot read the template: ") + error.what());
    }
    try {
      return BuildProductPage(templateText, input, settings);
    } catch (const PageTooLarge &error) {
      throw CommandFailure(error.what());
    }
  };
  return command;
}

}  // namespace vendigo
