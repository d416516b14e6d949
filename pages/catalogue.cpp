#include "pages/catalogue.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "builders/price_rules.h"
#include "core/currency_code.h"
#include "core/file_error.h"
#include "core/html_escape.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"
#include "core/staged_folder.h"
#include "core/whole_file.h"
#include "pages/catalogue_cells.h"
#include "pages/catalogue_document.h"
#include "pages/catalogue_index_list.h"
#include "pages/catalogue_names.h"
#include "pages/catalogue_picture.h"
#include "pages/catalogue_search_files.h"
#include "pages/product_data.h"
#include "pages/product_page_plan.h"
#include "pages/template_engine.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// A row on its way to a page.
struct Planned {
  CatalogueRow row;
  std::string error;  // why it gives no page
  std::string fileName;
  std::string title;                   // the description in the page title and the index
  std::string price;                   // the price in the index
  std::optional<std::size_t> picture;  // the run's pictures counted in the order first shown
  std::string pictureFile;             // its name in the images folder
  // Set on the first row showing a picture: it is copied before the page.
  std::optional<CataloguePicture> newPicture;
  std::string document;  // the page, once built
  ProductFacts facts;    // what the feed tells of it, once built
};

// What the run tells search engines: the currency code of the prices (empty: no product data)
// and the site's address (empty: no addresses, sitemap or feed).
struct SearchData {
  std::string currencyCode;
  std::string siteAddress;
};

// Which placeholders the template holds, with its "image" blocks resolved either way: found once,
// not for every row.
class TemplatePlaces {
 public:
  explicit TemplatePlaces(std::string_view templateText)
      : withPicture_(ParseIfBlocks(templateText, "image", true)),
        withoutPicture_(ParseIfBlocks(templateText, "image", false)) {}

  // Why the page would lose a part of the row: the first part the template has no place for.
  std::string Missing(const ProductPageInput &page, bool picture) const {
    const Holds &holds = picture ? withPicture_ : withoutPicture_;
    const auto lacks = [](bool held, std::string_view placeholder, std::string_view part) {
      return held ? std::string()
                  : "the template has no " + std::string(placeholder) + " for " + std::string(part);
    };
    std::string missing = page.Mode == DescriptionMode::Single
                              ? lacks(holds.item, "%zf_pelluxaddh%", "the item")
                              : lacks(holds.list, "%zf_pelluxadds%", "the list of items");
    if (missing.empty() && !page.LongText.empty()) {
      missing = lacks(holds.longText, "%zf_long_text%", "LongText");
    }
    if (missing.empty() && HasEops(page.Options)) {
      missing = lacks(holds.options, "%zf_all_options%", "the options");
    }
    if (missing.empty() && HasUpsells(page.Related)) {
      missing = lacks(holds.related, "%zf_upsells%", "the related products");
    }
    if (missing.empty() && picture) {
      missing = lacks(holds.picture, "%zf_product_image%", "ProductImage");
    }
    return missing;
  }

 private:
  struct Holds {
    explicit Holds(const std::string &text)
        : item(ContainsText(text, "%zf_pelluxaddh%")),
          list(ContainsText(text, "%zf_pelluxadds%")),
          longText(ContainsText(text, "%zf_long_text%")),
          options(ContainsText(text, "%zf_all_options%")),
          related(ContainsText(text, "%zf_upsells%")),
          picture(ContainsText(text, "%zf_product_image%")) {}
    bool item, list, longText, options, related, picture;
  };
  Holds withPicture_;
  Holds withoutPicture_;
};

std::string NotANumber(std::string_view where, std::string_view price) {
  return std::string(where) + "price \"" + std::string(price) + "\" is not a number";
}

// The cart takes a weight only as a whole number of at most six digits; a page with any other
// weight could not be ordered.
constexpr std::size_t kMaxWeightDigits = 6;

std::string WeightError(std::string_view where, std::string_view weight) {
  if (weight.size() <= kMaxWeightDigits && IsNumberText(weight, false)) return "";
  return std::string(where) + "weight \"" + std::string(weight) +
         "\" is not a whole number of at most " + std::to_string(kMaxWeightDigits) + " digits";
}

