#include "pages/catalogue.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <thread>

#include "builders/price_rules.h"
#include "core/file_error.h"
#include "core/html_escape.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"
#include "core/whole_file.h"
#include "pages/catalogue_cells.h"
#include "pages/catalogue_document.h"
#include "pages/catalogue_names.h"
#include "pages/catalogue_picture.h"
#include "pages/template_engine.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// A row on its way to a page.
struct Planned {
  const CatalogueRow *row = nullptr;
  std::string error;  // why it gives no page
  std::string fileName;
  std::string title;  // the description in the page title and the index
  std::string price;  // the price in the index
  std::optional<std::size_t> picture;
  bool written = false;
};

// Which placeholders the template holds, with its "image" blocks resolved either way.
class TemplatePlaces {
 public:
  explicit TemplatePlaces(std::string_view templateText)
      : withPicture_(ParseIfBlocks(templateText, "image", true)),
        withoutPicture_(ParseIfBlocks(templateText, "image", false)) {}

  // Why the page would lose a part of the row: the first part the template has no place for.
  std::string Missing(const ProductPageInput &page, bool picture) const {
    const std::string &text = picture ? withPicture_ : withoutPicture_;
    const auto lacks = [&text](std::string_view placeholder, std::string_view part) {
      return ContainsText(text, placeholder)
                 ? std::string()
                 : "the template has no " + std::string(placeholder) + " for " + std::string(part);
    };
    std::string missing = page.Mode == DescriptionMode::Single
                              ? lacks("%zf_pelluxaddh%", "the item")
                              : lacks("%zf_pelluxadds%", "the list of items");
    if (missing.empty() && !page.LongText.empty()) missing = lacks("%zf_long_text%", "LongText");
    if (missing.empty() && !GetEops(page.Options).empty()) {
      missing = lacks("%zf_all_options%", "the options");
    }
    if (missing.empty() && !GetUpsells(page.Related, "").empty()) {
      missing = lacks("%zf_upsells%", "the related products");
    }
    if (missing.empty() && picture) missing = lacks("%zf_product_image%", "ProductImage");
    return missing;
  }

 private:
  std::string withPicture_;
  std::string withoutPicture_;
};

std::string NotANumber(std::string_view where, std::string_view price) {
  return std::string(where) + "price \"" + std::string(price) + "\" is not a number";
}

// Every price given in a list must convert; the first that does not is the error.
template <typename Row, typename PriceOf>
std::string ListPriceError(const std::vector<Row> &rows, std::string_view list, PriceOf priceOf) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string &price = priceOf(rows[r]);
    if (!price.empty() && !ConvertPrice(price)) {
      return NotANumber(std::string(list) + " entry " + std::to_string(r + 1) + ": ", price);
    }
  }
  return "";
}

// The checks of one row's texts, and its title and index price.
void CheckRow(Planned &planned, const TemplatePlaces &places, const Settings &settings) {
  const CatalogueRow &row = *planned.row;
  const ProductPageInput &page = row.Page;
  std::string &error = planned.error;
  error = row.Error.empty() ? CellCharacterError(row) : row.Error;
  if (!error.empty()) return;

  if (page.Mode == DescriptionMode::Single) {
    planned.title = page.Description;
    const std::optional<double> price = ConvertPrice(page.Price);
    if (page.Description.empty()) {
      error = "the row has no Description";
    } else if (!price) {
      error = page.Price.empty() ? "the row has no Price" : NotANumber("", page.Price);
    } else {
      planned.price = PriceDisplay(settings.Currency, FormatPrice(*price));
    }
  } else {
    error = ListPriceError(page.Descriptions, "Descriptions",
                           [](const DescriptionRow &r) -> const std::string & { return r.Price; });
    std::optional<double> lowest;
    bool several = false;
    for (const DescriptionRow &item : page.Descriptions) {
      const std::optional<double> price = ConvertPrice(item.Price);
      if (item.CartDescription.empty() || !price) continue;
      if (planned.title.empty()) planned.title = item.CartDescription;
      if (lowest && *price != *lowest) several = true;
      if (!lowest || *price < *lowest) lowest = price;
    }
    if (!page.Description.empty()) planned.title = page.Description;
    if (error.empty() && GetPelluxAddSelect(page.Descriptions, settings).empty()) {
      error =
          "Descriptions gives the list no item (each needs a Cart Description, a Price and, "
          "for cart generation 4, a Readable Text)";
    }
    if (lowest) {
      planned.price =
          (several ? "from " : "") + PriceDisplay(settings.Currency, FormatPrice(*lowest));
    }
  }
  for (std::size_t g = 0; g < page.Options.size() && error.empty(); ++g) {
    error = ListPriceError(page.Options[g].Rows, "Option" + std::to_string(g + 1) + "Rows",
                           [](const OptionRow &r) -> const std::string & { return r.Price; });
  }
  if (error.empty()) {
    error = ListPriceError(page.Related, "Related",
                           [](const RelatedRow &r) -> const std::string & { return r.Price; });
  }
  if (error.empty()) error = places.Missing(page, !row.ImagePath.empty());
}

