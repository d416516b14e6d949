#include "pages/product_page.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "builders/price_rules.h"
#include "builders/url_encode.h"
#include "core/currency_code.h"
#include "core/file_error.h"
#include "core/text_encoding.h"
#include "pages/product_data.h"
#include "pages/template_engine.h"

namespace vendigo {
namespace {

// Rows past the grid's size are not part of the page.
template <typename Row>
std::size_t UsedRows(const std::vector<Row> &rows, std::size_t gridRows) {
  return rows.size() < gridRows ? rows.size() : gridRows;
}

bool IsGenerationFour(const Settings &settings) {
  return settings.PelluxGeneration == 4;
}

// An item value put between the double quotes of an attribute.
std::string AttributeValue(const OrderItem &item) {
  return QuoteToEntity(OrderItemValue(item));
}

// The single item's hidden field; its tax fields stay empty unless the tax inputs are shown.
std::string HiddenItemField(const ProductPageInput &input, bool taxShown) {
  const OrderItem item{input.Description, input.Price, input.Weight,
                       taxShown ? TaxableText(input.Taxable) : "",
                       taxShown ? input.SmartTaxCode : ""};
  return "<!--webbot bot=\"HTMLMarkup\" Alt=\"&lt;FONT COLOR=red&gt;!Pellux!&lt;/FONT&gt;\" "
         "StartSpan --><INPUT TYPE=\"HIDDEN\" NAME=\"pelluxadd\" VALUE=\"" +
         AttributeValue(item) + "\"><!--WEBBOT bot=\"HTMLMarkup\" EndSpan -->";
}

// The price placeholder's text: the price in the "#,##0.00" pattern, or as typed when it is no
// number.
std::string FormattedPriceOrTyped(const std::string &price) {
  const std::optional<double> value = ConvertPrice(price);
  return value ? FormatPrice(*value) : price;
}

std::string ReadableText(std::string_view cartDescription, std::string_view price,
                         std::string_view currency, std::string_view joint) {
  if (!cartDescription.empty()) {
    const std::optional<double> value = ConvertPrice(price);
    if (value && *value > 0) {
      return std::string(cartDescription) + std::string(joint) + PriceDisplay(currency, price);
    }
  }
  return std::string(cartDescription);
}

bool IsWindowsFormPath(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The file name of an image path (no folder); a Windows-form path is split at "\" and "/".
std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.starts_with('/') || !IsWindowsFormPath(path)
                                ? path.rfind('/')
                                : path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::vector<RelatedRow> TaxCellsCleared(std::vector<RelatedRow> rows) {
  for (RelatedRow &row : rows) {
    row.Taxable.clear();
    row.SmartTax.clear();
  }
  return rows;
}

// Whether a description grid row is an entry of the item list: with Cart Description and Price,
// and with Readable Text where that column is shown (otherwise the text shown is made from the
// Cart Description, so it is never empty).
bool IsListItem(const DescriptionRow &row, bool readableColumn) {
  return !row.CartDescription.empty() && !row.Price.empty() &&
         (!readableColumn || !row.ReadableText.empty());
}

// Whether a related products row is shown: with Cart Description and Price.
bool IsShownRelated(const RelatedRow &row) {
  return !row.CartDescription.empty() && !row.Price.empty();
}

// Replaces in place, without copying the page when the placeholder is not in it.
void ReplaceIn(std::string &page, std::string_view placeholder, std::string_view value) {
  if (ContainsText(page, placeholder)) page = ReplaceText(placeholder, page, value);
}

// The path with every byte that a URL cannot hold as it is percent-encoded: control bytes, the
// blank, " # % < > ? [ \ ] ^ ` { | } and DEL. Letters, digits, "/" and the other marks a URL
// path may hold stay, and so do the bytes of characters beyond ASCII. keepBackslashes leaves the
// backslashes of a Windows-form path as they are.
std::string PercentEncodedPath(std::string_view path, bool keepBackslashes) {
  static constexpr std::string_view kEncoded = " \"#%<>?[\\]^`{|}";
  return PercentEncodeBytes(path, [keepBackslashes](unsigned char byte) {
    if (byte < 0x20 || byte == 0x7F) return false;
    return kEncoded.find(static_cast<char>(byte)) == std::string_view::npos ||
           (byte == '\\' && keepBackslashes);
  });
}

// Text shown between tags: "&", "<" and ">" as entities.
std::string HtmlText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
  return out;
}

// The order button of a product that is out of stock: the submit input disabled; an order button
// of the merchant's own HTML cannot be disabled, so there is none.
std::string DisabledOrderButton(const Settings &settings) {
  std::string button = OrderButtonHtml(settings);
  if (settings.OrderButton.starts_with('<') || button.empty()) return "";
  button.insert(button.size() - 1, " disabled");
  return button;
}

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};

}  // namespace

