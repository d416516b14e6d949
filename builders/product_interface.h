#pragma once

#include <string>
#include <vector>

#include "core/settings.h"

namespace vendigo {

// The 16 lines of the page template around an addit table: a form container posting to the
// cart program, ordering instructions to fill in, the table, the order button and a view-cart
// link, with the placeholders WrapInProductInterface replaces.
const std::vector<std::string> &ProductInterfaceTemplate();

// The template lines with, in this order and each matched without regard to letter case,
// "%zf_place_list_here%" replaced by table, "%zf_place_form_here%" by the form start,
// "%zf_button_face_here%" by OrderButton, "%zf_ViewCart_here%" by ViewCart and
// "%zf_pellux_location%" by CGI_BIN. Each step works on the text the steps before left, so a
// placeholder inside an earlier replacement is replaced too. Every line of the result ends in
// "\r\n".
std::string WrapInProductInterface(const std::string &table,
                                   const std::vector<std::string> &templateLines,
                                   const Settings &settings);

}  // namespace vendigo
