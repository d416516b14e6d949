#include "palette/fragment_dialog.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/quick_link_dialog.h"
#include "dialogs/text_option_dialog.h"
#include "fragments/fragment_inputs.h"

namespace vendigo {

namespace {

template <typename Dialog, typename... Values>
QDialog *Filled(AppContext &context, QWidget *parent, const Values &...values) {
  auto *dialog = new Dialog(context, parent);
  dialog->Fill(values...);
  return dialog;
}

}  // namespace

QDialog *FragmentDialog(const std::string &kind, const nlohmann::json &input, AppContext &context,
                        QWidget *parent) {
  if (kind == "pelluxadd") return Filled<TPelluxAdd>(context, parent, HiddenItemFromInput(input));
  if (kind == "quicklink") return Filled<TQuickLink>(context, parent, QuickLinkFromInput(input));
  if (kind == "textadd") return Filled<TTextAdd>(context, parent, TextOptionFromInput(input));
  if (kind == "options") {
    const ExtendedOption option = ExtendedOptionFromInput(input);
    return Filled<TPelluxOptionsBuilder>(context, parent, option.name, option.rows);
  }
  if (kind == "addit") {
    const AddItTable table = AddItTableFromInput(input, context.settings);
    return Filled<TAddBuilder>(context, parent, table.mode, table.rows);
  }
  throw std::invalid_argument("A fragment of the kind \"" + kind +
                              "\" has no dialog in the palette.");
}

}  // namespace vendigo
