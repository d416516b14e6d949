#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/site_check.h"
#include "core/settings.h"
#include "html/html_document.h"

namespace vendigo {

// The rules about what a page refers to and how its text is written down, each finding at the
// attribute or text that causes it:
//   file-address        (error)   an address of a file on the merchant's computer (file:), which
//                                 no visitor's browser can load
//   missing-picture     (error)   a relative picture (img, srcset, input image, background,
//                                 poster, icon, CSS url()) whose file does not exist
//   missing-stylesheet  (error)   the same for a stylesheet (link rel=stylesheet, @import)
//   missing-script      (error)   the same for a script's src
//   missing-link        (warning) a relative link (a, area) to nothing: the page may come later
//                                 or be made by the server, so it is not sure to be broken
//   template-leftover   (error)   a template placeholder (%zf_...%) or block tag (<zf_if=...>,
//                                 <zf_else=...>, </zf_if=...>) that was never filled in
//   encoding-undeclared (warning) a whole document (one that writes <html>, <head> or <body>)
//                                 without <meta charset>, http-equiv Content-Type with a charset
//                                 or a byte order mark, at its head (else html, else body); a
//                                 fragment takes the encoding of its page
//   encoding-mismatch   (error)   UTF-8 declared over bytes that are no UTF-8, or Windows-1252
//                                 (or a label browsers read as it) over UTF-8 beyond ASCII
// Relative addresses are looked up in the folder of path, percent-decoded, without query and
// fragment; not at all when path is empty (a page never saved) or the page has a <base href>.
// Addresses from the site's root ("/..."), with a scheme, or to the cart program are not
// looked up. The findings are added in the order of their places in the page.
void AddResourceFindings(const std::string &path, std::string_view bytes,
                         const HtmlDocument &document, const Settings &settings,
                         std::vector<CheckFinding> &findings);

}  // namespace vendigo
