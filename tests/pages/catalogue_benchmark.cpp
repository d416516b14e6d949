// Catalogues of the shipped templates from one spreadsheet, read, built and written on every
// core: into a new folder, over a folder whose pages all change, and over one that holds the
// same pages already; beside a plain writer putting the same bytes into as many files of a new
// folder; and the run's peak memory for 1,000 and 100,000 rows.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/settings.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/allocation_meter.h"
#include "support/benchmark_ratios.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using vendigo::testing::AllocationMeter;
using vendigo::testing::TempFolder;
using Clock = std::chrono::steady_clock;

// A spreadsheet of n products: single items with an option group for the single-product
// template, items in three versions with related products for the product-range template.
// priceStep changes every price, so every page differs from the one of another step.
std::string Spreadsheet(std::size_t n, bool range, int priceStep = 0) {
  std::string csv = range
                        ? "Description,Mode,Descriptions,Option1Name,Option1Rows,Related,LongText\n"
                        : "Description,Price,Weight,Option1Name,Option1Rows,LongText\n";
  const std::string cents = std::to_string(10 + priceStep % 90);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string name = "Mug model " + std::to_string(i);
    const std::string options = ",Size,\"Small | 0 | 0 | Small\nLarge | 2 | 0 | Large -- Add $2\",";
    const std::string text = "\"Hand-thrown stoneware, glazed in deep blue.\nHolds 0.3 l.\"\n";
    if (range) {
      csv += name + ",multiple,\"" + name + " small | 4." + cents + " | 1 | | | Small\n" + name +
             " large | 6.5 | 2 | | | Large\n" + name + " set | 19.5 | 5 | | | Set of four\"" +
             options + "\"Saucer | 2.25 | 1\nSpoon | 1.5 | 0\"," + text;
    } else {
      csv += name + "," + std::to_string(4 + i % 20) + "." + cents + ",1" + options + text;
    }
  }
  return csv;
}

// Every benchmark's temporary folder, removed when the program ends: ext4 looks long for a free
// inode among many deleted in the last minute, so files removed between benchmarks would slow
// down the next one.
std::deque<TempFolder> folders;

// Spreadsheets and a template in a temporary folder, where the catalogues go too.
struct Fixture {
  Fixture(std::size_t rows, bool range)
      : folder(folders.emplace_back()),
        spreadsheets{Spreadsheet(rows, range, 0), Spreadsheet(rows, range, 1)},
        templateText(
            vendigo::ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) +
                                      (range ? "/product_range.zft" : "/single_product.zft"))) {}

  // The catalogue of spreadsheet `which` in output, its rows read one at a time.
  vendigo::CatalogueReport Build(const fs::path &output, int which) const {
    vendigo::CatalogueCsvReader rows(spreadsheets[which]);
    return vendigo::BuildCatalogue(templateText, rows, vendigo::DefaultSettings(), folder.path(),
                                   output, {.Replace = true});
  }

  TempFolder &folder;
  std::string spreadsheets[2];
  std::string templateText;
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The files of a folder by name.
std::map<std::string, std::string> FilesIn(const fs::path &folder) {
  std::map<std::string, std::string> files;
  for (const auto &entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file())
      files[entry.path().filename()] = TempFolder::ReadBytes(entry.path());
  }
  return files;
}

// The plain writer: one open, write and close per file.
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

enum class Target { NewFolder, ChangedPages, SamePages };

// The catalogue's time over the plain writer's, measured side by side, by rows and template.
std::map<std::pair<std::int64_t, std::int64_t>, double> overPlain;

// Arguments: rows; the single-product (0) or product-range (1) template. Each iteration starts
// with what it measures: a folder that does not exist yet, one whose every page changes (the
// prices of the other spreadsheet), or one holding the very pages the run gives (only read).
// Dirty pages are flushed before each round, so no round pays for the one before. Into a new
// folder the plain writer also writes the same files in each round, first every other time, so
// a disk shared with other work slows both alike: the median of the rounds' ratios of the two is
// the counter "over_plain".
template <Target target>
void BM_Catalogue(benchmark::State &state) {
  const Fixture fixture(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
  const fs::path out = fixture.folder.path() / "out";
  fixture.Build(out, 0);
  const std::map<std::string, std::string> files = FilesIn(out);
  std::vector<double> ratios;  // of each round
  double plainSeconds = 0;
  int round = 0;
  for (auto _ : state) {
    ++round;
    const fs::path pages = target == Target::NewFolder ? out / std::to_string(round) : out;
    const int which = target == Target::ChangedPages ? round % 2 : 0;
    const auto plain = [&] {
      const fs::path folder = fixture.folder.path() / ("plain" + std::to_string(round));
      ::sync();
      const auto start = Clock::now();
      fs::create_directory(folder);
      WriteEach(files, folder);
      plainSeconds = Seconds(start);
    };
    if (target == Target::NewFolder && round % 2 == 0) plain();
    ::sync();
    const auto start = Clock::now();
    const vendigo::CatalogueReport report = fixture.Build(pages, which);
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);

    if (target == Target::NewFolder && round % 2 == 1) plain();
    if (target == Target::NewFolder) ratios.push_back(seconds / plainSeconds);
    if (!report.Skipped.empty()) state.SkipWithError(report.Skipped.front().Reason.c_str());
    if (report.PagesWritten != static_cast<std::size_t>(state.range(0)))
      state.SkipWithError("not every page was written");
  }
  state.counters["pages"] = static_cast<double>(state.range(0));
  if (target == Target::NewFolder) {
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    state.counters["over_plain"] = median;
    overPlain[{state.range(0), state.range(1)}] = median;
  }
}