// Every price given in a list must convert and every weight be whole; the first that is not is
// the error.
template <typename Row>
std::string ListNumberError(const std::vector<Row> &rows, std::string_view list) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    // The place is named only in an error, which most rows have none of.
    const auto where = [&] { return std::string(list) + " entry " + std::to_string(r + 1) + ": "; };
    if (!rows[r].Price.empty() && !ConvertPrice(rows[r].Price)) {
      return NotANumber(where(), rows[r].Price);
    }
    if (!WeightError("", rows[r].Weight).empty()) return WeightError(where(), rows[r].Weight);
  }
  return "";
}

// The checks of one row's texts, and its title and index price.
void CheckRow(Planned &planned, const TemplatePlaces &places, const Settings &settings) {
  const CatalogueRow &row = planned.row;
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
    } else if (error = WeightError("", page.Weight); error.empty()) {
      planned.price = PriceDisplay(settings.Currency, FormatPrice(*price));
    }
  } else {
    error = ListNumberError(page.Descriptions, "Descriptions");
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
    if (error.empty() && !HasPelluxAddItem(page.Descriptions, settings)) {
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
    error = ListNumberError(page.Options[g].Rows, "Option" + std::to_string(g + 1) + "Rows");
  }
  if (error.empty()) {
    error = ListNumberError(page.Related, "Related");
  }
  if (error.empty()) error = places.Missing(page, !row.ImagePath.empty());
}

// Names the pages and pictures of the rows in row order: the File cells first, so a name made
// from a description never takes one a later row asks for, then the descriptions.
class RowNamer {
 public:
  // Reads all rows once for their File cells, when they may have any, then rewinds them.
  RowNamer(CatalogueRowReader &rows, const TemplatePlaces &places, const Settings &settings,
           fs::path inputFolder, const std::atomic<bool> *cancel)
      : pictures_(std::move(inputFolder)) {
    pageNames_.Reserve(kCatalogueIndexFile);
    if (!rows.MayNameFiles()) return;
    Planned planned;
    while (!(cancel && *cancel) && rows.Next(planned.row)) {
      if (planned.row.FileName.empty()) continue;
      CheckRow(planned, places, settings);
      std::string error;
      const std::string name = PageFileName(planned.row.FileName, error);
      if (planned.error.empty() && error.empty()) pageNames_.Reserve(name);
    }
    rows.Rewind();
  }

  // Names a checked row's page and picture, or sets its error.
  void Name(Planned &planned) {
    if (!planned.error.empty()) return;
    if (!planned.row.FileName.empty()) {
      planned.fileName = PageFileName(planned.row.FileName, planned.error);
      if (planned.error.empty() && !givenNames_.Reserve(planned.fileName)) {
        planned.error = "File \"" + planned.fileName + "\" is named by an earlier row";
      }
    } else {
      // The index's pages are index.html, index-2.html, ...
      std::string stem = FileNameWords(planned.title);
      if (stem == "index") stem = "index-page";
      planned.fileName = stem + ".html";
      for (int number = 2;
           IsCatalogueIndexPageName(planned.fileName) || !pageNames_.Reserve(planned.fileName);
           ++number) {
        planned.fileName = stem + "-" + std::to_string(number) + ".html";
      }
    }
    if (!planned.error.empty() || planned.row.ImagePath.empty()) return;
    const std::size_t known = pictures_.Size();
    planned.picture = pictures_.Add(planned.row.ImagePath, planned.error);
    if (!planned.picture) return;
    const CataloguePicture &picture = pictures_.At(*planned.picture);
    if (*planned.picture == known) planned.newPicture = picture;
    planned.pictureFile = picture.FileName;
  }

 private:
  FileNames pageNames_;   // the File cells' names and the names given so far
  FileNames givenNames_;  // the File cells' names of the rows named so far
  CataloguePictures pictures_;
};

