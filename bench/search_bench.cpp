// Scraping throughput: textBetween over pages of 100 KB, 1 MB and 10 MB of
// GBK-like HTML with the markers at the very end, so the whole page is searched.
#include <benchmark/benchmark.h>

#include <string>

#include "text/search.h"
#include "weather/markers.h"

namespace {

std::string page(std::size_t size) {
  const std::string filler =
      "<li class=\"item\"><a href=\"/city/101010100.shtml\">\xB1\xB1\xBE\xA9</a>"  // 北京
      "<span>\xC7\xE7\xD7\xAA\xB6\xE0\xD4\xC6</span></li>\n";                      // 晴转多云
  std::string p;
  p.reserve(size + 200);
  while (p.size() < size) p += filler;
  p.resize(size - 100);
  p += std::string(weather::kDateStart) + "12\xD4\xC2" "11\xC8\xD5" + std::string(weather::kDateEnd);
  return p;
}

void textBetweenThroughput(benchmark::State& state) {
  const std::string p = page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(text::textBetween(p, weather::kDateStart, weather::kDateEnd, 0, false));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(p.size()));
}
BENCHMARK(textBetweenThroughput)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