ProductPageInput WithHiddenCellsCleared(ProductPageInput input, const Settings &settings) {
  if (IsGenerationFour(settings)) return input;
  input.Taxable = TaxState::Grayed;
  input.SmartTaxCode.clear();
  for (DescriptionRow &row : input.Descriptions) {
    row.Taxable.clear();
    row.SmartTax.clear();
    row.ReadableText.clear();
  }
  input.Related = TaxCellsCleared(std::move(input.Related));
  return input;
}

PageTooLarge::PageTooLarge(std::size_t limit)
    : std::runtime_error("The product page would be larger than " + std::to_string(limit >> 20) +
                         " MB, so it is not built. A placeholder repeated in the template or in "
                         "the texts multiplies the page.") {}

ProductPageParts ProductPagePartsOf(const ProductPageInput &input, const Settings &settings) {
  // The input is not copied: its long text can be large. The cells a wizard of another
  // generation hides are left out where they would be used.
  const bool taxShown = IsGenerationFour(settings);
  ProductPageParts parts;
  std::string upsells =
      GetUpsells(taxShown ? input.Related : TaxCellsCleared(input.Related), settings.Currency);
  parts.KeepImage = !input.ProductImageTag.empty();
  // A heading over the related products goes with them when there are none.
  parts.KeepUpsells = !upsells.empty();
  // A note for a product out of stock goes where the order button would be.
  parts.InStock = input.Stock != Availability::OutOfStock;

  std::vector<PlaceholderText> &steps = parts.Replacements;
  steps.reserve(14);
  steps.push_back({"%zf_company_name%", settings.Company});
  std::string orderButton =
      parts.InStock ? OrderButtonHtml(settings) : DisabledOrderButton(settings);
  if (!orderButton.empty()) steps.push_back({"%zf_addcart_button%", std::move(orderButton)});

  if (input.Mode == DescriptionMode::Single) {
    steps.push_back({"%zf_pelluxadds%", ""});
    steps.push_back({"%zf_pelluxaddh%", HiddenItemField(input, taxShown)});
    steps.push_back({"%zf_currency%", settings.Currency});
    steps.push_back({"%zf_description%", input.Description});
    steps.push_back({"%zf_price%", FormattedPriceOrTyped(input.Price)});
  } else {
    steps.push_back({"%zf_description%", ""});
    steps.push_back({"%zf_price%", ""});
    steps.push_back({"%zf_pelluxaddh%", ""});
    steps.push_back({"%zf_pelluxadds%", GetPelluxAddSelect(input.Descriptions, settings)});
    steps.push_back({"%zf_currency%", ""});
  }

  steps.push_back({"%zf_addcart_button%", ""});
  steps.push_back({"%zf_long_text%", input.LongText});
  steps.push_back({"%zf_pellux_location%", settings.CGI_BIN});
  steps.push_back({"%zf_all_options%", GetEops(input.Options)});
  steps.push_back({"%zf_product_image%", input.ProductImageTag});
  steps.push_back({"%zf_upsells%", std::move(upsells)});
  // Last, so no placeholder typed into a name is replaced inside the data.
  steps.push_back({kProductDataPlaceholder, ""});
  return parts;
}

std::string ProductPageBlocksResolved(std::string_view templateText,
                                      const ProductPageParts &parts) {
  std::string page = ParseIfBlocks(ParseIfBlocks(templateText, "image", parts.KeepImage), "upsells",
                                   parts.KeepUpsells);
  if (page.find("<zf_if=\"instock\">") != std::string::npos) {
    page = ParseIfBlocks(page, "instock", parts.InStock);
  }
  return page;
}

std::string ProductPageData(const ProductPageInput &input, const Settings &settings) {
  if (input.ProductData) return *input.ProductData;
  ProductFacts facts = ProductFactsOf(input, settings, true);
  facts.CurrencyCode = ProductCurrencyCode(settings);
  if (facts.CurrencyCode.empty() || facts.Name.empty()) return "";
  return ProductDataScript(facts);
}