void BuildPage(Planned &planned, const ProductPagePlan &plan, const Settings &settings,
               const SearchData &search) {
  ProductPageInput page = std::move(planned.row.Page);
  const std::size_t line = planned.row.Line;
  planned.row = CatalogueRow{};  // only its line is wanted from here on
  planned.row.Line = line;
  const std::string picture =
      planned.picture ? std::string(kCatalogueImageFolder) + "/" + FileAddress(planned.pictureFile)
                      : std::string();
  // The product data goes into the head, made from the same input as the order fields.
  std::string head;
  if (!search.currencyCode.empty()) {
    planned.facts = ProductFactsOf(page, settings, false);
    planned.facts.Name = planned.title;
    planned.facts.CurrencyCode = search.currencyCode;
    if (!search.siteAddress.empty()) {
      planned.facts.Url = search.siteAddress + FileAddress(planned.fileName);
      if (!picture.empty()) planned.facts.ImageUrl = search.siteAddress + picture;
    }
    head = ProductHeadTags(planned.facts);
  }
  page.ProductData = "";
  // The wizard takes the description as HTML; a catalogue's cells are text, as in its titles.
  page.Description = EscapeHtmlText(page.Description);
  if (!picture.empty()) page.ProductImageTag = ImageTag(picture);
  // Written into the slot's document as it stands, whose memory the page before left there.
  std::string &document = planned.document;
  document.clear();
  StartProductPageDocument(document, planned.title, head);
  plan.AppendTo(document, page, kProductPageDocumentEndSize);
  EndProductPageDocument(document);
}

// Runs job, turning whatever it throws into the row's or picture's error; kept is set when it
// was a file that exists.
template <typename Job>
void Guarded(std::string &error, bool &kept, Job job) {
  try {
    job();
  } catch (const FileExistsError &failure) {
    error = failure.what();
    kept = true;
  } catch (const std::exception &failure) {
    error = failure.what();
  }
}

// The file-system steps of a run, all on one thread: pictures, pages and the index.
class CatalogueWriter {
 public:
  CatalogueWriter(const fs::path &outputFolder, const CatalogueOptions &options,
                  const SearchData &search, const std::string &company)
      : workFolder_(outputFolder),
        imageFolder_(outputFolder / kCatalogueImageFolder),
        replace_(options.Replace) {
    if (!search.currencyCode.empty() && !search.siteAddress.empty()) {
      searchFiles_.emplace(search.siteAddress, company);
    }
    // A folder the run makes holds nothing to compare with or to keep: it is filled out of sight
    // and appears whole.
    if (!fs::exists(fs::symlink_status(outputFolder))) {
      stage_.emplace(outputFolder);
      workFolder_ = stage_->Path();
      return;
    }
    std::error_code made;
    fs::create_directories(outputFolder, made);
    if (made)
      throw FileError("cannot make the folder " + outputFolder.string() + ": " + made.message());
    RemoveAbandonedFiles(outputFolder);
    RemoveAbandonedFiles(imageFolder_);
  }

  // Puts a folder the run made in place, with the files written so far; the rows not reached
  // are left out, as for a cancelled run.
  void Place() {
    if (stage_) stage_->Place();
  }

  // Copies a row's new picture, then writes its page; the row's error says why it gives none.
  void WriteRow(Planned &planned) {
    if (planned.newPicture) {
      Guarded(pictureErrors_.emplace_back(), kept_, [&] { CopyPicture(planned); });
    }
    if (planned.error.empty() && planned.picture) planned.error = pictureErrors_[*planned.picture];
    if (planned.error.empty()) {
      Guarded(planned.error, kept_, [&] {
        try {
          Write(false, planned.fileName, planned.document);
        } catch (const FileNameTooLongError &) {
          planned.error = FileNameTooLong(planned.fileName);
        }
      });
    }
    if (planned.error.empty()) {
      ++report_.PagesWritten;
      index_.Add({planned.title, planned.price, planned.fileName});
      if (searchFiles_) {
        Guarded(report_.SearchFilesError, kept_,
                [&] { searchFiles_->AddProduct(planned.facts, planned.fileName); });
      }
    } else {
      report_.Skipped.push_back({planned.row.Line, planned.error});
    }
  }

