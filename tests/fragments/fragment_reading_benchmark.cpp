// Reading a fragment back (ReadFragments on the fragment's bytes, down to its JSON input) against
// building it (the command, from its JSON input), per kind; the goal is reading at most twice
// building. Run by hand for the ratios; ctest runs it briefly to keep it working. Making the result
// alone (Result/) shows how low reading can go.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "fragments/fragment_commands.h"
#include "fragments/fragment_reading.h"
#include "support/benchmark_ratios.h"

namespace {

using nlohmann::json;

struct Kind {
  const char *label;
  const char *command;
  json input;
};

const json kRows = {{"Blue Mug", "4.50", "1", "1", ""},
                    {"Large \"Teapot\"", "1234.5", "3", "0", ""},
                    {"Saucer", "2", "0", "", ""}};

const std::vector<Kind> &Kinds() {
  static const std::vector<Kind> kinds = {
      {"form", "form", json::object()},
      {"quantity", "quantity", json::object()},
      {"viewcart", "viewcart", json::object()},
      {"buybutton", "buybutton", json::object()},
      {"ebay", "ebay", json::object()},
      {"pelluxadd", "pelluxadd", {{"Description", "Blue Mug"}, {"Price", "4.50"}, {"Weight", "1"}}},
      {"quicklink",
       "quicklink",
       {{"Description", "Blue Café Mug"},
        {"Price", "4.50"},
        {"InsertProductInfo", true},
        {"Brackets", true}}},
      {"textadd", "textadd", {{"Caption", "Engraving"}, {"Price", "5"}}},
      {"options",
       "options",
       {{"Name", "Size"},
        {"Rows", {{"Small", "0", "0", "Small"}, {"Large", "2", "1", "Large --Add $2"}}}}},
      {"addit-checkbox", "addit", {{"Rows", kRows}}},
      {"addit-select", "addit", {{"Mode", "select"}, {"Rows", kRows}}},
      {"addit-quantity", "addit", {{"Mode", "quantity"}, {"Rows", kRows}}},
      {"addit-interface", "addit", {{"Rows", kRows}, {"ProductInterface", true}}},
  };
  return kinds;
}

vendigo::Settings Shop() {
  vendigo::Settings settings = vendigo::DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.PelluxGeneration = 4;
  return settings;
}

void Build(benchmark::State &state, const Kind &kind) {
  const vendigo::Settings settings = Shop();
  const vendigo::Command &command = *vendigo::FindCommand(kind.command);
  for (auto _ : state) benchmark::DoNotOptimize(command.build(settings, kind.input));
}

void Read(benchmark::State &state, const Kind &kind) {
  const vendigo::Settings settings = Shop();
  const std::string html = vendigo::FindCommand(kind.command)->build(settings, kind.input);
  if (vendigo::ReadFragments(html, settings).size() != 1) state.SkipWithError("not read back");
  for (auto _ : state) benchmark::DoNotOptimize(vendigo::ReadFragments(html, settings));
}

// The floor of reading: making the result alone (a copy of what is read: the list, the input,
// the settings), with nothing read.
void Result(benchmark::State &state, const Kind &kind) {
  const vendigo::Settings settings = Shop();
  const std::string html = vendigo::FindCommand(kind.command)->build(settings, kind.input);
  const std::vector<vendigo::FoundFragment> read = vendigo::ReadFragments(html, settings);
  for (auto _ : state) benchmark::DoNotOptimize(std::vector<vendigo::FoundFragment>(read));
}

// A page of 100 product pages' bytes and their fragments, per byte, for scale.
void ReadPage(benchmark::State &state) {
  const vendigo::Settings settings = Shop();
  std::string page;
  for (int i = 0; page.size() < 200000; ++i) {
    page +=
        "<html><head><title>Mug</title><script>var a = '<b>';</script></head><body>\r\n"
        "<h1>Blue mug</h1><p>Our <b>best</b> mug, <i>fired</i> twice.</p><table><tr><td>";
    for (const Kind &kind : Kinds())
      page += vendigo::FindCommand(kind.command)->build(settings, kind.input);
    page += "</td></tr></table></body></html>\r\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(vendigo::ReadFragments(page, settings));
  state.counters["bytes"] = benchmark::Counter(static_cast<double>(page.size()),
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ReadPage);

}  // namespace

int main(int argc, char **argv) {
  std::vector<vendigo::testing::BenchmarkRatio> ratios;
  for (const Kind &kind : Kinds()) {
    const std::string label = kind.label;
    benchmark::RegisterBenchmark(("Build/" + label).c_str(), Build, kind);
    benchmark::RegisterBenchmark(("Read/" + label).c_str(), Read, kind);
    benchmark::RegisterBenchmark(("Result/" + label).c_str(), Result, kind);
    ratios.push_back(
        {"reading over building, " + label, "Read/" + label, "Build/" + label, "", 2.0});
    ratios.push_back(
        {"its result alone over building, " + label, "Result/" + label, "Build/" + label, "", 0});
  }
  return vendigo::testing::RunBenchmarksWithRatios(argc, argv, std::move(ratios));
}
