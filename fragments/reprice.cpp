#include "fragments/reprice.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "builders/price_rules.h"
#include "check/site_check.h"
#include "core/file_reading.h"
#include "core/file_replacement.h"
#include "core/html_escape.h"
#include "core/json_fields.h"
#include "core/text_encoding.h"
#include "fragments/carried_edit.h"
#include "fragments/fragment_commands.h"
#include "fragments/fragment_reading.h"
#include "pages/catalogue_csv.h"

namespace vendigo {
namespace {

// How far past a description, in characters of text (tags not counted), a price still counts as
// shown beside it.
constexpr std::size_t kBesideCharacters = 80;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsAsciiAlnum(char c) {
  return IsAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A price as a number: "1,234.50" and "1234.5" alike; nullopt when it is none.
std::optional<double> PriceValue(std::string_view text) {
  std::string digits;
  for (const char c : Trimmed(text)) {
    if (c != ',') digits += c;
  }
  return ConvertPrice(digits);
}

bool SamePrice(std::string_view a, std::string_view b) {
  const std::optional<double> x = PriceValue(a);
  const std::optional<double> y = PriceValue(b);
  if (!x || !y) return Trimmed(a) == Trimmed(b);
  return std::fabs(*x - *y) < 0.0005;
}

std::string ModeName(const nlohmann::json &input) {
  const std::string mode = input.value("Mode", std::string("checkbox"));
  if (mode == "radio") return "addit radio table";
  if (mode == "select") return "addit select list";
  if (mode == "quantity") return "quantity-add table";
  return "addit checkbox table";
}

std::string KindName(const std::string &kind, const nlohmann::json &input) {
  if (kind == "pelluxadd") return "hidden item";
  if (kind == "quicklink") return "quick link";
  if (kind == "textadd") return "text option";
  if (kind == "options") return "option list";
  if (kind == "addit") return ModeName(input);
  return kind;
}

// The number of line ends in bytes (CR LF counted once), and the characters after the last.
struct Stretch {
  int lineEnds = 0;
  int charactersAfter = 0;
};

Stretch Measure(std::string_view bytes, bool windows1252) {
  Stretch stretch;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      ++stretch.lineEnds;
      stretch.charactersAfter = 0;
    } else if (windows1252 || (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++stretch.charactersAfter;
    }
  }
  return stretch;
}

SourcePlace PlaceAfter(const SourcePlace &start, std::string_view bytes, bool windows1252) {
  const Stretch stretch = Measure(bytes, windows1252);
  SourcePlace place;
  place.offset = start.offset + bytes.size();
  place.line = start.line + stretch.lineEnds;
  place.column =
      stretch.lineEnds == 0 ? start.column + stretch.charactersAfter : stretch.charactersAfter + 1;
  return place;
}

// The ways a description may be written in a page's bytes: as it is and escaped for HTML, in the
// page's encoding.
std::vector<std::string> WrittenForms(const std::string &description, bool windows1252) {
  std::vector<std::string> forms = {description};
  const std::string escaped = EscapeHtmlText(description);
  if (escaped != description) forms.push_back(escaped);
  if (windows1252) {
    for (std::string &form : forms) form = Utf8ToWindows1252(form);
  }
  return forms;
}

// The line of the description inside a fragment's bytes; the fragment's own line when it is not
// written there as it is.
int DescriptionLine(const FoundFragment &fragment, std::string_view fragmentBytes,
                    const std::string &description, bool windows1252) {
  for (const std::string &form : WrittenForms(description, windows1252)) {
    const std::size_t at = fragmentBytes.find(form);
    if (at != std::string_view::npos) {
      return fragment.start.line + Measure(fragmentBytes.substr(0, at), windows1252).lineEnds;
    }
  }
  return fragment.start.line;
}

// The JSON text of a cell, "" when it is missing or no text.
std::string CellText(const nlohmann::json &row, std::size_t cell) {
  return row.is_array() && cell < row.size() && row[cell].is_string() ? row[cell].get<std::string>()
                                                                      : std::string();
}

void SetCell(nlohmann::json &row, std::size_t cell, const std::string &text) {
  while (row.size() <= cell) row.push_back("");
  row[cell] = text;
}

// Prices the fragments of one page.
class PageRepricer {
 public:
  PageRepricer(const std::string &file, std::string_view bytes, const PriceList &prices,
               const AcceptChange &accept)
      : file_(file), bytes_(bytes), prices_(prices), accept_(accept) {
    result_.windows1252 = !IsValidUtf8(bytes);
  }