  CatalogueReport Finish(std::string_view company, std::size_t perPage) {
    perPage = std::max<std::size_t>(perPage, 1);
    const std::size_t pages = std::max<std::size_t>((index_.Size() + perPage - 1) / perPage, 1);
    std::size_t page = 0;
    Guarded(report_.IndexError, kept_, [&] {
      index_.ForEachPage(perPage, [&](const std::vector<CatalogueEntry> &entries) {
        ++page;
        Write(false, CatalogueIndexPageName(page),
              CatalogueIndexDocument(company, entries, page, pages));
      });
    });
    if (searchFiles_ && report_.SearchFilesError.empty()) {
      Guarded(report_.SearchFilesError, kept_, [&] {
        searchFiles_->Finish(index_, pages, [this](const std::string &name, std::FILE *bytes) {
          WriteFileWholeFrom(workFolder_ / name, bytes, replace_);
        });
      });
    }
    report_.ExistingKept = kept_;
    Place();
    return std::move(report_);
  }

  CatalogueReport &Report() { return report_; }

 private:
  void CopyPicture(Planned &planned) {
    // Read through one descriptor and checked again: what is copied is what was checked.
    const std::optional<std::string> bytes = ReadCataloguePicture(*planned.newPicture);
    if (!bytes) throw FileError(planned.newPicture->Error);
    if (!imagesMade_) {
      if (stage_) {
        stage_->MakeFolder(kCatalogueImageFolder);
      } else {
        std::error_code made;
        fs::create_directories(imageFolder_, made);
        if (made) {
          throw FileError("cannot make the folder " + imageFolder_.string() + ": " +
                          made.message());
        }
      }
      imagesMade_ = true;
    }
    Write(true, planned.pictureFile, *bytes);
    planned.newPicture.reset();
  }

  void Write(bool image, const std::string &name, std::string_view bytes) {
    if (stage_) {
      stage_->Write(image ? std::string(kCatalogueImageFolder) + "/" + name : name, bytes);
    } else {
      WriteFileWhole((image ? imageFolder_ : workFolder_) / name, bytes, replace_);
    }
  }

  fs::path workFolder_;  // the output folder, or where the run fills the one it makes
  fs::path imageFolder_;  // in an output folder that existed
  bool replace_;
  std::optional<StagedFolder> stage_;  // set when the run makes the output folder
  bool imagesMade_ = false;
  std::vector<std::string> pictureErrors_;  // by picture number; empty: copied
  CatalogueIndexList index_;
  std::optional<CatalogueSearchFiles> searchFiles_;  // set when there is a sitemap and feed
  CatalogueReport report_;
  bool kept_ = false;
};

// Rows go from the reader to the builders and from the builders to the writer in batches of up
// to this many, so that a thread waits, and is woken, once for many rows rather than for each.
constexpr std::size_t kBatchRows = 32;
// A builder takes this many rows at a time, so that two builders share a batch.
constexpr std::size_t kClaimRows = kBatchRows / 2;

// The rows between the reader and the writer: a ring of slots, each row in the slot of its
// number, the reader waiting while the ring is full.
struct RowRing {
  struct Slot {
    Planned planned;
    bool built = false;
  };
  explicit RowRing(std::size_t size) : slots(size) {}
  Slot &At(std::size_t row) { return slots[row % slots.size()]; }

  // Waits on wake until ready holds, counted in waiting meanwhile, so the other threads wake
  // only the threads that wait.
  template <typename Waiting, typename Ready>
  void Wait(std::condition_variable &wake, Waiting &waiting, std::unique_lock<std::mutex> &lock,
            Ready ready) {
    if (ready()) return;
    ++waiting;
    wake.wait(lock, ready);
    --waiting;
  }

  // The writer takes the rows built in a row from the next to write once there are half a ring
  // of them, or all there will be: fewer waits and wakes than one row at a time.
  bool BatchBuilt() {
    std::size_t run = 0;
    while (written + run < read && At(written + run).built) ++run;
    return run >= slots.size() / 2 || (run > 0 && readingDone && written + run == read);
  }