// The same bytes as BM_Catalogue<NewFolder> writes, as plainly as they can be written: one open,
// write and close per file into a new folder.
void BM_PlainWrites(benchmark::State &state) {
  const Fixture fixture(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
  const fs::path out = fixture.folder.path() / "out";
  fixture.Build(out / "catalogue", 0);
  const std::map<std::string, std::string> files = FilesIn(out / "catalogue");
  int round = 0;
  for (auto _ : state) {
    ++round;
    ::sync();
    const auto start = Clock::now();
    fs::create_directory(out / std::to_string(round));
    WriteEach(files, out / std::to_string(round));
    state.SetIterationTime(Seconds(start));
  }
  state.counters["pages"] = static_cast<double>(state.range(0));
}

// The peak resident memory (VmHWM) of "vendigo-html catalogue" on the spreadsheet, in bytes.
// Read from the running program's status, as the peak its process reports when it ends would
// count what it was between fork and exec: this whole benchmark.
double ProgramPeak(const Fixture &fixture, const fs::path &output) {
  const fs::path input = fixture.folder.path() / "shop.csv";
  const fs::path settings = fixture.folder.path() / "shop.ini";
  TempFolder::WriteBytes(input, fixture.spreadsheets[0]);
  TempFolder::WriteBytes(settings, "[CONFIGS]\r\nCompany=Blue Mug Ltd\r\nCurrency=$\r\n");
  const fs::path templateFile = std::string(VENDIGO_TEMPLATES_DIR) + "/single_product.zft";
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(VENDIGO_HTML_PATH, VENDIGO_HTML_PATH, "--settings", settings.c_str(), "--template",
            templateFile.c_str(), "--input", input.c_str(), "--output", output.c_str(), "--quiet",
            "catalogue", static_cast<char *>(nullptr));
    ::_exit(127);
  }
  if (child < 0) return 0;
  // A high-water mark: the last reading before the end is the peak.
  double peak = 0;
  int status = 0;
  const std::string statusFile = "/proc/" + std::to_string(child) + "/status";
  while (::waitpid(child, &status, WNOHANG) == 0) {
    std::ifstream in(statusFile);
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with("VmHWM:")) peak = std::stod(line.substr(6)) * 1024;
    }
    ::usleep(500);
  }
  return status == 0 ? peak : 0;
}

// Peak memory by rows, for the goal printed at the end.
std::map<std::int64_t, double> programPeak;
std::map<std::int64_t, double> heapPeak;

// Argument: rows of the single-product template, written into a new folder: the peak resident
// memory of vendigo-html doing it, and the most the heap held in this process above the
// spreadsheet's bytes, which are in memory already.
void BM_CatalogueMemory(benchmark::State &state) {
  const Fixture fixture(static_cast<std::size_t>(state.range(0)), false);
  for (auto _ : state) {
    const AllocationMeter meter;
    fixture.Build(fixture.folder.path() / "in-process", 0);
    heapPeak[state.range(0)] = static_cast<double>(meter.PeakAbove());
    programPeak[state.range(0)] = ProgramPeak(fixture, fixture.folder.path() / "program");
    if (programPeak[state.range(0)] == 0) state.SkipWithError("vendigo-html failed");
  }
  state.counters["heap_MB"] = heapPeak[state.range(0)] / 1e6;
  state.counters["VmHWM_MB"] = programPeak[state.range(0)] / 1e6;
}

BENCHMARK(BM_PlainWrites)
    ->ArgsProduct({{100, 10000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Catalogue<Target::NewFolder>)
    ->Name("BM_CatalogueNewFolder")
    ->ArgsProduct({{100, 10000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Catalogue<Target::ChangedPages>)
    ->Name("BM_CatalogueReplace")
    ->ArgsProduct({{100, 10000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Catalogue<Target::SamePages>)
    ->Name("BM_CatalogueUnchanged")
    ->ArgsProduct({{100, 10000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueMemory)->Arg(1000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  const int status = vendigo::testing::RunBenchmarksWithRatios(
      argc, argv,
      {{"catalogue over plain writes, 10,000 pages, single product",
        "BM_CatalogueNewFolder/10000/0/manual_time", "BM_PlainWrites/10000/0/manual_time", "", 1.3,
        true},
       {"catalogue over plain writes, 10,000 pages, product range",
        "BM_CatalogueNewFolder/10000/1/manual_time", "BM_PlainWrites/10000/1/manual_time", "", 1.3,
        true},
       {"replacing over plain writes, 10,000 pages, single product",
        "BM_CatalogueReplace/10000/0/manual_time", "BM_PlainWrites/10000/0/manual_time", "", 0,
        true}});
  if (programPeak.count(1000) && programPeak.count(100000)) {
    const double ratio = programPeak[100000] / programPeak[1000];
    std::printf("%-60s %8.3f  (goal <= 2.00: %s)\n", "vendigo-html VmHWM, 100,000 rows over 1,000",
                ratio, ratio <= 2 ? "met" : "MISSED");
    std::printf("%-60s %8.3f\n", "heap above the input, 100,000 rows over 1,000",
                heapPeak[100000] / heapPeak[1000]);
  }
  for (const auto &[arguments, ratio] : overPlain) {
    if (arguments.first != 10000) continue;
    const std::string label =
        std::string("catalogue over plain writes side by side, 10,000 pages, ") +
        (arguments.second ? "product range" : "single product");
    std::printf("%-60s %8.3f  (goal <= 1.30: %s)\n", label.c_str(), ratio,
                ratio <= 1.3 ? "met" : "MISSED");
  }
  return status;
}
