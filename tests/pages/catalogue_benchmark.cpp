// Catalogues of the shipped templates from one spreadsheet, read, built and written on every
// core: into a new folder, over a folder whose pages all change, and over one that holds the
// same pages already; each round beside a plain writer putting the same bytes into the same
// files, both on file systems made new for them; and the run's peak memory for 1,000 and 100,000
// rows.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/settings.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/allocation_meter.h"
#include "support/benchmark_ratios.h"
#include "support/fresh_file_system.h"
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

using Disk = vendigo::testing::FreshFileSystem;

// The file system every round measures on, made new for it: --file_system=ext4 (the default),
// tmpfs or folder (a new folder of the temporary folder's disk, whose history the figures then
// depend on).
Disk::Kind diskKind = Disk::Kind::Ext4;

// A disk for one round; when the kind asked for cannot be mounted, a folder, said once.
std::unique_ptr<Disk> FreshDisk(std::uintmax_t bytes, std::uintmax_t files) {
  auto disk = std::make_unique<Disk>(diskKind, bytes, files);
  static bool told = false;
  if (!disk->Mounted() && diskKind != Disk::Kind::Folder && !told) {
    told = true;
    std::fprintf(stderr,
                 "%s; measuring in new folders of %s instead, so the figures depend on that "
                 "disk's history and are noisy\n",
                 disk->Why().c_str(), fs::temp_directory_path().c_str());
  }
  return disk;
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

// Spreadsheets and a template, their inputs in a temporary folder, and the files of their
// catalogues.
struct Fixture {
  Fixture(std::size_t rows, bool range)
      : rows(rows),
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

  // A disk with room for the catalogue of every spreadsheet.
  std::unique_ptr<Disk> NewDisk() const {
    return FreshDisk(2 * rows * (spreadsheets[0].size() / rows + 8192), 2 * rows);
  }

  // The files of spreadsheet which's catalogue, built on a disk of their own.
  const std::map<std::string, std::string> &Files(int which) {
    if (files[which].empty()) {
      const std::unique_ptr<Disk> disk = NewDisk();
      Build(disk->path() / "out", which);
      files[which] = FilesIn(disk->path() / "out");
    }
    return files[which];
  }

  std::size_t rows;
  TempFolder folder;
  std::string spreadsheets[2];
  std::string templateText;
  std::map<std::string, std::string> files[2];
};

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time of all this process's threads so far, in the kernel and out of it.
double ProcessorSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval &time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The plain writer: one open, write and close per file, over any file of that name.
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

// The median of the rounds' catalogue time over the plain writer's, by target, rows and template.
std::map<std::tuple<Target, std::int64_t, std::int64_t>, double> overPlain;

// Arguments: rows; the single-product (0) or product-range (1) template. Each round measures the
// catalogue and the plain writer putting the same bytes into as many files, each on a file
// system made for it (FreshDisk), holding what the case starts from: nothing (a new folder), the
// pages of the other spreadsheet, whose prices differ, so that every page changes, or the very
// pages the run gives (so the catalogue only reads, and the plain writer writes them again).
// What is there before is written and flushed before the clock starts. The two take turns going
// first, so a disk shared with other work slows both alike: the median of the rounds' ratios of
// the two is the counter "over_plain"; "cpu_over_plain" is that of the processor time of all
// threads, which other work on the machine disturbs less. A round whose files differ from what the
// case says fails.
template <Target target>
void BM_Catalogue(benchmark::State &state) {
  Fixture fixture(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
  const int which = target == Target::ChangedPages ? 1 : 0;
  const std::map<std::string, std::string> &files = fixture.Files(which);
  const std::map<std::string, std::string> *before = target == Target::NewFolder ? nullptr
                                                     : target == Target::ChangedPages
                                                         ? &fixture.Files(0)
                                                         : &files;
  std::vector<double> ratios, processorRatios, plainTimes;  // of each round
  int round = 0;
  for (auto _ : state) {
    ++round;
    double catalogueSeconds = 0;
    double plainSeconds = 0;
    double catalogueProcessor = 0;
    double plainProcessor = 0;
    // A new disk holding what the case starts from, written out before the clock starts.
    const auto startingDisk = [&] {
      std::unique_ptr<Disk> disk = fixture.NewDisk();
      if (before) {
        fs::create_directory(disk->path() / "out");
        WriteEach(*before, disk->path() / "out");
      }
      ::sync();
      return disk;
    };
    const auto catalogue = [&] {
      const std::unique_ptr<Disk> disk = startingDisk();
      const fs::path pages = disk->path() / "out";
      const double processor = ProcessorSeconds();
      const auto start = Clock::now();
      const vendigo::CatalogueReport report = fixture.Build(pages, which);
      catalogueSeconds = Seconds(start);
      catalogueProcessor = ProcessorSeconds() - processor;
      if (!report.Skipped.empty()) state.SkipWithError(report.Skipped.front().Reason.c_str());
      if (report.PagesWritten != fixture.rows) state.SkipWithError("not every page was written");
      if (FilesIn(pages) != files) state.SkipWithError("the pages are not the spreadsheet's");
    };
    const auto plain = [&] {
      const std::unique_ptr<Disk> disk = startingDisk();
      const fs::path pages = disk->path() / "out";
      const double processor = ProcessorSeconds();
      const auto start = Clock::now();
      if (!before) fs::create_directory(pages);
      WriteEach(files, pages);
      plainSeconds = Seconds(start);
      plainProcessor = ProcessorSeconds() - processor;
    };
    if (round % 2 == 0) plain();
    catalogue();
    if (round % 2 == 1) plain();
    state.SetIterationTime(catalogueSeconds);
    ratios.push_back(catalogueSeconds / plainSeconds);
    processorRatios.push_back(catalogueProcessor / plainProcessor);
    plainTimes.push_back(plainSeconds);
  }
  std::sort(ratios.begin(), ratios.end());
  std::sort(processorRatios.begin(), processorRatios.end());
  std::sort(plainTimes.begin(), plainTimes.end());
  state.counters["pages"] = static_cast<double>(state.range(0));
  state.counters["plain_ms"] = plainTimes[plainTimes.size() / 2] * 1000;
  state.counters["over_plain"] = ratios[ratios.size() / 2];
  state.counters["cpu_over_plain"] = processorRatios[processorRatios.size() / 2];
  overPlain[{target, state.range(0), state.range(1)}] = ratios[ratios.size() / 2];
}

// The same bytes as BM_Catalogue<NewFolder> writes, as plainly as they can be written: one open,
// write and close per file into a new folder of a new file system.
void BM_PlainWrites(benchmark::State &state) {
  Fixture fixture(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
  const std::map<std::string, std::string> &files = fixture.Files(0);
  for (auto _ : state) {
    const std::unique_ptr<Disk> disk = fixture.NewDisk();
    ::sync();
    const auto start = Clock::now();
    fs::create_directory(disk->path() / "out");
    WriteEach(files, disk->path() / "out");
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
    {
      const std::unique_ptr<Disk> disk = fixture.NewDisk();
      const AllocationMeter meter;
      fixture.Build(disk->path() / "out", 0);
      heapPeak[state.range(0)] = static_cast<double>(meter.PeakAbove());
    }
    const std::unique_ptr<Disk> disk = fixture.NewDisk();
    programPeak[state.range(0)] = ProgramPeak(fixture, disk->path() / "out");
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
  // Before any thread starts: the disks mounted are this process's alone and go with it.
  const bool ownMounts = Disk::MountsOfItsOwn();
  std::vector<char *> arguments;
  for (int a = 0; a < argc; ++a) {
    const std::string_view argument = argv[a];
    if (!argument.starts_with("--file_system=")) {
      arguments.push_back(argv[a]);
      continue;
    }
    const std::string_view kind = argument.substr(argument.find('=') + 1);
    if (kind != "ext4" && kind != "tmpfs" && kind != "folder") {
      std::fprintf(stderr, "--file_system takes ext4, tmpfs or folder\n");
      return 1;
    }
    diskKind = kind == "ext4"    ? Disk::Kind::Ext4
               : kind == "tmpfs" ? Disk::Kind::Tmpfs
                                 : Disk::Kind::Folder;
  }
  if (!ownMounts && diskKind != Disk::Kind::Folder) {
    std::fprintf(stderr,
                 "cannot mount here; measuring in new folders of %s, so the figures "
                 "depend on that disk's history and are noisy\n",
                 fs::temp_directory_path().c_str());
    diskKind = Disk::Kind::Folder;
  }
  std::printf("Each round on a new %s\n", std::string(Disk::Name(diskKind)).c_str());
  int count = static_cast<int>(arguments.size());
  const int status = vendigo::testing::RunBenchmarksWithRatios(count, arguments.data(), {});
  if (programPeak.count(1000) && programPeak.count(100000)) {
    const double ratio = programPeak[100000] / programPeak[1000];
    std::printf("%-60s %8.3f  (goal <= 2.00: %s)\n", "vendigo-html VmHWM, 100,000 rows over 1,000",
                ratio, ratio <= 2 ? "met" : "MISSED");
    std::printf("%-60s %8.3f\n", "heap above the input, 100,000 rows over 1,000",
                heapPeak[100000] / heapPeak[1000]);
  }
  for (const auto &[arguments, ratio] : overPlain) {
    const auto &[target, rows, range] = arguments;
    if (rows != 10000) continue;
    const std::string label = std::string(target == Target::NewFolder      ? "new folder"
                                          : target == Target::ChangedPages ? "every page changed"
                                                                           : "no page changed") +
                              " over plain writes, 10,000 pages, " +
                              (range ? "product range" : "single product");
    if (target == Target::NewFolder) {
      std::printf("%-60s %8.3f  (goal <= 1.30: %s)\n", label.c_str(), ratio,
                  ratio <= 1.3 ? "met" : "MISSED");
    } else {
      std::printf("%-60s %8.3f\n", label.c_str(), ratio);
    }
  }
  return status;
}