  PageReprice Run(const Settings &settings) {
    const std::vector<FoundFragment> fragments = ReadFragments(bytes_, settings);
    for (const FoundFragment &fragment : fragments) Reprice(fragment);
    std::sort(result_.matchedRows.begin(), result_.matchedRows.end());
    result_.matchedRows.erase(std::unique(result_.matchedRows.begin(), result_.matchedRows.end()),
                              result_.matchedRows.end());
    result_.newBytes.reserve(bytes_.size());
    std::size_t done = 0;
    for (const FragmentReplacement &replacement : result_.replacements) {
      result_.newBytes.append(bytes_.substr(done, replacement.start.offset - done));
      result_.newBytes += replacement.newBytes;
      done = replacement.end.offset;
    }
    result_.newBytes.append(bytes_.substr(done));
    FindHandChecks(fragments);
    return std::move(result_);
  }

 private:
  // A fragment's description, price and weight, as found in its input.
  struct Item {
    std::string description;
    std::string price;
    std::string weight;
    bool hasWeight = true;
    std::size_t row = 0;
  };

  void Reprice(const FoundFragment &fragment) {
    const Command *command = FindCommand(fragment.kind);
    if (!command || !command->build) return;
    const std::string_view oldBytes =
        bytes_.substr(fragment.start.offset, fragment.end - fragment.start.offset);
    nlohmann::json input = fragment.input;
    std::vector<PriceChange> changes;
    const auto consider = [&](const Item &item) -> const PriceRow * {
      const PriceRow *row = prices_.Find(item.description);
      if (!row) return nullptr;
      result_.matchedRows.push_back(static_cast<std::size_t>(row - prices_.rows.data()));
      const bool newWeight = item.hasWeight && !row->weight.empty() && row->weight != item.weight;
      if (SamePrice(item.price, row->price) && !newWeight) return nullptr;
      PriceChange change{file_,
                         DescriptionLine(fragment, oldBytes, item.description, result_.windows1252),
                         std::string(Trimmed(item.description)),
                         item.price,
                         row->price,
                         item.weight,
                         newWeight ? row->weight : item.weight,
                         fragment.kind,
                         KindName(fragment.kind, fragment.input),
                         fragment.start.offset,
                         item.row};
      if (accept_ && !accept_(change)) return nullptr;
      changes.push_back(std::move(change));
      return row;
    };

    if (fragment.kind == "options" || fragment.kind == "addit") {
      nlohmann::json *rows = input.contains("Rows") ? &input["Rows"] : nullptr;
      if (!rows || !rows->is_array()) return;
      for (std::size_t r = 0; r < rows->size(); ++r) {
        nlohmann::json &cells = (*rows)[r];
        if (!cells.is_array()) continue;
        const Item item{CellText(cells, 0), CellText(cells, 1), CellText(cells, 2), true, r + 1};
        const PriceRow *row = consider(item);
        if (!row) continue;
        if (fragment.kind == "options") {
          // The text the option builder makes by itself follows the price; one typed by hand
          // is the merchant's.
          const std::string made =
              item.description + " --Add " + fragment.settings.Currency + item.price;
          if (CellText(cells, 3) == made) {
            SetCell(cells, 3,
                    item.description + " --Add " + fragment.settings.Currency + row->price);
          }
        }
        SetCell(cells, 1, row->price);
        SetCell(cells, 2, changes.back().newWeight);
      }
    } else if (fragment.kind == "pelluxadd" || fragment.kind == "quicklink" ||
               fragment.kind == "textadd") {
      const bool caption = fragment.kind == "textadd";
      const char *descriptionKey = caption ? "Caption" : "Description";
      const Item item{input.value(descriptionKey, std::string()),
                      input.value("Price", std::string()), input.value("Weight", std::string()),
                      !caption, 0};
      if (const PriceRow *row = consider(item)) {
        input["Price"] = row->price;
        if (!caption) input["Weight"] = changes.back().newWeight;
      }
    }
    if (changes.empty()) return;

    std::string built;
    std::string rebuilt;
    try {
      built = command->build(fragment.settings, fragment.input);
      rebuilt = command->build(fragment.settings, input);
    } catch (const std::exception &error) {
      for (const PriceChange &change : changes) {
        result_.handChecks.push_back({file_, change.line, change.description,
                                      std::string("cannot be rebuilt (") + error.what() + ")"});
      }
      return;
    }
    if (result_.windows1252) {
      built = Utf8ToWindows1252(built);
      rebuilt = Utf8ToWindows1252(rebuilt);
    }
    // What the merchant changed in the fragment by hand (ordering instructions filled in, a
    // comment reworded) stays; only the places the new values change are changed.
    std::optional<std::string> carried = CarryRebuild(oldBytes, built, rebuilt);
    if (!carried) {
      for (const PriceChange &change : changes) {
        result_.handChecks.push_back({file_, change.line, change.description, change.oldPrice});
      }
      return;
    }
    rebuilt = std::move(*carried);
    if (rebuilt == oldBytes) return;
    result_.replacements.push_back({fragment.start,
                                    PlaceAfter(fragment.start, oldBytes, result_.windows1252),
                                    std::string(oldBytes), std::move(rebuilt)});
    for (PriceChange &change : changes) result_.changes.push_back(std::move(change));
  }

