#include "run_tables.h"

#include "step_down_min_p.h"
#include "tables/critical_values.h"
#include "tables/csv_fields.h"

namespace ixo {

ResultTable IxoTable() {
  ResultTable table;
  table.columns = HeaderColumns(kIxoTestHeader);
  return table;
}

void AddIxoRows(ResultTable& table, const std::string& path, const IxoTestReport& report) {
  for (const IxoTestRow& row : report.rows) {
    table.rows.push_back({TextCell(path), IntegerCell(report.n), IntegerCell(row.m),
                          NumberCell(row.value), IntegerCell(row.points),
                          IntegerCell(row.size_class), TextCell(row.verdict),
                          NumberCell(row.p_value), NumberCell(row.p_adjusted)});
  }
  const std::optional<double> overall = report.p_overall;
  table.rows.push_back({TextCell(path), IntegerCell(report.n), TextCell("all"), Cell{}, Cell{},
                        Cell{}, TextCell(overall ? PValueVerdict(*overall) : "unknown"),
                        NumberCell(overall), NumberCell(overall)});
}

ResultTable BdsTable() {
  ResultTable table;
  table.columns = {"file", "n", "m", "eps", "bds", "p_normal", "p_permutation", "p_adjusted"};
  return table;
}

void AddBdsRows(ResultTable& table, const std::string& path, long long n,
                const BdsPermutationTest& test) {
  for (const BdsValue& v : test.values) {
    table.rows.push_back({TextCell(path), IntegerCell(n), IntegerCell(v.m), NumberCell(v.eps),
                          NumberCell(v.bds), NumberCell(v.p_normal), NumberCell(v.p_permutation),
                          NumberCell(v.p_adjusted)});
  }
  table.rows.push_back({TextCell(path), IntegerCell(n), TextCell("all"), Cell{}, Cell{}, Cell{},
                        NumberCell(test.p_overall), NumberCell(test.p_overall)});
}

ResultTable CriticalTable(long long n, int reps, const SimulatedCriticalValues& values) {
  ResultTable table;
  table.columns = {"n",  "m",   "reps",  "p0.5", "p1",    "p2.5",
                   "p5", "p95", "p97.5", "p99",  "p99.5", "undefined"};
  for (const CriticalRow& row : values.rows) {
    std::vector<Cell> cells = {IntegerCell(n), IntegerCell(row.m), IntegerCell(reps)};
    for (double v : row.values) cells.push_back(NumberCell(v));
    cells.push_back(IntegerCell(row.undefined));
    table.rows.push_back(std::move(cells));
  }
  return table;
}

}  // namespace ixo
