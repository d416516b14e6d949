// ReplaceText over template-like texts from 10 KB to 10 MB, with a placeholder every 100 bytes.
// The goals are ratios printed at the end of the run: time per byte stays flat as the text
// grows, and the common case stays close to a plain std::string::find replace loop.
#include <string>

#include <benchmark/benchmark.h>

#include "builders/price_rules.h"
#include "support/allocation_meter.h"
#include "support/benchmark_ratios.h"

namespace {

using vendigo::testing::AllocationMeter;

constexpr std::int64_t kSmall = 10240;
constexpr std::int64_t kLarge = 10485760;

// 90 bytes of filler, then a placeholder, again and again; mixedCase writes the placeholders in
// changing letter case.
std::string TemplateText(std::size_t size, bool mixedCase) {
  static const char *const kPlaceholders[] = {"%zf_price%", "%ZF_PRICE%", "%Zf_Price%"};
  const std::string filler(90, 'x');
  std::string text;
  text.reserve(size + 100);
  for (std::size_t i = 0; text.size() < size; ++i) {
    text += filler;
    text += kPlaceholders[mixedCase ? i % 3 : 0];
  }
  text.resize(size);
  return text;
}

// Bytes per iteration, and the memory a call holds beyond its result, per byte of text.
void Report(benchmark::State &state, std::size_t bytes, std::size_t extra) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["extra_per_byte"] = static_cast<double>(extra) / static_cast<double>(bytes);
}

template <typename Replace>
void Measure(benchmark::State &state, const std::string &text, Replace replace) {
  std::size_t extra = 0;
  {
    const AllocationMeter meter;
    const std::string result = replace(text);
    extra = meter.PeakAbove() - meter.HeldAbove();
  }
  for (auto _ : state) {
    std::string result = replace(text);
    benchmark::DoNotOptimize(result);
  }
  Report(state, text.size(), extra);
}

void BM_ReplaceText(benchmark::State &state) {
  Measure(
      state, TemplateText(static_cast<std::size_t>(state.range(0)), true),
      [](const std::string &text) { return vendigo::ReplaceText("%zf_price%", text, "12.50"); });
}

// An empty replacement joins the text on both sides of each removal.
void BM_ReplaceTextEmpty(benchmark::State &state) {
  Measure(state, TemplateText(static_cast<std::size_t>(state.range(0)), true),
          [](const std::string &text) { return vendigo::ReplaceText("%zf_price%", text, ""); });
}

// The deepest joining: every removal completes the next occurrence ("aaabbb" without "ab").
void BM_ReplaceTextEmptyNested(benchmark::State &state) {
  const auto half = static_cast<std::size_t>(state.range(0)) / 2;
  Measure(state, std::string(half, 'a') + std::string(half, 'B'),
          [](const std::string &text) { return vendigo::ReplaceText("Ab", text, ""); });
}

// The baselines: the same placeholders, all in lower case, so both replace every one.
void BM_ReplaceTextLowerCase(benchmark::State &state) {
  Measure(
      state, TemplateText(static_cast<std::size_t>(state.range(0)), false),
      [](const std::string &text) { return vendigo::ReplaceText("%zf_price%", text, "12.50"); });
}

void BM_FindReplaceLoop(benchmark::State &state) {
  Measure(state, TemplateText(static_cast<std::size_t>(state.range(0)), false),
          [](const std::string &text) {
            const std::string pattern = "%zf_price%";
            std::string result;
            result.reserve(text.size());
            std::size_t from = 0;
            for (std::size_t at = text.find(pattern); at != std::string::npos;
                 at = text.find(pattern, from)) {
              result.append(text, from, at - from);
              result += "12.50";
              from = at + pattern.size();
            }
            result.append(text, from);
            return result;
          });
}

// What the memory costs alone: the text copied in pieces of 100 bytes. A 10 MB text and its copy
// no longer fit in the caches, so this shows how flat any pass over the text can be here.
void BM_CopyInPieces(benchmark::State &state) {
  Measure(state, TemplateText(static_cast<std::size_t>(state.range(0)), true),
          [](const std::string &text) {
            std::string result;
            result.reserve(text.size());
            for (std::size_t at = 0; at < text.size(); at += 100) result.append(text, at, 100);
            return result;
          });
}

BENCHMARK(BM_ReplaceText)->Arg(kSmall)->Arg(102400)->Arg(1048576)->Arg(kLarge);
BENCHMARK(BM_ReplaceTextEmpty)->Arg(kSmall)->Arg(102400)->Arg(1048576)->Arg(kLarge);
BENCHMARK(BM_ReplaceTextEmptyNested)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(BM_ReplaceTextLowerCase)->Arg(kSmall)->Arg(1048576);
BENCHMARK(BM_FindReplaceLoop)->Arg(kSmall)->Arg(1048576);
BENCHMARK(BM_CopyInPieces)->Arg(kSmall)->Arg(kLarge);

}  // namespace

int main(int argc, char **argv) {
  const std::string small = "/" + std::to_string(kSmall);
  const std::string large = "/" + std::to_string(kLarge);
  return vendigo::testing::RunBenchmarksWithRatios(
      argc, argv,
      {{"empty replacement, per byte, 10 MB over 10 KB", "BM_ReplaceTextEmpty" + large,
        "BM_ReplaceTextEmpty" + small, "bytes", 1.3},
       {"nested removals, per byte, 10 MB over 10 KB", "BM_ReplaceTextEmptyNested" + large,
        "BM_ReplaceTextEmptyNested" + small, "bytes", 1.3},
       {"(for scale) a plain copy, per byte, 10 MB over 10 KB", "BM_CopyInPieces" + large,
        "BM_CopyInPieces" + small, "bytes", 0},
       {"common case over a std::string::find loop, 10 KB", "BM_ReplaceTextLowerCase" + small,
        "BM_FindReplaceLoop" + small, "", 4.0},
       {"common case over a std::string::find loop, 1 MB", "BM_ReplaceTextLowerCase/1048576",
        "BM_FindReplaceLoop/1048576", "", 4.0}});
}