  // The prices outside every fragment that still show an old price beside a description whose
  // fragments changed.
  void FindHandChecks(const std::vector<FoundFragment> &fragments) {
    std::set<std::tuple<int, std::string, std::string>> seen;
    std::map<std::string, std::vector<std::pair<double, std::string>>> oldPrices;
    for (const PriceChange &change : result_.changes) {
      const std::optional<double> oldValue = PriceValue(change.oldPrice);
      if (oldValue && !SamePrice(change.oldPrice, change.newPrice)) {
        oldPrices[change.description].emplace_back(*oldValue, change.newPrice);
      }
    }
    const auto insideFragment = [&](std::size_t offset) -> const FoundFragment * {
      auto after = std::upper_bound(
          fragments.begin(), fragments.end(), offset,
          [](std::size_t at, const FoundFragment &f) { return at < f.start.offset; });
      if (after == fragments.begin()) return nullptr;
      const FoundFragment &before = *std::prev(after);
      return offset < before.end ? &before : nullptr;
    };
    for (const auto &[description, values] : oldPrices) {
      for (const std::string &form : WrittenForms(description, result_.windows1252)) {
        for (std::size_t at = bytes_.find(form); at != std::string_view::npos;
             at = bytes_.find(form, at + 1)) {
          const std::size_t end = at + form.size();
          if (insideFragment(at) || (at > 0 && IsAsciiAlnum(bytes_[at - 1])) ||
              (end < bytes_.size() && IsAsciiAlnum(bytes_[end]))) {
            continue;
          }
          for (const auto &[price, place] : PricesBeside(end, fragments)) {
            const std::optional<double> value = PriceValue(price);
            for (const auto &[oldValue, newPrice] : values) {
              if (!value || std::fabs(*value - oldValue) >= 0.0005) continue;
              const int line = 1 + Measure(bytes_.substr(0, place), result_.windows1252).lineEnds;
              if (seen.emplace(line, description, price).second) {
                result_.handChecks.push_back({file_, line, description, price});
              }
            }
          }
        }
      }
    }
    std::stable_sort(result_.handChecks.begin(), result_.handChecks.end(),
                     [](const HandCheck &a, const HandCheck &b) { return a.line < b.line; });
  }

