// A product page of the shipped single-product template with a long text of 1 MB and of 2 MB:
// the time to build it, and the most memory the build holds at one time over the page's size.
#include <string>

#include <benchmark/benchmark.h>

#include "pages/product_page.h"
#include "pages/template_package.h"
#include "support/allocation_meter.h"
#include "support/benchmark_ratios.h"

namespace {

using vendigo::ProductPageInput;
using vendigo::testing::AllocationMeter;

ProductPageInput LongTextProduct(std::size_t longTextBytes) {
  ProductPageInput input;
  input.Description = "Blue mug";
  input.Price = "1234.5";
  input.Weight = "2";
  input.Options[0] = {"Size",
                      {{"Small", "0", "0", "Small"}, {"Large", "2", "0", "Large -- Add $2"}}};
  const std::string line = "Hand-thrown stoneware, 50% recycled clay, glazed in deep blue.\r\n";
  while (input.LongText.size() < longTextBytes) input.LongText += line;
  input.LongText.resize(longTextBytes);
  return input;
}

void BM_LongTextPage(benchmark::State &state) {
  const std::string templateText =
      vendigo::ReadTemplateText(VENDIGO_TEMPLATES_DIR "/single_product.zft");
  const ProductPageInput input = LongTextProduct(static_cast<std::size_t>(state.range(0)));
  const vendigo::Settings settings;
  std::size_t pageSize = 0;
  std::size_t peak = 0;
  {
    const AllocationMeter meter;
    pageSize = vendigo::BuildProductPage(templateText, input, settings).size();
    peak = meter.PeakAbove();
  }
  for (auto _ : state) {
    std::string page = vendigo::BuildProductPage(templateText, input, settings);
    benchmark::DoNotOptimize(page);
  }
  state.counters["bytes"] = static_cast<double>(pageSize);
  state.counters["peak_over_page"] = static_cast<double>(peak) / static_cast<double>(pageSize);
}

BENCHMARK(BM_LongTextPage)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  return vendigo::testing::RunBenchmarksWithRatios(
      argc, argv,
      {{"page time per byte, 2 MB long text over 1 MB", "BM_LongTextPage/2097152",
        "BM_LongTextPage/1048576", "bytes", 1.3}});
}
