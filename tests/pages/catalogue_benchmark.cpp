// Catalogues of the shipped templates from one spreadsheet, read, built and written on every
// core, against writing the same bytes with one open, write and close per file. Both replace
// the files of the run before, so both measure the same file system work.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "core/settings.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using vendigo::testing::TempFolder;

// A spreadsheet of n products: single items with an option group for the single-product
// template, items in three versions with related products for the product-range template.
std::string Spreadsheet(std::size_t n, bool range) {
  std::string csv = range
                        ? "Description,Mode,Descriptions,Option1Name,Option1Rows,Related,LongText\n"
                        : "Description,Price,Weight,Option1Name,Option1Rows,LongText\n";
  for (std::size_t i = 0; i < n; ++i) {
    const std::string name = "Mug model " + std::to_string(i);
    const std::string options = ",Size,\"Small | 0 | 0 | Small\nLarge | 2 | 0 | Large -- Add $2\",";
    const std::string text = "\"Hand-thrown stoneware, glazed in deep blue.\nHolds 0.3 l.\"\n";
    if (range) {
      csv += name + ",multiple,\"" + name + " small | 4.5 | 1 | | | Small\n" + name +
             " large | 6.5 | 2 | | | Large\n" + name + " set | 19.5 | 5 | | | Set of four\"" +
             options + "\"Saucer | 2.25 | 1\nSpoon | 1.5 | 0\"," + text;
    } else {
      csv += name + "," + std::to_string(4 + i % 20) + ".50,1" + options + text;
    }
  }
  return csv;
}

// A spreadsheet and a template in a temporary folder, where the catalogues go too.
struct Fixture {
  Fixture(std::size_t rows, bool range)
      : input(folder.path() / "shop.csv"),
        templateText(
            vendigo::ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) +
                                      (range ? "/product_range.zft" : "/single_product.zft"))) {
    TempFolder::WriteBytes(input, Spreadsheet(rows, range));
  }

  TempFolder folder;
  fs::path input;
  std::string templateText;
};

vendigo::CatalogueReport Build(const Fixture &fixture, const fs::path &output) {
  const auto rows = vendigo::ReadCatalogueCsv(TempFolder::ReadBytes(fixture.input));
  return vendigo::BuildCatalogue(fixture.templateText, rows, vendigo::DefaultSettings(),
                                 fixture.folder.path(), output, {.Replace = true});
}

using Clock = std::chrono::steady_clock;

// The files of a folder by name.
std::map<std::string, std::string> FilesIn(const fs::path &folder) {
  std::map<std::string, std::string> files;
  for (const auto &entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file())
      files[entry.path().filename()] = TempFolder::ReadBytes(entry.path());
  }
  return files;
}

void WriteEach(const std::map<std::string, std::string> &files, const fs::path &folder) {
  for (const auto &[name, bytes] : files) {
    const int descriptor =
        ::open((folder / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0 || ::write(descriptor, bytes.data(), bytes.size()) < 0) {
      throw std::runtime_error("cannot write " + (folder / name).string());
    }
    ::close(descriptor);
  }
}

// Arguments: rows; the single-product (0) or product-range (1) template; files replaced (0) or
// written into new folders (1). Each iteration builds the catalogue and writes the same bytes
// with one open, write and close per file, so a disk shared with other work slows both alike;
// the catalogue's wall time is the benchmark's time, the ratio a counter.
void BM_Catalogue(benchmark::State &state) {
  const Fixture fixture(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
  const bool fresh = state.range(2) != 0;
  const fs::path out = fixture.folder.path() / "out";
  Build(fixture, out / "pages");
  const std::map<std::string, std::string> files = FilesIn(out / "pages");
  fs::create_directories(out / "writes");
  WriteEach(files, out / "writes");

  double catalogueSeconds = 0;
  double writeSeconds = 0;
  int round = 0;
  for (auto _ : state) {
    ++round;
    const fs::path pages = fresh ? out / ("pages" + std::to_string(round)) : out / "pages";
    const fs::path writes = fresh ? out / ("writes" + std::to_string(round)) : out / "writes";
    fs::create_directories(writes);
    // Which goes first changes each round, so neither always pays for what the other left the
    // disk to do.
    vendigo::CatalogueReport report;
    const auto build = [&] {
      const auto start = Clock::now();
      report = Build(fixture, pages);
      return std::chrono::duration<double>(Clock::now() - start).count();
    };
    const auto write = [&] {
      const auto start = Clock::now();
      WriteEach(files, writes);
      return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double seconds = 0;
    if (round % 2) {
      seconds = build();
      writeSeconds += write();
    } else {
      writeSeconds += write();
      seconds = build();
    }
    if (!report.Skipped.empty()) state.SkipWithError(report.Skipped.front().Reason.c_str());
    state.SetIterationTime(seconds);
    catalogueSeconds += seconds;
  }
  state.counters["pages"] = static_cast<double>(state.range(0));
  state.counters["writes_ms"] = 1000 * writeSeconds / round;
  state.counters["over_writes"] = catalogueSeconds / writeSeconds;
}

BENCHMARK(BM_Catalogue)
    ->ArgsProduct({{100, 10000}, {0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
