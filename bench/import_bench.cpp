// The data file import, as the user's "..." click runs it: the copy to
// input.tmp, reading, the entry texts, the rewrite and the statistics.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/data_import.h"
#include "analysis/observation_list.h"
#include "platform/platform_run_host.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder holding a data file of `lines` values written with
// 15-digit precision from a fixed-seed generator, removed at the end.
class ImportFixture {
 public:
  explicit ImportFixture(int lines) {
    std::string pattern = (fs::temp_directory_path() / "ixo_import_bench_XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    data_file_ = (root_ / "series.txt").string();
    std::ofstream out(data_file_, std::ios::binary);
    std::uint64_t state = 20240611;
    char text[40];
    for (int i = 0; i < lines; ++i) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      const double x = static_cast<double>(state >> 11) / 9007199254740992.0 * 20.0 - 10.0;
      std::snprintf(text, sizeof text, "%.15g\r\n", x);
      out << text;
    }
  }
  ~ImportFixture() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const std::string& data_file() const { return data_file_; }
  std::string program_directory() const { return root_.string() + "/"; }

 private:
  fs::path root_;
  std::string data_file_;
};

void BM_ImportDataFile(benchmark::State& state) {
  const ImportFixture fixture(static_cast<int>(state.range(0)));
  ixo::PlatformRunHost files(fixture.program_directory());
  for (auto _ : state) {
    ixo::VectorObservationList list;
    const ixo::ImportResult result =
        ixo::ImportDataFile(fixture.data_file(), fixture.program_directory(), '.', list, files);
    if (result.error) state.SkipWithError(result.error->c_str());
    benchmark::DoNotOptimize(result);
  }
}
// 10000 lines: the full series; 1000000 lines: the copy of a large file of which
// only the first 10000 values are read.
BENCHMARK(BM_ImportDataFile)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