std::string ProductPageReplaced(std::string page, const ProductPageParts &parts,
                                const ProductPageInput &input, const Settings &settings,
                                std::size_t maxPageBytes) {
  // Each replacement that makes the page longer is counted before it is made, so the page never
  // passes the limit on its way.
  auto replace = [&page, maxPageBytes](std::string_view placeholder, std::string_view value) {
    if (value.size() <= placeholder.size()) return ReplaceIn(page, placeholder, value);
    const std::size_t growth = value.size() - placeholder.size();
    const std::size_t room = page.size() < maxPageBytes ? maxPageBytes - page.size() : 0;
    // The count also tells whether there is anything to replace.
    const std::size_t count = CountText(page, placeholder);
    if (count > room / growth) throw PageTooLarge(maxPageBytes);
    if (count > 0) page = ReplaceText(placeholder, page, value);
  };
  for (const PlaceholderText &step : parts.Replacements) {
    if (step.Placeholder != kProductDataPlaceholder) {
      replace(step.Placeholder, step.Text);
    } else if (ContainsText(page, step.Placeholder)) {
      replace(step.Placeholder, ProductPageData(input, settings));
    }
  }
  if (page.size() > maxPageBytes) throw PageTooLarge(maxPageBytes);
  return page;
}

std::string BuildProductPage(std::string_view templateText, const ProductPageInput &input,
                             const Settings &settings, std::size_t maxPageBytes) {
  const ProductPageParts parts = ProductPagePartsOf(input, settings);
  return ProductPageReplaced(ProductPageBlocksResolved(templateText, parts), parts, input, settings,
                             maxPageBytes);
}

std::string GetPelluxAddSelect(const std::vector<DescriptionRow> &rows, const Settings &settings) {
  const bool readableColumn = IsGenerationFour(settings);
  std::string list = "<SELECT NAME=\"pelluxadd\" size =\"1\">";
  bool any = false;
  for (std::size_t r = 0; r < UsedRows(rows, kDescriptionRows); ++r) {
    const DescriptionRow &row = rows[r];
    if (!IsListItem(row, readableColumn)) continue;
    const std::string shown =
        readableColumn ? row.ReadableText
                       : DescriptionReadableText(row.CartDescription, row.Price, settings.Currency);
    const OrderItem item =
        readableColumn
            ? OrderItem{row.CartDescription, row.Price, row.Weight, row.Taxable, row.SmartTax}
            : OrderItem{row.CartDescription, row.Price, row.Weight, "", ""};
    list += "<OPTION VALUE=\"" + AttributeValue(item) + "\"" + (r == 0 ? " SELECTED" : "") + ">" +
            shown + "\r\n";
    any = true;
  }
  list += "</SELECT>";
  return any ? list : "";
}

bool HasPelluxAddItem(const std::vector<DescriptionRow> &rows, const Settings &settings) {
  for (std::size_t r = 0; r < UsedRows(rows, kDescriptionRows); ++r) {
    if (IsListItem(rows[r], IsGenerationFour(settings))) return true;
  }
  return false;
}

bool HasEops(const std::array<OptionGroup, kOptionGroups> &groups) {
  // A group whose row 1 has Readable Text shows at least that row.
  for (const OptionGroup &group : groups) {
    if (!group.Name.empty() && !group.Rows.empty() && !group.Rows.front().ReadableText.empty()) {
      return true;
    }
  }
  return false;
}

bool HasUpsells(const std::vector<RelatedRow> &rows) {
  for (std::size_t r = 0; r < UsedRows(rows, kRelatedRows); ++r) {
    if (IsShownRelated(rows[r])) return true;
  }
  return false;
}

std::string ParseEops(const OptionGroup &group) {
  if (group.Name.empty() || group.Rows.empty() || group.Rows.front().ReadableText.empty()) {
    return "";
  }
  std::string row = "<TR><TD>" + group.Name + "</TD><TD><SELECT NAME=\"eop_" +
                    QuoteToEntity(group.Name) + "\">\r\n";
  bool any = false;
  for (std::size_t r = 0; r < UsedRows(group.Rows, kOptionRows); ++r) {
    const OptionRow &option = group.Rows[r];
    if (option.ReadableText.empty()) continue;
    const OrderItem item{option.Description, option.Price, option.Weight, "", ""};
    row += "<OPTION VALUE=\"" + QuoteToEntity(OrderItemOptionValue(item)) + "\"" +
           (r == 0 ? " SELECTED" : "") + ">" + option.ReadableText + "\r\n";
    any = true;
  }
  row += "</SELECT></TD></TR>";
  return any ? row : "";
}

