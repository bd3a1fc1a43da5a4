// Timings of the work that grows with the size of a job: decoding control-file lines,
// formatted output, and generating the reflections of a large cell.
#include <benchmark/benchmark.h>

#include <sstream>

#include "controlfile/line_reader.h"
#include "reflections/sg_listing.h"
#include "text/fortran_format.h"

namespace {

void BM_FindFmtAtomLine(benchmark::State& state) {
  const std::string line = "O3   O      0.08110  0.02720  0.80860  1.30000  1.00000   0   0   0";
  for (auto _ : state) benchmark::DoNotOptimize(kestovar::find_fmt(line, "44FFFFFIII"));
}
BENCHMARK(BM_FindFmtAtomLine);

void BM_FormatListingLine(benchmark::State& state) {
  const std::vector<kestovar::text::Item> items = {
      std::string("O3"), 0.0811, 0.0272, 0.8086, 1.3, 1.0, 0LL, 0LL};
  for (auto _ : state)
    benchmark::DoNotOptimize(kestovar::text::format("(1X,A4,5F10.5,2I5)", items));
}
BENCHMARK(BM_FormatListingLine);

// All independent reflections of F d 3 m and of P 1 down to a d limit (state.range(0)/100 A).
void BM_ReflectionListing(benchmark::State& state, const char* symbol, const char* cell) {
  const std::string dmin = std::to_string(state.range(0) / 100.0);
  std::istringstream c(cell);
  std::vector<std::string> words;
  for (std::string w; c >> w;) words.push_back(w);
  std::vector<const char*> argv = {"kestovar-sg", symbol, "--cell"};
  for (const std::string& w : words) argv.push_back(w.c_str());
  argv.push_back("--dmin");
  argv.push_back(dmin.c_str());
  for (auto _ : state) {
    std::ostringstream out, err;
    kestovar::reflection_listing_main(static_cast<int>(argv.size()), argv.data(), out, err);
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK_CAPTURE(BM_ReflectionListing, cubic, "F d 3 m", "20 20 20 90 90 90")->Arg(100)->Arg(60);
BENCHMARK_CAPTURE(BM_ReflectionListing, triclinic, "P -1", "12 13 14 80 85 95")->Arg(100);

}  // namespace