// Names the pages: the File cells first, so a name made from a description never takes one a
// row asks for, then the descriptions, all in row order.
void NamePages(std::vector<Planned> &plan) {
  FileNames names;
  names.Reserve(kCatalogueIndexFile);
  for (Planned &planned : plan) {
    if (!planned.error.empty() || planned.row->FileName.empty()) continue;
    planned.fileName = PageFileName(planned.row->FileName, planned.error);
    if (planned.error.empty() && !names.Reserve(planned.fileName)) {
      planned.error = "File \"" + planned.fileName + "\" is named by an earlier row";
    }
  }
  for (Planned &planned : plan) {
    if (planned.error.empty() && planned.fileName.empty()) {
      planned.fileName = names.Unique(FileNameWords(planned.title), ".html");
    }
  }
}

// One picture per picture file, however many names the rows give it, named in row order.
std::vector<CataloguePicture> PlanPictures(std::vector<Planned> &plan,
                                           const fs::path &inputFolder) {
  CataloguePictures pictures(inputFolder);
  for (Planned &planned : plan) {
    if (!planned.error.empty() || planned.row->ImagePath.empty()) continue;
    planned.picture = pictures.Add(planned.row->ImagePath, planned.error);
  }
  return pictures.Take();
}

void CopyPicture(CataloguePicture &picture, const fs::path &imageFolder, bool replace) {
  const std::optional<std::string> bytes = ReadCataloguePicture(picture);
  if (bytes) WriteFileWhole(imageFolder / picture.FileName, *bytes, replace);
}

std::string PictureTag(const CataloguePicture &picture) {
  return ImageTag(std::string(kCatalogueImageFolder) + "/" + FileAddress(picture.FileName));
}

void WritePage(Planned &planned, const std::vector<CataloguePicture> &pictures,
               std::string_view templateText, const Settings &settings,
               const fs::path &outputFolder, bool replace) {
  if (planned.picture && !pictures[*planned.picture].Error.empty()) {
    planned.error = pictures[*planned.picture].Error;
    return;
  }
  ProductPageInput page = planned.row->Page;
  // The wizard takes the description as HTML; a catalogue's cells are text, as in its titles.
  page.Description = EscapeHtmlText(page.Description);
  if (planned.picture) page.ProductImageTag = PictureTag(pictures[*planned.picture]);
  const std::string document =
      ProductPageDocument(planned.title, BuildProductPage(templateText, page, settings));
  try {
    WriteFileWhole(outputFolder / planned.fileName, document, replace);
  } catch (const FileNameTooLongError &) {
    planned.error = FileNameTooLong(planned.fileName);
    return;
  }
  planned.written = true;
}