  // The numbers in the text that follows offset, up to kBesideCharacters characters of text
  // (tags are skipped) or the next fragment, with their offsets.
  std::vector<std::pair<std::string, std::size_t>> PricesBeside(
      std::size_t offset, const std::vector<FoundFragment> &fragments) const {
    auto next = std::lower_bound(
        fragments.begin(), fragments.end(), offset,
        [](const FoundFragment &f, std::size_t at) { return f.start.offset < at; });
    const std::size_t limit = next == fragments.end() ? bytes_.size() : next->start.offset;
    std::vector<std::pair<std::string, std::size_t>> numbers;
    std::size_t text = 0;
    for (std::size_t at = offset; at < limit && text < kBesideCharacters;) {
      const char c = bytes_[at];
      if (c == '<') {
        const std::size_t close = bytes_.find('>', at);
        at = close == std::string_view::npos ? limit : close + 1;
        continue;
      }
      if (!IsAsciiDigit(c) || (at > 0 && (IsAsciiAlnum(bytes_[at - 1]) || bytes_[at - 1] == '.'))) {
        ++at;
        ++text;
        continue;
      }
      std::size_t end = at;
      bool point = false;
      while (end < limit &&
             (IsAsciiDigit(bytes_[end]) || bytes_[end] == ',' || (bytes_[end] == '.' && !point))) {
        point = point || bytes_[end] == '.';
        ++end;
      }
      std::size_t last = end;
      while (last > at && !IsAsciiDigit(bytes_[last - 1])) --last;
      numbers.emplace_back(std::string(bytes_.substr(at, last - at)), at);
      text += end - at;
      at = end;
    }
    return numbers;
  }

