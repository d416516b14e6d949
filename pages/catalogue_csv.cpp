#include "pages/catalogue_csv.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <string>
#include <utility>

#include "core/text_encoding.h"
#include "pages/product_data.h"
#include "pages/spreadsheet_number.h"
#include "pages/template_package.h"

namespace vendigo {
namespace {

enum class Column {
  Mode,
  Description,
  Price,
  Weight,
  Taxable,
  SmartTaxCode,
  LongText,
  ProductImage,
  File,
  Descriptions,
  Option1Name,
  Option1Rows,
  Option2Name,
  Option2Rows,
  Option3Name,
  Option3Rows,
  Related,
  Sku,
  Availability,
  Brand,
  Gtin,
};

struct ColumnName {
  const char *name;
  Column column;
};

constexpr std::array<ColumnName, 21> kColumns = {{
    {"Mode", Column::Mode},
    {"Description", Column::Description},
    {"Price", Column::Price},
    {"Weight", Column::Weight},
    {"Taxable", Column::Taxable},
    {"SmartTaxCode", Column::SmartTaxCode},
    {"LongText", Column::LongText},
    {"ProductImage", Column::ProductImage},
    {"File", Column::File},
    {"Descriptions", Column::Descriptions},
    {"Option1Name", Column::Option1Name},
    {"Option1Rows", Column::Option1Rows},
    {"Option2Name", Column::Option2Name},
    {"Option2Rows", Column::Option2Rows},
    {"Option3Name", Column::Option3Name},
    {"Option3Rows", Column::Option3Rows},
    {"Related", Column::Related},
    {"SKU", Column::Sku},
    {"Availability", Column::Availability},
    {"Brand", Column::Brand},
    {"GTIN", Column::Gtin},
}};

// The longest description the wizard's Description edit takes.
constexpr std::size_t kMaxDescriptionLength = 230;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A header cell as compared: ASCII letters lower-cased, blanks dropped.
std::string HeaderKey(std::string_view text) {
  std::string key;
  for (const char c : text) {
    if (!IsBlank(c)) key += AsciiLower(c);
  }
  return key;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string ColumnList() {
  std::string list;
  for (const ColumnName &column : kColumns) {
    if (!list.empty()) list += ", ";
    list += column.name;
  }
  return list;
}

// One record of the file and the line where it begins.
struct Record {
  std::size_t line = 0;
  std::vector<std::string> cells;
  std::string error;
};

// Gathers the cells libcsv reports into records.
struct RecordCollector {
  std::deque<Record> records;
  Record current;
  bool open = false;  // a record has begun and not ended

  static void OnCell(void *cell, std::size_t size, void *self) {
    static_cast<RecordCollector *>(self)->current.cells.emplace_back(static_cast<char *>(cell),
                                                                     size);
  }
  static void OnRecordEnd(int, void *self) {
    auto *collector = static_cast<RecordCollector *>(self);
    collector->records.push_back(std::move(collector->current));
    collector->current = Record{};
    collector->open = false;
  }
};

int NoBlanksAreSpace(unsigned char) {
  return 0;
}

// The separator the header row holds most of (outside quotes): comma, semicolon or tab.
char DetectSeparator(std::string_view text) {
  std::size_t commas = 0;
  std::size_t semicolons = 0;
  std::size_t tabs = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    commas += c == ',';
    semicolons += c == ';';
    tabs += c == '\t';
  }
  if (semicolons > commas && semicolons >= tabs) return ';';
  if (tabs > commas && tabs > semicolons) return '\t';
  return ',';
}

// The records of text, one at a time, each with the line it begins on. The text is given to the
// parser one line at a time, so a record begins on the first line with any text after the
// previous record ended.
class RecordParser {
 public:
  RecordParser(TextLines &text, char separator) : text_(text) {
    if (csv_init(&parser_, 0) != 0) throw CatalogueInputError("not enough memory to read the file");
    csv_set_delim(&parser_, static_cast<unsigned char>(separator));
    // Cells are taken as they stand: blanks around them are part of them.
    csv_set_space_func(&parser_, NoBlanksAreSpace);
  }
  ~RecordParser() { csv_free(&parser_); }
  RecordParser(const RecordParser &) = delete;
  RecordParser &operator=(const RecordParser &) = delete;

  // The next record; false after the last.
  bool Next(Record &record) {
    while (collector_.records.empty() && !finished_) Feed();
    if (collector_.records.empty()) return false;
    record = std::move(collector_.records.front());
    collector_.records.pop_front();
    return true;
  }

