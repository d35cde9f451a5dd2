#include "run_tables.h"

#include <cstdio>
#include <cstdlib>

#include "analysis/series_entries.h"
#include "analysis/verdict.h"
#include "ixo_settings_options.h"

namespace ixo {
namespace {

// The value as the window reads it from output.tmp: "%.3f", read back.
double ThreeDecimals(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.3f", value);
  return std::strtod(text, nullptr);
}

}  // namespace

ResultTable IxoTable() {
  ResultTable table;
  table.columns = {"file", "n", "m", "ixo", "points", "class", "verdict", "p_value"};
  return table;
}

void AddIxoRows(ResultTable& table, const std::string& path, int n, const IxoSettings& settings,
                const IxoPermutationTest& test) {
  const int range = TabulatedRange(settings);
  const int size_class = SampleSizeClass(n);
  static constexpr int kNominal[] = {500, 1000, 2500};
  for (std::size_t i = 0; i < test.observed.size(); ++i) {
    const DimensionSlope& d = test.observed[i];
    const std::string verdict =
        range < 0 ? "unknown" : Verdict(ThreeDecimals(d.slope), range, d.dimension, size_class);
    table.rows.push_back(
        {TextCell(path), IntegerCell(n), IntegerCell(d.dimension), NumberCell(d.slope),
         IntegerCell(d.points), IntegerCell(kNominal[size_class]), TextCell(verdict),
         NumberCell(test.p_values.empty() ? std::nullopt
                                          : std::optional<double>(test.p_values[i]))});
  }
}

ResultTable BdsTable() {
  ResultTable table;
  table.columns = {"file", "n", "m", "eps", "bds", "p_normal", "p_permutation"};
  return table;
}

void AddBdsRows(ResultTable& table, const std::string& path, long long n,
                const BdsPermutationTest& test) {
  for (const BdsValue& v : test.values) {
    table.rows.push_back({TextCell(path), IntegerCell(n), IntegerCell(v.m), NumberCell(v.eps),
                          NumberCell(v.bds), NumberCell(v.p_normal), NumberCell(v.p_permutation)});
  }
}

ResultTable CriticalTable(long long n, int reps, const SimulatedCriticalValues& values) {
  ResultTable table;
  table.columns = {"n", "m", "reps", "p0.5", "p1", "p2.5", "p5", "p95", "p97.5", "p99", "p99.5"};
  for (const CriticalRow& row : values.rows) {
    std::vector<Cell> cells = {IntegerCell(n), IntegerCell(row.m), IntegerCell(reps)};
    for (double v : row.values) cells.push_back(NumberCell(v));
    table.rows.push_back(std::move(cells));
  }
  return table;
}

}  // namespace ixo