  const std::string &file_;
  std::string_view bytes_;
  const PriceList &prices_;
  const AcceptChange &accept_;
  PageReprice result_;
};

}  // namespace

const PriceRow *PriceList::Find(std::string_view description) const {
  const auto found = byDescription.find(std::string(Trimmed(description)));
  return found == byDescription.end() ? nullptr : &rows[found->second];
}

PriceList ReadPriceList(std::string_view bytes) {
  PriceList list;
  try {
    CatalogueCsvReader reader(bytes);
    for (const char *column : {"Description", "Price"}) {
      if (!reader.HasColumn(column)) {
        throw PriceListError(std::string("line 1: the spreadsheet has no ") + column +
                             " column; it needs Description and Price, and may have Weight");
      }
    }
    for (CatalogueRow row; reader.Next(row);) {
      const std::string where = "line " + std::to_string(row.Line) + ": ";
      if (!row.Error.empty()) throw PriceListError(where + row.Error);
      const std::string description(Trimmed(row.Page.Description));
      if (description.empty()) continue;
      if (row.Page.Price.empty()) throw PriceListError(where + description + " has no price");
      const auto [at, added] = list.byDescription.emplace(description, list.rows.size());
      if (!added) {
        throw PriceListError(where + description + " is priced on line " +
                             std::to_string(list.rows[at->second].line) + " already");
      }
      list.rows.push_back({description, row.Page.Price, row.Page.Weight, row.Line});
    }
  } catch (const CatalogueInputError &error) {
    throw PriceListError(error.what());
  }
  return list;
}

std::string FormatPriceChange(const PriceChange &change) {
  std::string text = change.file + ":" + std::to_string(change.line) + ": " + change.description +
                     ": " + change.oldPrice + " → " + change.newPrice;
  if (change.newWeight != change.oldWeight) {
    text += ", weight " + change.oldWeight + " → " + change.newWeight;
  }
  return text + " (" + change.kindName + ")";
}

std::string FormatHandCheck(const HandCheck &check) {
  return check.file + ":" + std::to_string(check.line) + ": " + check.description + ": " +
         check.text + " not changed: check by hand";
}

PageReprice RepricePage(const std::string &file, std::string_view bytes, const PriceList &prices,
                        const Settings &settings, const AcceptChange &accept) {
  return PageRepricer(file, bytes, prices, accept).Run(settings);
}

SiteReprice RepriceSite(const std::vector<std::string> &paths, const PriceList &prices,
                        const Settings &settings, const SiteRepriceOptions &options,
                        const std::function<bool(std::size_t done, std::size_t total)> &progress) {
  const std::vector<std::string> files = SitePageFiles(paths);
  std::map<std::string, const std::string *> given;
  for (const auto &[path, bytes] : options.givenBytes) {
    given.emplace(std::filesystem::path(path).lexically_normal().string(), &bytes);
  }
  std::vector<SitePage> pages(files.size());
  std::vector<bool> finished(files.size(), false);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t done = 0;
  FileReplacementBatch replacements;

  auto work = [&] {
    for (std::size_t i = next++; i < files.size() && !stop; i = next++) {
      SitePage page;
      page.file = files[i];
      const auto givenPage =
          given.find(std::filesystem::path(files[i]).lexically_normal().string());
      std::string reason;
      std::optional<std::string> bytes;
      if (givenPage != given.end()) {
        bytes = *givenPage->second;
      } else {
        bytes = ReadFileBytes(files[i], reason);
      }
      if (!bytes) {
        page.error = "cannot read the page: " + reason;
      } else {
        page.reprice = RepricePage(files[i], *bytes, prices, settings, options.accept);
        if (options.write && givenPage == given.end() && page.reprice.newBytes != *bytes) {
          page.written = replacements.Replace(files[i], page.reprice.newBytes, reason);
          if (!page.written) page.error = "cannot write the page: " + reason;
        }
      }
      const std::lock_guard lock(mutex);
      pages[i] = std::move(page);
      finished[i] = true;
      ++done;
      changed.notify_one();
    }
  };
  const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                                                      std::max<std::size_t>(1, files.size()));
  std::vector<std::thread> workers;
  for (std::size_t i = 0; i < threads; ++i) workers.emplace_back(work);
  {
    std::unique_lock lock(mutex);
    std::size_t told = static_cast<std::size_t>(-1);
    while (told != files.size()) {
      changed.wait(lock, [&] { return done != told; });
      told = done;
      if (!progress) continue;
      lock.unlock();
      const bool goOn = progress(told, files.size());
      lock.lock();
      if (!goOn) {
        stop = true;
        break;
      }
    }
  }
  for (std::thread &worker : workers) worker.join();
  std::map<std::string, std::string> unwritten;
  for (auto &[file, reason] : replacements.Finish()) unwritten[file.string()] = std::move(reason);
  for (std::size_t i = 0; i < files.size() && !unwritten.empty(); ++i) {
    const auto reason = unwritten.find(files[i]);
    if (reason == unwritten.end()) continue;
    pages[i].written = false;
    pages[i].error = "cannot write the page: " + reason->second;
  }

  SiteReprice result;
  result.stopped = stop;
  std::vector<bool> matched(prices.rows.size(), false);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!finished[i]) continue;
    SitePage &page = pages[i];
    for (const std::size_t row : page.reprice.matchedRows) matched[row] = true;
    result.changes += page.reprice.changes.size();
    result.changedPages += page.reprice.replacements.empty() ? 0 : 1;
    result.failedPages += page.error.empty() ? 0 : 1;
    result.pages.push_back(std::move(page));
  }
  for (std::size_t row = 0; row < prices.rows.size(); ++row) {
    if (!matched[row]) result.unmatched.push_back(prices.rows[row]);
  }
  return result;
}

}  // namespace vendigo
