#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// The price helper held by the quick link dialog, the addit builder and the product page wizard.
// PriceRequired is kept with the dialog and stays true; nothing reads it. CustomizedStrings is
// the addit builder's page template; the other dialogs leave it empty.
class TPriceKit {
 public:
  TPriceKit();

  bool PriceRequired = true;

  const std::vector<std::string> &CustomizedStrings() const { return customizedStrings_; }
  // Copies the lines into the list the kit owns; the list object itself stays the same.
  void SetCustomizedStrings(const std::vector<std::string> &lines);

  std::string FormatPrice(double value) const;
  std::string ReplaceText(std::string_view pattern, std::string_view source,
                          std::string_view replacement) const;

 private:
  std::vector<std::string> customizedStrings_;
};

}  // namespace vendigo
