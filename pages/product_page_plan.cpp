#include "pages/product_page_plan.h"

#include <algorithm>

#include "core/text_encoding.h"

namespace vendigo {
namespace {

// True when the placeholder occurs in text at `at`, ASCII letters compared without case, as
// ReplaceText compares them.
bool OccursAt(std::string_view text, std::size_t at, std::string_view placeholder) {
  for (std::size_t i = 0; i < placeholder.size(); ++i) {
    if (AsciiLower(text[at + i]) != AsciiLower(placeholder[i])) return false;
  }
  return true;
}

// True when text occurs in placeholder, ASCII letters compared without case.
bool Holds(std::string_view placeholder, std::string_view text) {
  for (std::size_t at = 0; at + text.size() <= placeholder.size(); ++at) {
    if (OccursAt(placeholder, at, text)) return true;
  }
  return false;
}

// A placeholder begins and ends with "%" and holds no other: what Apart relies on.
bool IsPercentDelimited(std::string_view placeholder) {
  return placeholder.size() >= 2 && placeholder.front() == '%' && placeholder.back() == '%' &&
         placeholder.substr(1, placeholder.size() - 2).find('%') == std::string_view::npos;
}

}  // namespace

ProductPagePlan::ProductPagePlan(std::string_view templateText, const Settings &settings)
    : templateText_(templateText), settings_(settings) {}

// The replacements, one after another, find each placeholder leftmost first in the page as it
// stands. Splitting the template's texts at the placeholders instead, each text apart, finds the
// same places as long as no placeholder could be found across a text put in: one that begins
// before it and ends after it (with an empty text, one that joins the texts on its two sides).
// With no "%" in the texts put in, such a placeholder would have to run from a "%" of the
// template before the text to the next "%" after it; apart below rules that out from the
// template's own characters there. That is checked after every step, as the placeholders still
// to come hold "%" too.
void ProductPagePlan::Make(Variant &variant, const ProductPageParts &parts) const {
  variant.resolved = ProductPageBlocksResolved(templateText_, parts);
  for (const PlaceholderText &step : parts.Replacements) {
    variant.placeholders.push_back(step.Placeholder);
    if (!IsPercentDelimited(step.Placeholder)) return;
  }
  // Whether no placeholder can run from the last "%" of the template before a text put in to the
  // first after it: it would begin with the template's characters from that "%" to the next
  // text put in, end with those from the last text put in to the "%" after, hold the template's
  // texts between, and be at least as long as all of them.
  const auto apart = [&placeholders = variant.placeholders](const std::vector<Piece> &pieces) {
    for (std::size_t p = 0; p < pieces.size(); ++p) {
      if (pieces[p].step < 0) continue;
      std::size_t first = p;  // the piece holding the "%" before
      std::size_t percentBefore = std::string::npos;
      while (percentBefore == std::string::npos && first > 0) {
        --first;
        if (pieces[first].step < 0) percentBefore = pieces[first].text.rfind('%');
      }
      std::size_t last = p;  // the piece holding the "%" after
      std::size_t percentAfter = std::string::npos;
      while (percentAfter == std::string::npos && last + 1 < pieces.size()) {
        ++last;
        if (pieces[last].step < 0) percentAfter = pieces[last].text.find('%');
      }
      if (percentBefore == std::string::npos || percentAfter == std::string::npos) continue;
      const std::string_view opening = std::string_view(pieces[first].text).substr(percentBefore);
      const std::string_view closing =
          std::string_view(pieces[last].text).substr(0, percentAfter + 1);
      std::size_t stretch = opening.size() + closing.size();
      for (std::size_t q = first + 1; q < last; ++q) stretch += pieces[q].text.size();
      for (const std::string_view placeholder : placeholders) {
        bool fits = placeholder.size() >= stretch && OccursAt(placeholder, 0, opening) &&
                    OccursAt(placeholder, placeholder.size() - closing.size(), closing);
        for (std::size_t q = first + 1; fits && q < last; ++q) {
          fits = pieces[q].step >= 0 || Holds(placeholder, pieces[q].text);
        }
        if (fits) return false;
      }
    }
    return true;
  };

  std::vector<Piece> pieces{{variant.resolved, -1}};
  for (std::size_t step = 0; step < parts.Replacements.size(); ++step) {
    const std::string_view placeholder = parts.Replacements[step].Placeholder;
    std::vector<Piece> split;
    for (Piece &piece : pieces) {
      if (piece.step >= 0) {
        split.push_back(std::move(piece));
        continue;
      }
      const std::string_view text = piece.text;
      std::size_t copied = 0;
      for (std::size_t at = 0; at + placeholder.size() <= text.size();) {
        if (!OccursAt(text, at, placeholder)) {
          ++at;
          continue;
        }
        if (at > copied) split.push_back({std::string(text.substr(copied, at - copied))});
        split.push_back({"", static_cast<int>(step)});
        at += placeholder.size();
        copied = at;
      }
      if (copied < text.size()) split.push_back({std::string(text.substr(copied))});
    }
    pieces = std::move(split);
    if (!apart(pieces)) return;
  }
  variant.pieces = std::move(pieces);
  variant.assembles = true;
}

ProductPagePlan::Variant &ProductPagePlan::VariantOf(const ProductPageInput &input,
                                                     const ProductPageParts &parts) const {
  const bool buttonFirst =
      parts.Replacements.size() > 1 && parts.Replacements[1].Placeholder == "%zf_addcart_button%";
  const std::size_t key =
      (parts.KeepImage ? 1 : 0) | (parts.KeepUpsells ? 2 : 0) | (parts.InStock ? 4 : 0) |
      (input.Mode == DescriptionMode::Multiple ? 8 : 0) | (buttonFirst ? 16 : 0);
  Variant &variant = variants_[key];
  std::call_once(variant.made, [&] { Make(variant, parts); });
  return variant;
}

std::string ProductPagePlan::Build(const ProductPageInput &input, std::size_t maxPageBytes) const {
  std::string page;
  AppendTo(page, input, 0, maxPageBytes);
  return page;
}

void ProductPagePlan::AppendTo(std::string &document, const ProductPageInput &input,
                               std::size_t roomAfter, std::size_t maxPageBytes) const {
  const ProductPageParts parts = ProductPagePartsOf(input, settings_);
  const Variant &variant = VariantOf(input, parts);
  const std::vector<PlaceholderText> &steps = parts.Replacements;
  bool assembles = variant.assembles && variant.placeholders.size() == steps.size();
  for (std::size_t step = 0; assembles && step < steps.size(); ++step) {
    assembles = variant.placeholders[step] == steps[step].Placeholder;
  }
  if (assembles) {
    std::string data;  // made only when the page holds its placeholder
    bool dataMade = false;
    const auto textOf = [&](int step) -> std::string_view {
      if (steps[step].Placeholder != kProductDataPlaceholder) return steps[step].Text;
      if (!dataMade) data = ProductPageData(input, settings_);
      dataMade = true;
      return data;
    };
    // No page on the way is longer than the template's texts with each place holding the
    // longer of its placeholder and its text.
    std::size_t most = 0;
    for (const Piece &piece : variant.pieces) {
      if (piece.step < 0) {
        most += piece.text.size();
        continue;
      }
      const std::string_view text = textOf(piece.step);
      if (text.find('%') != std::string_view::npos) {
        assembles = false;
        break;
      }
      most += std::max(text.size(), steps[piece.step].Placeholder.size());
    }
    if (assembles && most <= maxPageBytes) {
      document.reserve(document.size() + most + roomAfter);
      for (const Piece &piece : variant.pieces) {
        document.append(piece.step < 0 ? std::string_view(piece.text) : textOf(piece.step));
      }
      return;
    }
  }
  document.append(ProductPageReplaced(variant.resolved, parts, input, settings_, maxPageBytes));
}

}  // namespace vendigo
