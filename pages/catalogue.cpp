#include "pages/catalogue.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "builders/price_rules.h"
#include "core/file_error.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"
#include "core/whole_file.h"
#include "pages/catalogue_document.h"
#include "pages/catalogue_names.h"
#include "pages/template_engine.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// A picture the catalogue copies, once however many rows show it.
struct Picture {
  fs::path source;
  std::string fileName;  // in the images folder
  std::string error;     // why it could not be copied
};

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
  error = row.Error;
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
  if (error.empty() && !row.ImagePath.empty() && !IsProductImageFile(row.ImagePath)) {
    error = "ProductImage \"" + row.ImagePath + "\" must be a .jpg, .gif or .png file";
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

// One Picture per picture file, named after the file in row order.
std::vector<Picture> PlanPictures(std::vector<Planned> &plan, const fs::path &inputFolder) {
  std::vector<Picture> pictures;
  std::map<fs::path, std::size_t> bySource;
  FileNames names;
  for (Planned &planned : plan) {
    if (!planned.error.empty() || planned.row->ImagePath.empty()) continue;
    const fs::path source = (inputFolder / planned.row->ImagePath).lexically_normal();
    auto [at, added] = bySource.try_emplace(source, pictures.size());
    if (added) {
      std::string extension = source.extension().string();
      for (char &c : extension) c = AsciiLower(c);
      pictures.push_back(
          {source, names.Unique(FileNameWords(source.stem().string()), extension), ""});
    }
    planned.picture = at->second;
  }
  return pictures;
}

void CopyPicture(Picture &picture, const fs::path &imageFolder, bool replace) {
  std::string reason;
  const std::optional<std::string> bytes = ReadFileBytes(picture.source, reason);
  if (!bytes) {
    picture.error = "cannot read the picture " + picture.source.string() + ": " + reason;
    return;
  }
  const fs::path target = imageFolder / picture.fileName;
  WriteFileWhole(target, *bytes, replace);
}

std::string PictureTag(const Picture &picture) {
  return ImageTag(std::string(kCatalogueImageFolder) + "/" + FileAddress(picture.fileName));
}

void WritePage(Planned &planned, const std::vector<Picture> &pictures,
               std::string_view templateText, const Settings &settings,
               const fs::path &outputFolder, bool replace) {
  if (planned.picture && !pictures[*planned.picture].error.empty()) {
    planned.error = pictures[*planned.picture].error;
    return;
  }
  ProductPageInput page = planned.row->Page;
  if (planned.picture) page.ProductImageTag = PictureTag(pictures[*planned.picture]);
  const std::string document =
      ProductPageDocument(planned.title, BuildProductPage(templateText, page, settings));
  WriteFileWhole(outputFolder / planned.fileName, document, replace);
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
  std::vector<Picture> pictures = PlanPictures(plan, inputFolder);
  if (!pictures.empty()) {
    fs::create_directories(imageFolder, made);
    if (made)
      throw FileError("cannot make the folder " + imageFolder.string() + ": " + made.message());
  }

  std::atomic<bool> kept{false};
  unsigned threads = options.Threads ? options.Threads : std::thread::hardware_concurrency();
  if (threads == 0) threads = 1;
  ParallelFor(pictures.size(), threads, cancel, [&](std::size_t i) {
    Guarded(pictures[i].error, kept,
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