 private:
  // Gives the parser the next line, or ends the text.
  void Feed() {
    if (!text_.Next(chunk_)) {
      finished_ = true;
      // At the end a quoted cell that is still open is an error, not a cell.
      csv_set_opts(&parser_, CSV_STRICT | CSV_STRICT_FINI);
      if (csv_fini(&parser_, RecordCollector::OnCell, RecordCollector::OnRecordEnd, &collector_) !=
          0) {
        collector_.current.error = "a quoted cell that begins in this row is never closed";
        collector_.records.push_back(std::move(collector_.current));
      }
      return;
    }
    if (!collector_.open && chunk_.find_first_not_of("\r\n") != std::string::npos) {
      collector_.open = true;
      collector_.current.line = line_;
    }
    if (csv_parse(&parser_, chunk_.data(), chunk_.size(), RecordCollector::OnCell,
                  RecordCollector::OnRecordEnd, &collector_) != chunk_.size()) {
      throw CatalogueInputError("not enough memory to read the file");
    }
    ++line_;
  }

  TextLines &text_;
  std::string chunk_;  // the line given to the parser last
  csv_parser parser_{};
  RecordCollector collector_;
  std::size_t line_ = 1;
  bool finished_ = false;
};

// A price or weight cell rewritten as the cart reads numbers, "." before the decimals and no
// group marks; an empty cell stays empty. Sets error, naming where and what, when the cell is no
// number by the rule of the file's separator.
void ReadNumberCell(std::string &cell, std::string_view where, std::string_view what,
                    char separator, std::string &error) {
  if (cell.empty() || !error.empty()) return;
  if (std::optional<std::string> number = ReadSpreadsheetNumber(cell, separator)) {
    cell = std::move(*number);
    return;
  }
  error = std::string(where) + std::string(what) + " \"" + cell + "\" is not a number";
  if (Trimmed(cell).find_first_of(",. ") != std::string_view::npos) {
    error += "; " + std::string(DecimalMarkRule(separator));
  }
}

// A list cell's entry: its parts, as many as the list has, and empty ones after them.
constexpr std::size_t kMostEntryParts = 6;
using ListEntry = std::array<std::string, kMostEntryParts>;

// The price and weight parts (the second and third) of a list cell's entries, read as numbers.
void ReadEntryNumbers(std::vector<ListEntry> &entries, std::string_view column, char separator,
                      std::string &error) {
  for (std::size_t e = 0; e < entries.size() && error.empty(); ++e) {
    for (const std::size_t part : {1, 2}) {
      std::string &cell = entries[e][part];
      if (cell.empty() || !error.empty()) continue;
      // The place is named only in an error, which most rows have none of.
      if (std::optional<std::string> number = ReadSpreadsheetNumber(cell, separator)) {
        cell = std::move(*number);
        continue;
      }
      const std::string where = std::string(column) + " entry " + std::to_string(e + 1) + ": ";
      ReadNumberCell(cell, where, part == 1 ? "price" : "weight", separator, error);
    }
  }
}

// The entries of a list cell: one per non-blank line, split at "|", blanks around each part
// dropped, filled up with empty parts to `parts`, their prices and weights read as numbers. Error
// names the cell when an entry has too many parts or a number that is none, or the cell too many
// entries. parts is at most kMostEntryParts.
std::vector<ListEntry> ListEntries(std::string_view cell, std::string_view column,
                                   std::size_t maxEntries, std::size_t parts,
                                   std::string_view partNames, char separator, std::string &error) {
  std::vector<ListEntry> entries;
  entries.reserve(
      std::min<std::size_t>(std::count(cell.begin(), cell.end(), '\n') + 1, maxEntries + 1));
  // Split at each CR and LF alone: the empty line this makes of a CR LF is blank, and blank lines
  // are skipped.
  for (std::string_view lines = cell; !lines.empty();) {
    const std::size_t end = std::min(FindLineBreak(lines), lines.size());
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(end == lines.size() ? end : end + 1);
    if (Trimmed(line).empty()) continue;
    const std::size_t given =
        static_cast<std::size_t>(std::count(line.begin(), line.end(), '|')) + 1;
    if (given > parts) {
      error = std::string(column) + " entry " + std::to_string(entries.size() + 1) + " has " +
              std::to_string(given) + " parts; an entry has at most " + std::to_string(parts) +
              " (" + std::string(partNames) + ")";
      return {};
    }
    ListEntry &entry = entries.emplace_back();
    std::string_view rest = line;
    for (std::size_t part = 0;; ++part) {
      const std::size_t bar = rest.find('|');
      entry[part] = Trimmed(rest.substr(0, bar));
      if (bar == std::string_view::npos) break;
      rest.remove_prefix(bar + 1);
    }
  }
  if (entries.size() > maxEntries) {
    error = std::string(column) + " has " + std::to_string(entries.size()) + " entries; at most " +
            std::to_string(maxEntries) + " are used";
    return {};
  }
  ReadEntryNumbers(entries, column, separator, error);
  if (!error.empty()) return {};
  return entries;
}

std::optional<TaxState> ReadTaxable(std::string_view cell) {
  const std::string key = HeaderKey(cell);
  if (key.empty()) return TaxState::Grayed;
  if (key == "1" || key == "true") return TaxState::Checked;
  if (key == "0" || key == "false") return TaxState::Unchecked;
  return std::nullopt;
}

// Fills row from one cell; sets row.Error at the first rule the cell breaks. Numbers are read by
// the rule of the file's separator.
void ReadCell(Column column, const std::string &cell, char separator, CatalogueRow &row) {
  ProductPageInput &page = row.Page;
  std::string &error = row.Error;
  switch (column) {
    case Column::Mode: {
      const std::string mode = HeaderKey(cell);
      if (mode == "multiple") {
        page.Mode = DescriptionMode::Multiple;
      } else if (!mode.empty() && mode != "single") {
        error = "unknown Mode \"" + cell + "\"; the modes are single and multiple";
      }
      break;
    }
    case Column::Description:
      page.Description = cell;
      if (Utf8Length(cell) > kMaxDescriptionLength) {
        error =
            "Description is longer than " + std::to_string(kMaxDescriptionLength) + " characters";
      }
      break;
    case Column::Price:
      page.Price = cell;
      ReadNumberCell(page.Price, "", "price", separator, error);
      break;
    case Column::Weight:
      page.Weight = cell;
      ReadNumberCell(page.Weight, "", "weight", separator, error);
      break;
    case Column::Taxable:
      if (const auto taxable = ReadTaxable(cell)) {
        page.Taxable = *taxable;
      } else {
        error = "Taxable \"" + cell + "\" must be 1, 0, true, false or empty";
      }
      break;
    case Column::SmartTaxCode:
      page.SmartTaxCode = cell;
      break;
    case Column::LongText:
      page.LongText = WithCrLfLineBreaks(cell);
      break;
    case Column::ProductImage:
      row.ImagePath = Trimmed(cell);
      break;
    case Column::File:
      row.FileName = Trimmed(cell);
      break;
    case Column::Descriptions: {
      std::vector<ListEntry> entries = ListEntries(
          cell, "Descriptions", kDescriptionRows, 6,
          "Cart Description, Price, Weight, Taxable, Smart Tax, Readable Text", separator, error);
      page.Descriptions.reserve(entries.size());
      for (ListEntry &e : entries) {
        page.Descriptions.push_back({std::move(e[0]), std::move(e[1]), std::move(e[2]),
                                     std::move(e[3]), std::move(e[4]), std::move(e[5])});
      }
      break;
    }
    case Column::Option1Name:
    case Column::Option2Name:
    case Column::Option3Name:
      page.Options[(static_cast<std::size_t>(column) -
                    static_cast<std::size_t>(Column::Option1Name)) /
                   2]
          .Name = cell;
      break;
    case Column::Option1Rows:
    case Column::Option2Rows:
    case Column::Option3Rows: {
      const std::size_t group =
          (static_cast<std::size_t>(column) - static_cast<std::size_t>(Column::Option1Rows)) / 2;
      const std::string name = "Option" + std::to_string(group + 1) + "Rows";
      std::vector<ListEntry> entries =
          ListEntries(cell, name, kOptionRows, 4, "Cart Description, Price, Weight, Readable Text",
                      separator, error);
      page.Options[group].Rows.reserve(entries.size());
      for (ListEntry &e : entries) {
        page.Options[group].Rows.push_back(
            {std::move(e[0]), std::move(e[1]), std::move(e[2]), std::move(e[3])});
      }
      break;
    }
    case Column::Related: {
      std::vector<ListEntry> entries =
          ListEntries(cell, "Related", kRelatedRows, 5,
                      "Cart Description, Price, Weight, Taxable, Smart Tax", separator, error);
      page.Related.reserve(entries.size());
      for (ListEntry &e : entries) {
        page.Related.push_back(
            {std::move(e[0]), std::move(e[1]), std::move(e[2]), std::move(e[3]), std::move(e[4])});
      }
      break;
    }
    case Column::Sku:
      page.Sku = Trimmed(cell);
      break;
    case Column::Availability:
      if (const auto stock = ReadAvailability(cell)) {
        page.Stock = *stock;
      } else {
        error = "Availability \"" + cell + "\" must be in stock, out of stock, preorder or empty";
      }
      break;
    case Column::Brand:
      page.Brand = Trimmed(cell);
      break;
    case Column::Gtin:
      page.Gtin = Trimmed(cell);
      if (!page.Gtin.empty()) error = GtinError(page.Gtin);
      break;
  }
}

std::vector<Column> ReadHeader(const Record &header) {
  std::vector<Column> columns;
  for (const std::string &cell : header.cells) {
    const std::string key = HeaderKey(cell);
    const ColumnName *found = nullptr;
    for (const ColumnName &column : kColumns) {
      if (HeaderKey(column.name) == key) found = &column;
    }
    if (!found) {
      throw CatalogueInputError("line " + std::to_string(header.line) + ": unknown column \"" +
                                std::string(Trimmed(cell)) + "\"; the columns are " + ColumnList());
    }
    for (const Column seen : columns) {
      if (seen == found->column) {
        throw CatalogueInputError("line " + std::to_string(header.line) + ": the column " +
                                  found->name + " is named twice");
      }
    }
    columns.push_back(found->column);
  }
  return columns;
}

bool AllEmpty(const std::vector<std::string> &cells) {
  for (const std::string &cell : cells) {
    if (!cell.empty()) return false;
  }
  return true;
}

// The row of a record under the header's columns.
void ReadRecord(Record &record, const std::vector<Column> &columns, char separator,
                CatalogueRow &row) {
  row = CatalogueRow{};
  row.Line = record.line;
  row.Error = std::move(record.error);
  for (std::size_t c = 0; c < record.cells.size() && row.Error.empty(); ++c) {
    if (c < columns.size()) {
      ReadCell(columns[c], record.cells[c], separator, row);
    } else if (!record.cells[c].empty()) {
      row.Error = "the row has " + std::to_string(record.cells.size()) +
                  " cells; the header names " + std::to_string(columns.size()) + " columns";
    }
  }
}

}  // namespace

struct CatalogueCsvReader::State {
  std::unique_ptr<TextLines> text;
  char separator = ',';
  std::vector<Column> columns;
  std::optional<RecordParser> parser;