std::string GetEops(const std::array<OptionGroup, kOptionGroups> &groups) {
  std::string rows;
  for (const OptionGroup &group : groups) rows += ParseEops(group);
  return rows.empty() ? "" : "<TABLE>" + rows + "</TABLE>";
}

std::string GetUpsells(const std::vector<RelatedRow> &rows, std::string_view currency) {
  std::string table =
      "<div align=\"center\"><center><TABLE BORDER=\"1\" CELLPADDING=\"5\" CELLSPACING=\"0\" "
      "WIDTH=\"456\"><TR><TD ALIGN=\"CENTER\">BUY</TD><TD ALIGN=\"CENTER\">Description</TD><TD "
      "ALIGN=\"CENTER\">Price</TD></TR>";
  bool any = false;
  for (std::size_t r = 0; r < UsedRows(rows, kRelatedRows); ++r) {
    const RelatedRow &row = rows[r];
    if (!IsShownRelated(row)) continue;
    const OrderItem item{row.CartDescription, row.Price, row.Weight, row.Taxable, row.SmartTax};
    table += "<TR><TD><INPUT TYPE=\"CHECKBOX\" NAME =\"addit\" VALUE=\"" + AttributeValue(item) +
             "\"></TD><TD>" + row.CartDescription + "</TD><TD>" +
             PriceDisplay(currency, row.Price) + "</TD></TR>\r\n";
    any = true;
  }
  table += "</TABLE></center></div>";
  return any ? table : "";
}

std::string DescriptionReadableText(std::string_view cartDescription, std::string_view price,
                                    std::string_view currency) {
  return ReadableText(cartDescription, price, currency, " -- ");
}

std::string OptionReadableText(std::string_view cartDescription, std::string_view price,
                               std::string_view currency) {
  return ReadableText(cartDescription, price, currency, " -- Add ");
}

bool IsProductImageFile(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string extension;
  for (const char c : name.substr(dot)) extension += AsciiLower(c);
  return extension == ".jpg" || extension == ".gif" || extension == ".png";
}

std::string ImageFileUrl(std::string_view path) {
  if (path.starts_with('/')) return "file://" + PercentEncodedPath(path, false);
  std::string slashes(path);
  for (char &c : slashes) {
    if (c == '\\') c = '/';
  }
  return "file:///" + PercentEncodedPath(slashes, false);
}

std::string ProductImageTag(std::string_view path) {
  return ImageTag(ImageFileUrl(path));
}

std::string ImageTag(std::string_view address) {
  return "<IMG SRC=\"" + std::string(address) + "\" ALT=\"[PRODUCT IMAGE]\" BORDER=\"0\">";
}

std::string ImagePreviewPage(std::string_view path) {
  const std::string source = path.starts_with('/') ? "file://" + PercentEncodedPath(path, false)
                                                   : "file:///" + PercentEncodedPath(path, true);
  return "<HTML>\r\n<BODY BGCOLOR=\"white\" TEXT=\"BLACK\"><CENTER><img src=\"" + source +
         "\"><p><TABLE BORDER=\"1\" CELLPADDING=\"5\" CELLSPACING=\"0\"><TR><TD ALIGN=\"CENTER\" "
         "COLSPAN=\"2\"><B>" +
         HtmlText(FileNameOf(path)) + "</B></TD></TR></TABLE></BODY></HTML>\r\n";
}

void WriteImagePreview(const std::filesystem::path &folder, std::string_view path) {
  const std::filesystem::path file = folder / kImagePreviewFileName;
  const std::string text = ImagePreviewPage(path) + "\r\n";
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.string().c_str(), "wb"));
  const bool written = out && std::fwrite(text.data(), 1, text.size(), out.get()) == text.size() &&
                       std::fclose(out.release()) == 0;
  if (!written) throw FileError("Unable to write to " + file.string());
}

}  // namespace vendigo
