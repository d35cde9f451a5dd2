#include "simulation_parts.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "monte_carlo.h"
#include "permutation_draws.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Shortest(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, end);
}

const std::string* SettingNamed(const Part& part, const std::string& name) {
  for (const auto& [key, value] : part.settings)
    if (key == name) return &value;
  return nullptr;
}

std::optional<double> Number(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !(value > 0) ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

// Setting `name` as an integer in [low, high]; false (and `error` set) otherwise.
bool ReadInteger(const Part& part, const char* name, long long low, long long high, int& target,
                 std::string& error) {
  const std::string* text = SettingNamed(part, name);
  long long value = 0;
  if (text != nullptr) {
    const auto [end, e] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (e == std::errc() && end == text->data() + text->size() && value >= low && value <= high) {
      target = static_cast<int>(value);
      return true;
    }
  }
  error = std::string("the part's setting ") + name + (text ? " is unusable" : " is missing");
  return false;
}

const PartSection* SectionNamed(const Part& part, const char* name, int series) {
  for (const PartSection& s : part.sections)
    if (s.name == name && s.series == series) return &s;
  return nullptr;
}

// Empty when `whole` is a part of `command` that holds its whole range and
// has series `index` (index < 0: none needed).
std::string CheckWhole(const Part& whole, const char* command, long long index) {
  if (whole.command != command)
    return "a part of '" + whole.command + "', not of '" + command + "'";
  if (whole.begin != 0 || whole.end != whole.replications)
    return "the part holds only replications " + std::to_string(whole.begin) + ".." +
           std::to_string(whole.end - 1) + " of 0.." + std::to_string(whole.replications - 1);
  if (index >= static_cast<long long>(whole.series.size())) return "the part has no such series";
  return {};
}

// Row `i` of a tails section: at_most, at_least, counted.
TailCounts TailsAt(const PartSection& tails, int i) {
  const double* row = tails.cells.data() + 3 * static_cast<std::size_t>(i);
  return TailCounts{static_cast<long long>(row[0]), static_cast<long long>(row[1]),
                    static_cast<long long>(row[2])};
}

void AddSeries(Part& part, const std::string& path, std::span<const double> values) {
  part.series.push_back(PartSeries{path, values.size(), SeriesHash(values)});
}

// The "rows" section of series `index`: the permuted copies' statistics, one
// row per replication of the range (columns: the null distributions).
PartSection RowsSection(int index, const std::vector<std::vector<double>>& null_distribution,
                        std::size_t columns) {
  PartSection rows{"rows", SectionKind::kRows, index, static_cast<int>(columns), {}};
  const std::size_t count = null_distribution.empty() ? 0 : null_distribution[0].size();
  for (std::size_t r = 0; r < count; ++r)
    for (std::size_t j = 0; j < columns; ++j) rows.cells.push_back(null_distribution[j][r]);
  return rows;
}

// The p-values of a whole run from its rows (all R in replication order), as
// the run itself computes them; `null_distribution` gets their columns.
ColumnPValues WholeRunPValues(std::span<const double> observed, const PartSection& rows,
                              int replications,
                              std::vector<std::vector<double>>& null_distribution) {
  const std::size_t columns = observed.size();
  for (std::size_t j = 0; j < columns; ++j) {
    null_distribution.emplace_back();
    for (std::size_t r = 0; r * columns < rows.cells.size(); ++r)
      null_distribution.back().push_back(rows.cells[r * columns + j]);
  }
  Simulation simulation;
  simulation.replications = replications;
  return PValuesOf(observed, rows.cells, simulation);
}

}  // namespace

Part PartOfRun(std::string program, std::string command, const Simulation& simulation) {
  Part part;
  part.program = std::move(program);
  part.command = std::move(command);
  part.seed = simulation.seed;
  part.replications = simulation.replications;
  part.begin = simulation.begin;
  part.end = RangeEnd(simulation);
  return part;
}

void SetIxoSettings(Part& part, const IxoSettings& s) {
  part.settings.emplace_back("m", std::to_string(s.max_dimension));
  part.settings.emplace_back("eps", Shortest(s.eps_low) + ":" + Shortest(s.eps_high));
  part.settings.emplace_back("subint", std::to_string(s.subint));
  part.settings.emplace_back("cm-limit", std::to_string(s.cm_limit));
}

void SetBdsSettings(Part& part, const BdsSettings& s) {
  part.settings.emplace_back("m", std::to_string(s.max_dimension));
  std::string eps;
  for (const double e : s.eps) eps += (eps.empty() ? "" : ",") + Shortest(e);
  part.settings.emplace_back("eps", eps);
}

void SetCriticalSettings(Part& part, int n, const IxoSettings& settings) {
  part.settings.emplace_back("n", std::to_string(n));
  SetIxoSettings(part, settings);
}

