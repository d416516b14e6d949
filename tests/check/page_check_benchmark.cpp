// Reading a page against Gumbo alone on the same bytes, and checking a catalogue of the shipped
// templates, made by the catalogue code, on every core.
#include <gumbo.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "check/site_check.h"
#include "html/html_document.h"
#include "pages/catalogue.h"
#include "pages/catalogue_csv.h"
#include "pages/template_package.h"
#include "support/benchmark_ratios.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using vendigo::testing::TempFolder;

vendigo::Settings ShopSettings() {
  vendigo::Settings settings = vendigo::DefaultSettings();
  settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.cgi";
  return settings;
}

// n products for the template: single items with an option group and related products, or
// items in three versions.
std::string Spreadsheet(std::size_t n, bool range) {
  std::string csv =
      "Description,Mode,Price,Weight,Descriptions,Option1Name,Option1Rows,Related,"
      "LongText\n";
  for (std::size_t i = 0; i < n; ++i) {
    const std::string name = "Mug model " + std::to_string(i);
    const std::string price = std::to_string(4 + i % 20) + ".50";
    csv += name +
           (range ? ",multiple,,,\"" + name + " small | " + price + " | 1 | | | Small\n" + name +
                        " large | 6.5 | 2 | | | Large\""
                  : ",single," + price + ",1,") +
           ",Size,\"Small | 0 | 0 | Small\nLarge | 2 | 0 | Large -- Add $2\","
           "\"Saucer | 2.25 | 1\nSpoon | 1.5 | 0\","
           "\"Hand-thrown stoneware, glazed in deep blue.\nHolds 0.3 l.\"\n";
  }
  return csv;
}

// Catalogues built once per size and template, kept until the program ends.
std::deque<TempFolder> folders;
std::map<std::pair<std::int64_t, std::int64_t>, fs::path> catalogues;

const fs::path &Catalogue(std::int64_t rows, std::int64_t range) {
  auto &path = catalogues[{rows, range}];
  if (path.empty()) {
    TempFolder &folder = folders.emplace_back();
    const std::string spreadsheet = Spreadsheet(static_cast<std::size_t>(rows), range != 0);
    vendigo::CatalogueCsvReader reader(spreadsheet);  // reads the text where it is
    const vendigo::CatalogueReport report = vendigo::BuildCatalogue(
        vendigo::ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR) +
                                  (range ? "/product_range.zft" : "/single_product.zft")),
        reader, ShopSettings(), folder.path(), folder.path() / "out", {});
    if (!report.Skipped.empty()) {
      std::fprintf(stderr, "line %zu: %s\n", report.Skipped.front().Line,
                   report.Skipped.front().Reason.c_str());
    }
    path = folder.path() / "out";
  }
  return path;
}

// The bytes of one page of the catalogue.
std::string PageBytes(std::int64_t range) {
  for (const auto &entry : fs::directory_iterator(Catalogue(100, range))) {
    if (entry.path().filename() != "index.html") return TempFolder::ReadBytes(entry.path());
  }
  return {};
}

// Gumbo with the options the reader gives it (no parse errors kept); argument 2 and 3: with its
// default options, which keep them.
void BM_GumboAlone(benchmark::State &state) {
  const std::string page = PageBytes(state.range(0) % 2);
  GumboOptions options = kGumboDefaultOptions;
  if (state.range(0) < 2) options.max_errors = 0;
  for (auto _ : state) {
    GumboOutput *output = gumbo_parse_with_options(&options, page.data(), page.size());
    benchmark::DoNotOptimize(output->root);
    gumbo_destroy_output(&options, output);
  }
  state.counters["bytes"] = static_cast<double>(page.size());
}

void BM_ReadPage(benchmark::State &state) {
  const std::string page = PageBytes(state.range(0));
  for (auto _ : state) {
    const vendigo::HtmlDocument document = vendigo::HtmlDocument::Read(page);
    benchmark::DoNotOptimize(document.Nodes().data());
  }
  state.counters["bytes"] = static_cast<double>(page.size());
}

void BM_CheckPage(benchmark::State &state) {
  const std::string page = PageBytes(state.range(0));
  const vendigo::Settings settings = ShopSettings();
  for (auto _ : state) {
    const auto findings = vendigo::CheckPage("page.html", page, settings);
    if (!findings.empty()) state.SkipWithError(vendigo::FormatFinding(findings.front()).c_str());
  }
  state.counters["bytes"] = static_cast<double>(page.size());
}

// Arguments: rows; the single-product (0) or product-range (1) template. Wall time: the check
// runs on every core.
void BM_CheckCatalogue(benchmark::State &state) {
  const fs::path &folder = Catalogue(state.range(0), state.range(1));
  const vendigo::Settings settings = ShopSettings();
  for (auto _ : state) {
    const vendigo::SiteCheckResult result = vendigo::CheckSite({folder.string()}, settings);
    if (result.errors + result.warnings > 0) {
      state.SkipWithError(vendigo::FormatFinding(result.findings.front()).c_str());
    }
    if (result.pages < static_cast<std::size_t>(state.range(0))) {
      state.SkipWithError(("only " + std::to_string(result.pages) + " pages").c_str());
    }
  }
  state.counters["pages"] = static_cast<double>(state.range(0));
}

BENCHMARK(BM_GumboAlone)->DenseRange(0, 3);
BENCHMARK(BM_ReadPage)->Arg(0)->Arg(1);
BENCHMARK(BM_CheckPage)->Arg(0)->Arg(1);
BENCHMARK(BM_CheckCatalogue)
    ->ArgsProduct({{100, 10000}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  return vendigo::testing::RunBenchmarksWithRatios(
      argc, argv,
      {{"reading a page over Gumbo alone, single product", "BM_ReadPage/0", "BM_GumboAlone/0", "",
        3.0},
       {"reading a page over Gumbo alone, product range", "BM_ReadPage/1", "BM_GumboAlone/1", "",
        3.0},
       {"checking a page over Gumbo alone, single product", "BM_CheckPage/0", "BM_GumboAlone/0", "",
        0},
       {"checking a page over Gumbo alone, product range", "BM_CheckPage/1", "BM_GumboAlone/1", "",
        0}});
}