// Runs job(0) .. job(count - 1) on up to `threads` threads, the calling one included, each index
// once, until cancel is set.
void ParallelFor(std::size_t count, unsigned threads, const std::atomic<bool> *cancel,
                 const std::function<void(std::size_t)> &job) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < count && !(cancel && *cancel); i = next++) job(i);
  };
  std::vector<std::jthread> helpers;
  for (unsigned t = 1; t < threads && t < count; ++t) helpers.emplace_back(work);
  work();
}

// Runs job, turning whatever it throws into the row's or picture's error; kept is set when it
// was a file that exists.
template <typename Job>
void Guarded(std::string &error, std::atomic<bool> &kept, Job job) {
  try {
    job();
  } catch (const FileExistsError &failure) {
    error = failure.what();
    kept = true;
  } catch (const std::exception &failure) {
    error = failure.what();
  }
}

}  // namespace

CatalogueReport BuildCatalogue(std::string_view templateText, const std::vector<CatalogueRow> &rows,
                               const Settings &settings, const fs::path &inputFolder,
                               const fs::path &outputFolder, const CatalogueOptions &options,
                               const CatalogueProgress &progress, const std::atomic<bool> *cancel) {
  const fs::path imageFolder = outputFolder / kCatalogueImageFolder;
  std::error_code made;
  fs::create_directories(outputFolder, made);
  if (made)
    throw FileError("cannot make the folder " + outputFolder.string() + ": " + made.message());

  const TemplatePlaces places(templateText);
  std::vector<Planned> plan(rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    plan[r].row = &rows[r];
    CheckRow(plan[r], places, settings);
  }
  NamePages(plan);
  std::vector<CataloguePicture> pictures = PlanPictures(plan, inputFolder);
  if (!pictures.empty()) {
    fs::create_directories(imageFolder, made);
    if (made)
      throw FileError("cannot make the folder " + imageFolder.string() + ": " + made.message());
  }

  std::atomic<bool> kept{false};
  unsigned threads = options.Threads ? options.Threads : std::thread::hardware_concurrency();
  if (threads == 0) threads = 1;
  ParallelFor(pictures.size(), threads, cancel, [&](std::size_t i) {
    Guarded(pictures[i].Error, kept,
            [&] { CopyPicture(pictures[i], imageFolder, options.Replace); });
  });

  std::vector<std::size_t> toWrite;
  std::size_t done = 0;
  for (std::size_t r = 0; r < plan.size(); ++r) {
    if (plan[r].error.empty()) {
      toWrite.push_back(r);
    } else {
      ++done;
    }
  }
  std::mutex progressLock;
  const auto tell = [&](std::size_t finished) {
    if (!progress) return;
    const std::lock_guard lock(progressLock);
    done += finished;
    progress(done, rows.size());
  };
  tell(0);
  ParallelFor(toWrite.size(), threads, cancel, [&](std::size_t i) {
    Planned &planned = plan[toWrite[i]];
    Guarded(planned.error, kept, [&] {
      WritePage(planned, pictures, templateText, settings, outputFolder, options.Replace);
    });
    tell(1);
  });

  CatalogueReport report;
  std::vector<CatalogueEntry> entries;
  for (const Planned &planned : plan) {
    // A row neither written nor failed was not reached.
    if (!planned.written && planned.error.empty()) report.Cancelled = true;
    if (planned.written) {
      ++report.PagesWritten;
      entries.push_back({planned.title, planned.price, planned.fileName});
    } else if (!planned.error.empty()) {
      report.Skipped.push_back({planned.row->Line, planned.error});
    }
  }
  std::stable_sort(report.Skipped.begin(), report.Skipped.end(),
                   [](const SkippedRow &a, const SkippedRow &b) { return a.Line < b.Line; });
  Guarded(report.IndexError, kept, [&] {
    WriteFileWhole(outputFolder / kCatalogueIndexFile,
                   CatalogueIndexDocument(settings.Company, entries), options.Replace);
  });
  report.ExistingKept = kept;
  return report;
}

}  // namespace vendigo