Result<IxoSettings> IxoSettingsOf(const Part& part) {
  IxoSettings s;
  std::string error;
  if (!ReadInteger(part, "m", 2, kMaxDimension, s.max_dimension, error) ||
      !ReadInteger(part, "subint", 1, kMaxSubintervals, s.subint, error) ||
      !ReadInteger(part, "cm-limit", 0, std::numeric_limits<int>::max(), s.cm_limit, error))
    return Failure<IxoSettings>(error);
  const std::string* eps = SettingNamed(part, "eps");
  const std::size_t colon = eps ? eps->find(':') : std::string::npos;
  const std::optional<double> low =
      colon == std::string::npos ? std::nullopt : Number(std::string_view(*eps).substr(0, colon));
  const std::optional<double> high =
      colon == std::string::npos ? std::nullopt : Number(std::string_view(*eps).substr(colon + 1));
  if (!low || !high) return Failure<IxoSettings>("the part's setting eps is unusable");
  s.eps_low = *low;
  s.eps_high = *high;
  return {s, {}};
}

Result<BdsSettings> BdsSettingsOf(const Part& part) {
  BdsSettings s;
  std::string error;
  if (!ReadInteger(part, "m", 2, kMaxDimension, s.max_dimension, error))
    return Failure<BdsSettings>(error);
  const std::string* eps = SettingNamed(part, "eps");
  if (eps == nullptr) return Failure<BdsSettings>("the part's setting eps is missing");
  s.eps.clear();
  std::string_view rest(*eps);
  for (;;) {
    const std::size_t comma = rest.find(',');
    const std::optional<double> e = Number(rest.substr(0, comma));
    if (!e) return Failure<BdsSettings>("the part's setting eps is unusable");
    s.eps.push_back(*e);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return {s, {}};
}

Result<int> CriticalLengthOf(const Part& part) {
  int n = 0;
  std::string error;
  if (!ReadInteger(part, "n", 3, std::numeric_limits<int>::max(), n, error))
    return Failure<int>(error);
  return {n, {}};
}

void AddIxoSeries(Part& part, const std::string& path, std::span<const double> values,
                  const IxoPermutationTest& test) {
  const int index = static_cast<int>(part.series.size());
  AddSeries(part, path, values);
  PartSection observed{"observed", SectionKind::kSame, index, 3, {}};
  PartSection tails{"tails", SectionKind::kSum, index, 3, {}};
  for (std::size_t i = 0; i < test.observed.size(); ++i) {
    const DimensionSlope& d = test.observed[i];
    observed.cells.insert(observed.cells.end(), {static_cast<double>(d.dimension), d.slope,
                                                 static_cast<double>(d.points)});
    const TailCounts t = i < test.tails.size() ? test.tails[i] : TailCounts{};
    tails.cells.insert(tails.cells.end(),
                       {static_cast<double>(t.at_most), static_cast<double>(t.at_least),
                        static_cast<double>(t.counted)});
  }
  part.sections.push_back(std::move(observed));
  part.sections.push_back(std::move(tails));
  part.sections.push_back(RowsSection(index, test.null_distribution, test.observed.size()));
}

void AddBdsSeries(Part& part, const std::string& path, std::span<const double> values,
                  const BdsPermutationTest& test) {
  const int index = static_cast<int>(part.series.size());
  AddSeries(part, path, values);
  PartSection observed{"observed", SectionKind::kSame, index, 4, {}};
  PartSection tails{"tails", SectionKind::kSum, index, 3, {}};
  for (const BdsValue& v : test.values) {
    observed.cells.insert(observed.cells.end(), {static_cast<double>(v.m), v.eps,
                                                 v.bds.value_or(kNaN), v.p_normal.value_or(kNaN)});
    tails.cells.insert(tails.cells.end(),
                       {static_cast<double>(v.tails.at_most), static_cast<double>(v.tails.at_least),
                        static_cast<double>(v.tails.counted)});
  }
  part.sections.push_back(std::move(observed));
  part.sections.push_back(std::move(tails));
  part.sections.push_back(RowsSection(index, test.null_distribution, test.values.size()));
}

void AddCriticalValues(Part& part, const SimulatedCriticalValues& values) {
  const int columns = values.columns;
  part.sections.push_back(
      PartSection{"values", SectionKind::kRows, -1, columns, values.replicated});
}

Result<IxoPermutationTest> IxoTestFromPart(const Part& whole, std::size_t index) {
  if (std::string why = CheckWhole(whole, kIxoPartCommand, static_cast<long long>(index));
      !why.empty())
    return Failure<IxoPermutationTest>(why);
  const Result<IxoSettings> settings = IxoSettingsOf(whole);
  if (!settings.ok()) return Failure<IxoPermutationTest>(settings.error);
  const int series = static_cast<int>(index);
  const PartSection* observed = SectionNamed(whole, "observed", series);
  const PartSection* tails = SectionNamed(whole, "tails", series);
  const PartSection* rows = SectionNamed(whole, "rows", series);
  const int dimensions = settings.value->max_dimension - 1;
  if (!observed || !tails || !rows || observed->columns != 3 || tails->columns != 3 ||
      rows->columns != dimensions || observed->Rows() != dimensions ||
      tails->Rows() != dimensions || rows->Rows() != whole.replications)
    return Failure<IxoPermutationTest>("the part's sections do not fit its settings");
  IxoPermutationTest test;
  for (int i = 0; i < dimensions; ++i) {
    const double* row = observed->cells.data() + 3 * i;
    if (row[0] != i + 2 || !(row[2] >= 0 && row[2] <= kMaxSubintervals + 1) ||
        row[2] != std::floor(row[2]))
      return Failure<IxoPermutationTest>("the part's sections do not fit its settings");
    test.observed.push_back(DimensionSlope{i + 2, row[1], static_cast<int>(row[2])});
    test.tails.push_back(TailsAt(*tails, i));
  }
  if (whole.replications <= 0) return {std::move(test), {}};
  std::vector<double> values;
  for (const DimensionSlope& d : test.observed) values.push_back(HasIxoValue(d) ? d.slope : kNaN);
  ColumnPValues p = WholeRunPValues(values, *rows, whole.replications, test.null_distribution);
  test.p_values = std::move(p.raw);
  test.p_adjusted = std::move(p.adjusted);
  test.p_overall = p.overall;
  test.drawn = whole.replications;
  return {std::move(test), {}};
}

Result<BdsPermutationTest> BdsTestFromPart(const Part& whole, std::size_t index) {
  if (std::string why = CheckWhole(whole, kBdsPartCommand, static_cast<long long>(index));
      !why.empty())
    return Failure<BdsPermutationTest>(why);
  const Result<BdsSettings> settings = BdsSettingsOf(whole);
  if (!settings.ok()) return Failure<BdsPermutationTest>(settings.error);
  const int series = static_cast<int>(index);
  const PartSection* observed = SectionNamed(whole, "observed", series);
  const PartSection* tails = SectionNamed(whole, "tails", series);
  const PartSection* rows = SectionNamed(whole, "rows", series);
  const int distances = static_cast<int>(settings.value->eps.size());
  const int cells = (settings.value->max_dimension - 1) * distances;
  if (!observed || !tails || !rows || observed->columns != 4 || tails->columns != 3 ||
      rows->columns != cells || observed->Rows() != cells || tails->Rows() != cells ||
      rows->Rows() != whole.replications)
    return Failure<BdsPermutationTest>("the part's sections do not fit its settings");
  BdsPermutationTest test;
  std::vector<double> values;
  for (int i = 0; i < cells; ++i)
    values.push_back(observed->cells[4 * static_cast<std::size_t>(i) + 2]);
  ColumnPValues p;
  if (whole.replications > 0) {
    p = WholeRunPValues(values, *rows, whole.replications, test.null_distribution);
    test.p_overall = p.overall;
    test.drawn = whole.replications;
  }
  for (int i = 0; i < cells; ++i) {
    const double* row = observed->cells.data() + 4 * i;
    BdsValue v;
    v.m = 2 + i / distances;
    v.eps = settings.value->eps[i % distances];
    if (row[0] != v.m || std::memcmp(&row[1], &v.eps, sizeof v.eps) != 0)
      return Failure<BdsPermutationTest>("the part's sections do not fit its settings");
    v.tails = TailsAt(*tails, i);
    if (!std::isnan(row[2])) {
      v.bds = row[2];
      if (!std::isnan(row[3])) v.p_normal = row[3];
      if (whole.replications > 0) {
        v.p_permutation = p.raw[i];
        v.p_adjusted = p.adjusted[i];
      }
    }
    test.values.push_back(v);
  }
  return {std::move(test), {}};
}

Result<SimulatedCriticalValues> CriticalValuesFromPart(const Part& whole) {
  if (std::string why = CheckWhole(whole, kCriticalPartCommand, -1); !why.empty())
    return Failure<SimulatedCriticalValues>(why);
  const Result<IxoSettings> settings = IxoSettingsOf(whole);
  if (!settings.ok()) return Failure<SimulatedCriticalValues>(settings.error);
  const PartSection* values = SectionNamed(whole, "values", -1);
  const int columns = settings.value->max_dimension - 1;
  if (!values || values->columns != columns || whole.replications < 1)
    return Failure<SimulatedCriticalValues>("the part's sections do not fit its settings");
  SimulatedCriticalValues result;
  result.columns = columns;
  result.replicated = values->cells;
  Result<std::vector<CriticalRow>> rows = CriticalRowsOf(result.replicated, columns);
  if (!rows.ok()) return Failure<SimulatedCriticalValues>(std::move(rows.error));
  result.rows = std::move(*rows.value);
  return {std::move(result), {}};
}

}  // namespace ixo
