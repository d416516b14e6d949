// Repricing a catalogue made by the catalogue code, every page changed and written, against
// checking the same pages: both read and parse every page on every core. The goal, 10,000 pages
// in under 3 s on 2 cores, is about twice the check of them on such a machine. The catalogue lies
// on a new ext4 file system (a folder when none can be mounted), so writes meet a real disk's
// syncs.
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "check/site_check.h"
#include "fragments/reprice.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/benchmark_ratios.h"
#include "support/fresh_file_system.h"

namespace {

namespace fs = std::filesystem;
using vendigo::testing::FreshFileSystem;

vendigo::Settings ShopSettings() {
  vendigo::Settings settings = vendigo::DefaultSettings();
  settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.cgi";
  return settings;
}

// n products at their first prices (raise 0), with an option group and related products as
// merchants' catalogues have; or their prices alone, a dollar dearer (raise 1).
std::string Spreadsheet(std::size_t n, int raise, bool whole) {
  std::string csv =
      whole ? "Description,Price,Weight,Option1Name,Option1Rows,Related\n" : "Description,Price\n";
  for (std::size_t i = 0; i < n; ++i) {
    csv += "Mug model " + std::to_string(i) + "," + std::to_string(4 + i % 20 + raise) + ".50" +
           (whole ? ",1,Size,\"Small | 0 | 0 | Small\nLarge | 2 | 0 | Large -- Add $2\","
                    "\"Saucer | 2.25 | 1\nSpoon | 1.5 | 0\"\n"
                  : "\n");
  }
  return csv;
}

struct Catalogue {
  std::unique_ptr<FreshFileSystem> disk;
  fs::path pages;
  vendigo::PriceList prices[2];
  int next = 1;  // the prices the next round sets
};

std::map<std::int64_t, Catalogue> catalogues;

Catalogue &CatalogueOf(std::int64_t rows) {
  Catalogue &catalogue = catalogues[rows];
  if (catalogue.disk) return catalogue;
  const auto n = static_cast<std::size_t>(rows);
  catalogue.disk = std::make_unique<FreshFileSystem>(FreshFileSystem::Kind::Ext4, n * 40000, n);
  if (!catalogue.disk->Mounted()) std::fprintf(stderr, "%s\n", catalogue.disk->Why().c_str());
  const std::string products = Spreadsheet(n, 0, true);
  vendigo::CatalogueCsvReader reader(products);
  catalogue.pages = catalogue.disk->path() / "out";
  vendigo::BuildCatalogue(
      vendigo::ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) + "/single_product.zft"), reader,
      ShopSettings(), catalogue.disk->path(), catalogue.pages, {});
  catalogue.prices[0] = vendigo::ReadPriceList(Spreadsheet(n, 0, false));
  catalogue.prices[1] = vendigo::ReadPriceList(Spreadsheet(n, 1, false));
  return catalogue;
}

// Argument 0: rows; argument 1: 1 to write the pages, 0 for a dry run. Each round sets the other
// prices, so every round changes every page.
void BM_RepriceCatalogue(benchmark::State &state) {
  Catalogue &catalogue = CatalogueOf(state.range(0));
  vendigo::SiteRepriceOptions options;
  options.write = state.range(1) != 0;
  for (auto _ : state) {
    const vendigo::SiteReprice result = vendigo::RepriceSite(
        {catalogue.pages.string()}, catalogue.prices[catalogue.next], ShopSettings(), options);
    if (options.write) catalogue.next = 1 - catalogue.next;
    if (result.changes < static_cast<std::size_t>(state.range(0)) || result.failedPages > 0) {
      state.SkipWithError(("only " + std::to_string(result.changes) + " changes").c_str());
    }
  }
}

void BM_CheckCatalogue(benchmark::State &state) {
  Catalogue &catalogue = CatalogueOf(state.range(0));
  for (auto _ : state) {
    const vendigo::SiteCheckResult result =
        vendigo::CheckSite({catalogue.pages.string()}, ShopSettings());
    benchmark::DoNotOptimize(result.pages);
  }
}

BENCHMARK(BM_CheckCatalogue)->Arg(100)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepriceCatalogue)
    ->ArgsProduct({{100, 10000}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  // Before any thread starts: the disks mounted are this process's alone and go with it.
  FreshFileSystem::MountsOfItsOwn();
  return vendigo::testing::RunBenchmarksWithRatios(
      argc, argv,
      {{"repricing 10,000 catalogue pages over checking them",
        "BM_RepriceCatalogue/10000/1/real_time", "BM_CheckCatalogue/10000/real_time", "", 2.0,
        true},
       {"repricing 10,000 catalogue pages, written, over a dry run",
        "BM_RepriceCatalogue/10000/1/real_time", "BM_RepriceCatalogue/10000/0/real_time", "", 0,
        true}});
}
