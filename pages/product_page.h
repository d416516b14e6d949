#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "builders/extended_option.h"
#include "builders/order_item_value.h"
#include "core/settings.h"

namespace vendigo {

// The data rows the wizard's grids hold (grid row 0 is the title row).
inline constexpr std::size_t kDescriptionRows = 29;
inline constexpr std::size_t kOptionGroups = 3;
inline constexpr std::size_t kOptionRows = 49;
inline constexpr std::size_t kRelatedRows = 29;

enum class DescriptionMode { Single, Multiple };

// Whether the product can be ordered: out of stock takes the order button away.
enum class Availability { InStock, OutOfStock, PreOrder };

// One row of the description grid, cells in column order.
struct DescriptionRow {
  std::string CartDescription;
  std::string Price;
  std::string Weight;
  std::string Taxable;
  std::string SmartTax;
  std::string ReadableText;
};

// One option tab: its "Extended Options is for:" name and its grid rows.
struct OptionGroup {
  std::string Name;
  std::vector<OptionRow> Rows;
};

// One row of the related products grid, cells in column order.
struct RelatedRow {
  std::string CartDescription;
  std::string Price;
  std::string Weight;
  std::string Taxable;
  std::string SmartTax;
};

// Everything the wizard collects for a product page. Texts are used exactly as typed. Row lists
// hold the grid's data rows from row 1 on, in order; a shorter list reads as empty rows after its
// end, and rows past the grid's size (29, 49, 29) are not used.
struct ProductPageInput {
  DescriptionMode Mode = DescriptionMode::Single;
  // Single description mode.
  std::string Description;
  std::string Price;
  std::string Weight;
  TaxState Taxable = TaxState::Grayed;
  std::string SmartTaxCode;
  // Multiple descriptions mode.
  std::vector<DescriptionRow> Descriptions;
  // Option tabs 1, 2 and 3.
  std::array<OptionGroup, kOptionGroups> Options;
  std::vector<RelatedRow> Related;
  // The long description, lines joined by CR LF.
  std::string LongText;
  // The IMG tag of the chosen product image (ProductImageTag below); empty when there is none.
  std::string ProductImageTag;
  // What search engines are told besides name and price; the wizard leaves them empty.
  std::string Sku;
  std::string Brand;
  std::string Gtin;
  Availability Stock = Availability::InStock;
  // The text of "%zf_product_data%"; unset: the product's data made from this input
  // (ProductDataScript), which a catalogue page carries in its head instead.
  std::optional<std::string> ProductData;
};

// The largest product page that is built: many times a whole shop's page, and far below what
// would exhaust the memory. Placeholders typed into the merchant's texts are replaced like those
// of the template, so repeated ones can multiply the page.
inline constexpr std::size_t kMaxPageBytes = std::size_t{256} << 20;

// The page would be larger than the limit. what() is the message the user sees.
class PageTooLarge : public std::runtime_error {
 public:
  explicit PageTooLarge(std::size_t limit);
};

// Messages of the wizard's Finish.
inline constexpr char kNoTemplateChosen[] =
    "This product cannot be added because you have not selected a template.";

// The input as a wizard of the configured generation holds it: unless PelluxGeneration is 4 the
// tax inputs are hidden, so the single item's tax state is undetermined, its smart tax code empty,
// and the Taxable, Smart Tax and Readable Text cells of the description and related product rows
// empty. BuildProductPage applies this itself.
ProductPageInput WithHiddenCellsCleared(ProductPageInput input, const Settings &settings);

// The product page: the template's "image" blocks resolved (kept when ProductImageTag is set),
// its "upsells" blocks (kept when there are related products to show) and its "instock" blocks
// (kept unless the product is out of stock), then its "%zf_...%" placeholders replaced, one after
// another, letters compared without case. Out of stock, the order button is a disabled one, or
// none when the order button setting is HTML. "%zf_product_data%", replaced last, takes the
// product's data for search engines.
// Throws PageTooLarge, before it takes the memory, when the page would pass maxPageBytes.
std::string BuildProductPage(std::string_view templateText, const ProductPageInput &input,
                             const Settings &settings, std::size_t maxPageBytes = kMaxPageBytes);

// One placeholder of a template and the text that takes its place.
struct PlaceholderText {
  std::string_view Placeholder;
  std::string Text;
};

// The placeholder whose text, the product's data for search engines, is made last and only for a
// page that holds it (ProductPageData).
inline constexpr char kProductDataPlaceholder[] = "%zf_product_data%";

// What BuildProductPage puts into a template for one input: which conditional blocks it keeps,
// then the placeholders it replaces, in order, with their texts; a placeholder may come twice,
// and the last is kProductDataPlaceholder with no text.
struct ProductPageParts {
  bool KeepImage = false;    // the "image" blocks' then-parts
  bool KeepUpsells = false;  // the "upsells" blocks' then-parts
  bool InStock = true;       // the "instock" blocks' then-parts
  std::vector<PlaceholderText> Replacements;
};

// BuildProductPage's steps, for a builder that fills many pages from one template.
ProductPageParts ProductPagePartsOf(const ProductPageInput &input, const Settings &settings);
// The template with its conditional blocks resolved as parts says.
std::string ProductPageBlocksResolved(std::string_view templateText, const ProductPageParts &parts);
// The text of kProductDataPlaceholder: input.ProductData, or else the product's data made from
// the input; empty without a currency code.
std::string ProductPageData(const ProductPageInput &input, const Settings &settings);
// The page with the replacements made one after another, each over the page the one before left
// (so a placeholder in one text is replaced by a later step); throws PageTooLarge as
// BuildProductPage does.
std::string ProductPageReplaced(std::string page, const ProductPageParts &parts,
                                const ProductPageInput &input, const Settings &settings,
                                std::size_t maxPageBytes = kMaxPageBytes);

// The item selection list of multiple descriptions mode, empty when no row qualifies. With
// generation 4 a row qualifies with Cart Description, Price and Readable Text set; otherwise
// (no Readable Text column) with Cart Description and Price set, shown with
// DescriptionReadableText. Only grid row 1 can be the selected entry.
std::string GetPelluxAddSelect(const std::vector<DescriptionRow> &rows, const Settings &settings);

// Whether GetPelluxAddSelect, GetEops and GetUpsells give anything, without making it.
bool HasPelluxAddItem(const std::vector<DescriptionRow> &rows, const Settings &settings);
bool HasEops(const std::array<OptionGroup, kOptionGroups> &groups);
bool HasUpsells(const std::vector<RelatedRow> &rows);

// The option table of the three groups, empty when no group gives a row.
std::string GetEops(const std::array<OptionGroup, kOptionGroups> &groups);

// One table row with the group's "eop_" select, empty when the group has no name or its row 1
// has no Readable Text.
std::string ParseEops(const OptionGroup &group);

// The related products table with an "addit" check box per row with Cart Description and Price,
// empty when there is no such row.
std::string GetUpsells(const std::vector<RelatedRow> &rows, std::string_view currency);

// The readable text the wizard fills into an empty Readable Text cell when it is selected:
// Cart Description + " -- " + currency + Price (description grid) or Cart Description +
// " -- Add " + currency + Price (option grids) when the description is set and the price converts
// to a number above 0; otherwise the Cart Description.
std::string DescriptionReadableText(std::string_view cartDescription, std::string_view price,
                                    std::string_view currency);
std::string OptionReadableText(std::string_view cartDescription, std::string_view price,
                               std::string_view currency);

// The product image.
inline constexpr char kImagePreviewFileName[] = "img~.html";
inline constexpr char kImageFileFilter[] =
    "All Images (*.jpg,*.gif,*.png)|*.jpg;*.gif;*.png|Jpeg Images (*.jpg)|*.jpg|Gif Images "
    "(*.gif)|*.gif|Portable Network Graphics (*.png)|*.png";

// True when the file's extension, lower-cased, is ".jpg", ".gif" or ".png".
bool IsProductImageFile(std::string_view path);

// The address of an image file: "file://" + an absolute path beginning with "/", or, for a path
// in the Windows form (C:\shop\img\mug.gif), "file:///" + the path with backslashes made "/". What
// a URL cannot hold as it is (the blank, " # % < > ? [ \ ] ^ ` { | }, control bytes) is
// percent-encoded, so the address stays one attribute value and names that very file.
std::string ImageFileUrl(std::string_view path);

// <IMG SRC="<ImageFileUrl>" ALT="[PRODUCT IMAGE]" BORDER="0">
std::string ProductImageTag(std::string_view path);
// The same tag for a picture at any address, a relative one included.
std::string ImageTag(std::string_view address);

// The preview page of the image, as written to "img~.html": the picture centred above a table
// cell with its file name (its "&", "<" and ">" as entities).
std::string ImagePreviewPage(std::string_view path);

// Writes ImagePreviewPage followed by CR LF to folder/"img~.html", created or overwritten.
// Throws FileError ("Unable to write to <full path>") on failure.
void WriteImagePreview(const std::filesystem::path &folder, std::string_view path);

}  // namespace vendigo
