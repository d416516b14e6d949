#pragma once

#include <QDialog>
#include <QWidget>

#include <nlohmann/json_fwd.hpp>

#include <string>

#include "core/app_context.h"

namespace vendigo {

// The dialog that builds fragments of the kind (a vendigo-html command), filled with the values of
// that command's JSON input and not yet shown; it deletes itself when it closes. Throws
// JsonInputError for an input the dialog does not take, std::invalid_argument for a kind that
// has no dialog (FragmentHasDialog).
QDialog *FragmentDialog(const std::string &kind, const nlohmann::json &input, AppContext &context,
                        QWidget *parent = nullptr);

}  // namespace vendigo