  // Parses from the first record, the header.
  void Start() {
    parser.reset();
    text->Rewind();
    parser.emplace(*text, separator);
    Record header;
    if (!parser->Next(header) || AllEmpty(header.cells)) {
      throw CatalogueInputError("the file has no header row naming its columns");
    }
    columns = ReadHeader(header);
  }
};

CatalogueCsvReader::CatalogueCsvReader(std::string_view bytes)
    : CatalogueCsvReader(std::make_unique<TextLines>(bytes)) {}

CatalogueCsvReader::CatalogueCsvReader(std::unique_ptr<TextLines> text) : state_(new State) {
  state_->text = std::move(text);
  // The header row, up to the first line end outside quotes.
  std::string header;
  bool quoted = false;
  for (std::string line; !(header.size() && !quoted) && state_->text->Next(line);) {
    for (const char c : line) quoted ^= c == '"';
    header += line;
  }
  state_->separator = DetectSeparator(header);
  state_->Start();
}

CatalogueCsvReader::~CatalogueCsvReader() = default;

bool CatalogueCsvReader::Next(CatalogueRow &row) {
  Record record;
  do {
    if (!state_->parser->Next(record)) return false;
  } while (record.error.empty() && AllEmpty(record.cells));
  ReadRecord(record, state_->columns, state_->separator, row);
  return true;
}

void CatalogueCsvReader::Rewind() {
  state_->Start();
}

double CatalogueCsvReader::Progress() const {
  return state_->text->Progress();
}

bool CatalogueCsvReader::MayNameFiles() const {
  for (const Column column : state_->columns) {
    if (column == Column::File) return true;
  }
  return false;
}

bool CatalogueCsvReader::HasColumn(std::string_view name) const {
  for (const ColumnName &column : kColumns) {
    if (HeaderKey(column.name) != HeaderKey(name)) continue;
    return std::find(state_->columns.begin(), state_->columns.end(), column.column) !=
           state_->columns.end();
  }
  return false;
}

std::vector<CatalogueRow> ReadCatalogueCsv(std::string_view bytes) {
  CatalogueCsvReader reader(bytes);
  std::vector<CatalogueRow> rows;
  for (CatalogueRow row; reader.Next(row);) rows.push_back(std::move(row));
  return rows;
}

}  // namespace vendigo
