#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "pages/product_page.h"

namespace vendigo {

// One template and the settings, prepared for building many product pages: BuildProductPage's
// result, byte for byte, without searching the template for its blocks and placeholders for
// every page. The template is split once, for each way its blocks can go, into the texts
// between its placeholders; a page is then those texts with the input's texts between them,
// put together in one pass. That gives the page of the replacements made one after another only
// while no text put in can make a placeholder, alone or with what stands around it: a page whose
// texts hold a "%", or a template where a text put in stands so close between two "%" that the
// three could read as a placeholder, is built by those replacements instead. Build may be called
// from several threads at once.
class ProductPagePlan {
 public:
  ProductPagePlan(std::string_view templateText, const Settings &settings);

  // BuildProductPage(templateText, input, settings, maxPageBytes).
  std::string Build(const ProductPageInput &input, std::size_t maxPageBytes = kMaxPageBytes) const;

  // The same page appended to document, with room made for roomAfter more bytes after it, so
  // a document can be written around the page without copying it.
  void AppendTo(std::string &document, const ProductPageInput &input, std::size_t roomAfter = 0,
                std::size_t maxPageBytes = kMaxPageBytes) const;

 private:
  // A text of the template, or (step >= 0) the place of the text of replacement number step.
  struct Piece {
    std::string text;
    int step = -1;
  };
  // The template for one way its blocks go and one order of replacements.
  struct Variant {
    std::once_flag made;
    std::string resolved;  // the blocks resolved
    std::vector<std::string_view> placeholders;
    std::vector<Piece> pieces;
    bool assembles = false;  // pieces give the page whenever no text put in holds a "%"
  };

  void Make(Variant &variant, const ProductPageParts &parts) const;
  Variant &VariantOf(const ProductPageInput &input, const ProductPageParts &parts) const;

  std::string templateText_;
  Settings settings_;
  // By kept image, upsells and in-stock blocks, description mode and whether the order button
  // is put in first.
  mutable std::array<Variant, 32> variants_;
};

}  // namespace vendigo