  std::mutex lock;
  std::condition_variable readerWake, builderWake, writerWake;
  std::vector<Slot> slots;
  std::size_t read = 0;     // rows put in by the reader
  std::size_t claimed = 0;  // rows taken by a builder
  std::size_t written = 0;  // rows taken out by the writer
  bool readingDone = false;
  bool stop = false;
  int readerWaits = 0;
  int idleBuilders = 0;
  int writerWaits = 0;
};

// A list of rows read already, handed over one at a time.
class RowList : public CatalogueRowReader {
 public:
  explicit RowList(const std::vector<CatalogueRow> &rows) : rows_(rows) {}
  bool Next(CatalogueRow &row) override {
    if (next_ >= rows_.size()) return false;
    row = rows_[next_++];
    return true;
  }
  void Rewind() override { next_ = 0; }
  double Progress() const override {
    return rows_.empty() ? 1.0 : static_cast<double>(next_) / static_cast<double>(rows_.size());
  }

 private:
  const std::vector<CatalogueRow> &rows_;
  std::size_t next_ = 0;
};

}  // namespace

CatalogueReport BuildCatalogue(std::string_view templateText, CatalogueRowReader &rows,
                               const Settings &settings, const fs::path &inputFolder,
                               const fs::path &outputFolder, const CatalogueOptions &options,
                               const CatalogueProgress &progress, const std::atomic<bool> *cancel) {
  const SearchData search{ProductCurrencyCode(settings), options.SiteAddress};
  CatalogueWriter writer(outputFolder, options, search, settings.Company);
  // A shop without a currency code hears of it when it asks for a sitemap and feed: its
  // catalogues stay as they were.
  if (!search.currencyCode.empty() && search.siteAddress.empty()) {
    writer.Report().SearchDataNote = kNoSiteAddressNote;
  }
  const TemplatePlaces places(templateText);
  const ProductPagePlan plan(templateText, settings);
  unsigned threads = options.Threads ? options.Threads : std::thread::hardware_concurrency();
  if (threads == 0) threads = 1;
  RowRing ring(2 * kBatchRows * (static_cast<std::size_t>(threads) + 2));
  std::atomic<double> readShare{0};
  bool readerCancelled = false;
  std::exception_ptr readFailure;

  std::vector<std::jthread> workers;
  // However the writer leaves, the other threads stop before the ring goes.
  struct Stopper {
    RowRing &ring;
    ~Stopper() {
      {
        const std::lock_guard lock(ring.lock);
        ring.stop = true;
      }
      ring.readerWake.notify_all();
      ring.builderWake.notify_all();
    }
  } stopper{ring};

  workers.emplace_back([&] {
    try {
      RowNamer namer(rows, places, settings, inputFolder, cancel);
      std::vector<Planned> batch;
      for (bool more = true; more;) {
        if (cancel && *cancel) {
          readerCancelled = true;
          more = false;
        } else {
          Planned planned;
          more = rows.Next(planned.row);
          if (more) {
            readShare = rows.Progress();
            CheckRow(planned, places, settings);
            namer.Name(planned);
            batch.push_back(std::move(planned));
          }
        }
        if (batch.empty() || (more && batch.size() < kBatchRows)) continue;
        std::unique_lock lock(ring.lock);
        // A full ring is filled again once half of it is free, which saves waking for each batch.
        if (ring.read - ring.written + batch.size() > ring.slots.size()) {
          ring.Wait(ring.readerWake, ring.readerWaits, lock,
                    [&] { return ring.stop || ring.read - ring.written <= ring.slots.size() / 2; });
        }
        if (ring.stop) break;
        for (Planned &planned : batch) {
          // The slot keeps the memory of the page written from it, for the page built next.
          Planned &slot = ring.At(ring.read++).planned;
          std::string document = std::move(slot.document);
          slot = std::move(planned);
          slot.document = std::move(document);
        }
        batch.clear();
        const bool wake = ring.idleBuilders > 0;
        lock.unlock();
        if (wake) ring.builderWake.notify_one();
      }
    } catch (...) {
      readFailure = std::current_exception();
    }
    {
      const std::lock_guard lock(ring.lock);
      ring.readingDone = true;
    }
    ring.builderWake.notify_all();
    ring.writerWake.notify_all();
  });
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      for (;;) {
        std::unique_lock lock(ring.lock);
        ring.Wait(ring.builderWake, ring.idleBuilders, lock,
                  [&] { return ring.stop || ring.claimed < ring.read || ring.readingDone; });
        if (ring.stop || ring.claimed == ring.read) return;
        const std::size_t first = ring.claimed;
        const std::size_t count = std::min(kClaimRows, ring.read - ring.claimed);
        ring.claimed += count;
        // The rest of the batch goes to another builder, if one waits.
        const bool wakeBuilder = ring.claimed < ring.read && ring.idleBuilders > 0;
        lock.unlock();
        if (wakeBuilder) ring.builderWake.notify_one();
        for (std::size_t row = first; row < first + count; ++row) {
          Planned &planned = ring.At(row).planned;
          if (planned.error.empty()) {
            bool kept = false;
            Guarded(planned.error, kept, [&] { BuildPage(planned, plan, settings, search); });
          }
        }
        lock.lock();
        for (std::size_t row = first; row < first + count; ++row) ring.At(row).built = true;
        if (ring.writerWaits && ring.BatchBuilt()) ring.writerWake.notify_one();
      }
    });
  }

  // The writer writes the rows from their slots, and frees the slots after.
  std::size_t done = 0;
  for (bool more = true; more;) {
    std::size_t first = 0;
    std::size_t count = 0;
    std::size_t total = 0;
    {
      std::unique_lock lock(ring.lock);
      ring.Wait(ring.writerWake, ring.writerWaits, lock, [&] {
        return ring.BatchBuilt() || (ring.readingDone && ring.written == ring.read);
      });
      first = ring.written;
      while (first + count < ring.read && ring.At(first + count).built) ++count;
      more = !(ring.readingDone && first + count == ring.read);
      total = ring.readingDone
                  ? ring.read
                  : std::max<std::size_t>(
                        ring.read,
                        static_cast<std::size_t>(ring.read / std::max(readShare.load(), 1e-6)));
    }
    for (std::size_t row = first; row < first + count; ++row) {
      if (cancel && *cancel) {
        writer.Report().Cancelled = true;
        more = false;
        break;
      }
      writer.WriteRow(ring.At(row).planned);
      ++done;
      if (progress) progress(done, total);
    }
    bool wakeReader = false;
    {
      const std::lock_guard lock(ring.lock);
      for (std::size_t row = first; row < first + count; ++row) ring.At(row).built = false;
      ring.written = first + count;
      wakeReader = ring.readerWaits && ring.read - ring.written <= ring.slots.size() / 2;
    }
    if (wakeReader) ring.readerWake.notify_one();
  }
  {
    const std::lock_guard lock(ring.lock);
    ring.stop = true;
  }
  ring.readerWake.notify_all();
  ring.builderWake.notify_all();
  workers.clear();
  if (readFailure) {
    // What was written stays, as for a cancelled run; the reading's failure is the one told.
    try {
      writer.Place();
    } catch (const FileError &) {
    }
    std::rethrow_exception(readFailure);
  }
  if (readerCancelled) writer.Report().Cancelled = true;
  writer.Report().Rows = ring.read;
  return writer.Finish(settings.Company, options.IndexPageProducts);
}

CatalogueReport BuildCatalogue(std::string_view templateText, const std::vector<CatalogueRow> &rows,
                               const Settings &settings, const fs::path &inputFolder,
                               const fs::path &outputFolder, const CatalogueOptions &options,
                               const CatalogueProgress &progress, const std::atomic<bool> *cancel) {
  RowList list(rows);
  return BuildCatalogue(templateText, list, settings, inputFolder, outputFolder, options, progress,
                        cancel);
}

}  // namespace vendigo
