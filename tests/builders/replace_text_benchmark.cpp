// Time per byte of ReplaceText over template-like texts from 10 KB to 10 MB, with a placeholder
// every 100 bytes in changing letter case. The bytes-per-second column stays flat when the
// replacement runs in linear time.
#include <string>

#include <benchmark/benchmark.h>

#include "builders/price_rules.h"

namespace {

std::string TemplateText(std::size_t size) {
  static const char *const kPlaceholders[] = {"%zf_price%", "%ZF_PRICE%", "%Zf_Price%"};
  const std::string filler(90, 'x');
  std::string text;
  text.reserve(size + 100);
  for (std::size_t i = 0; text.size() < size; ++i) {
    text += filler;
    text += kPlaceholders[i % 3];
  }
  text.resize(size);
  return text;
}

void BM_ReplaceText(benchmark::State &state) {
  const std::string text = TemplateText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::string result = vendigo::ReplaceText("%zf_price%", text, "12.50");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

BENCHMARK(BM_ReplaceText)->Arg(10240)->Arg(102400)->Arg(1048576)->Arg(10485760);

}  // namespace
