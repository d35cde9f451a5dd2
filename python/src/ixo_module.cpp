// ixo._ixo: the engine library's tests for Python. Each function takes the
// series as a one-dimensional C-contiguous float64 array of finite values (the
// package's Python side converts and checks what users pass) and the settings
// as plain numbers, runs the library without the GIL, and returns a dict of
// numpy arrays (and plain numbers for the whole family). A failure the library reports becomes
// ValueError with its message (MemoryError for "out of memory"); Ctrl+C during the replications
// stops them and raises KeyboardInterrupt.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "correlation_curves.h"
#include "critical_simulation.h"
#include "interrupt_poll.h"
#include "ixo_settings.h"
#include "ixo_test.h"
#include "part_file.h"
#include "part_merge.h"
#include "permutation_tests.h"
#include "result.h"
#include "simulation_parts.h"
#include "step_down_min_p.h"
#include "tables/critical_values.h"

namespace py = pybind11;

namespace ixo::python {
namespace {

using Series = py::array_t<double, py::array::c_style>;

std::span<const double> SpanOf(const Series& x) {
  if (x.ndim() != 1) throw py::value_error("x must be one-dimensional");
  return {x.data(), static_cast<std::size_t>(x.size())};
}

// The value of `result`, or its failure as the Python exception users expect:
// KeyboardInterrupt when `poll` saw Ctrl+C, MemoryError, else ValueError with
// the library's message. Requires the GIL.
template <typename T>
T ValueOf(Result<T>&& result, const InterruptPoll* poll = nullptr) {
  if (poll) poll->ThrowIfInterrupted();
  if (result.ok()) return std::move(*result.value);
  if (result.error == kOutOfMemory) throw std::bad_alloc();
  throw py::value_error(result.error);
}

template <typename T>
py::array_t<T> ArrayOf(const std::vector<T>& values) {
  py::array_t<T> array(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), array.mutable_data());
  return array;
}

// The replications' settings, with the stop request (asked on the calling
// thread between replications) looking for Ctrl+C; `sequential` is the tail
// count of the sequential rule (0: all R).
Simulation SimulationOf(int reps, std::uint64_t seed, int threads, InterruptPoll& poll,
                        int sequential = 0) {
  Simulation simulation{reps, seed, threads, {}, [&poll] { return poll.Poll(); }};
  simulation.sequential = sequential;
  return simulation;
}

IxoSettings SettingsOf(int m, double eps_low, double eps_high, int subint, int cm_limit) {
  IxoSettings settings;
  settings.max_dimension = m;
  settings.eps_low = eps_low;
  settings.eps_high = eps_high;
  settings.subint = subint;
  settings.cm_limit = cm_limit;
  return settings;
}

// A number column's cell: the value, or NaN where there is none.
double OrNaN(const std::optional<double>& value) {
  return value.value_or(std::numeric_limits<double>::quiet_NaN());
}

py::dict ColumnsOfReport(const IxoTestReport& report);

py::dict IxoTestOf(const Series& x, int m, double eps_low, double eps_high, int subint,
                   int cm_limit, int reps, std::uint64_t seed, int threads, int sequential) {
  const std::span<const double> series = SpanOf(x);
  const IxoSettings settings = SettingsOf(m, eps_low, eps_high, subint, cm_limit);
  InterruptPoll poll;
  Result<IxoTestReport> result;
  {
    py::gil_scoped_release release;
    result = IxoTest(series, settings, SimulationOf(reps, seed, threads, poll, sequential));
  }
  return ColumnsOfReport(ValueOf(std::move(result), &poll));
}

// A part of the run over replications begin .. end - 1, the text ixo_cli's
// "ixo --replications BEGIN:END --format part" writes for the series under `name`.
std::string IxoPartOf(const Series& x, int m, double eps_low, double eps_high, int subint,
                      int cm_limit, int reps, std::uint64_t seed, int threads, int begin, int end,
                      const std::string& name) {
  const std::span<const double> series = SpanOf(x);
  const IxoSettings settings = SettingsOf(m, eps_low, eps_high, subint, cm_limit);
  InterruptPoll poll;
  Simulation simulation = SimulationOf(reps, seed, threads, poll);
  simulation.begin = begin;
  simulation.end = end;
  Result<IxoPermutationTest> result;
  {
    py::gil_scoped_release release;
    result = PermutationTestIxo(series, settings, simulation);
  }
  const IxoPermutationTest test = ValueOf(std::move(result), &poll);
  Part part = PartOfRun(std::string("ixo_cli ") + IXO_VERSION, kIxoPartCommand, simulation);
  SetIxoSettings(part, settings);
  AddIxoSeries(part, name, series, test);
  const std::string fault = CheckPart(part);
  if (!fault.empty()) throw py::value_error(fault);
  return WritePart(part);
}

// The columns of the single run the parts' texts (name, text) make up together,
// with its settings; ValueError with the merge's message when they do not.
py::dict IxoMergeOf(const std::vector<std::pair<std::string, std::string>>& texts) {
  std::vector<PartText> parts;
  for (const auto& [name, text] : texts) parts.push_back({name, text});
  const Part whole = ValueOf(MergePartTexts(parts));
  if (whole.command != kIxoPartCommand)
    throw py::value_error("not a part of the Ixo test: command '" + whole.command + "'");
  if (whole.series.size() != 1)
    throw py::value_error("the parts hold " + std::to_string(whole.series.size()) +
                          " series, not one");
  const IxoSettings settings = ValueOf(IxoSettingsOf(whole));
  const IxoPermutationTest test = ValueOf(IxoTestFromPart(whole, 0));
  const int n = static_cast<int>(whole.series[0].n);
  py::dict columns = ColumnsOfReport(IxoReportOf(n, settings, test));
  columns["n"] = n;
  columns["eps"] = py::make_tuple(settings.eps_low, settings.eps_high);
  columns["subint"] = settings.subint;
  columns["cm_limit"] = settings.cm_limit;
  columns["reps"] = whole.replications;
  columns["seed"] = whole.seed;
  columns["name"] = whole.series[0].path;
  return columns;
}

// The columns of the Ixo test's report.
py::dict ColumnsOfReport(const IxoTestReport& report) {
  std::vector<int> dimension, points, size_class;
  std::vector<double> value, p_value, p_adjusted;
  py::list verdict;
  for (const IxoTestRow& row : report.rows) {
    dimension.push_back(row.m);
    value.push_back(OrNaN(row.value));
    points.push_back(row.points);
    size_class.push_back(row.size_class);
    verdict.append(row.verdict.empty() ? py::object(py::none()) : py::str(row.verdict));
    p_value.push_back(OrNaN(row.p_value));
    p_adjusted.push_back(OrNaN(row.p_adjusted));
  }
  py::dict columns;
  columns["m"] = ArrayOf(dimension);
  columns["statistic"] = ArrayOf(value);
  columns["points"] = ArrayOf(points);
  columns["size_class"] = ArrayOf(size_class);
  columns["verdict"] = verdict;
  columns["pvalue"] = ArrayOf(p_value);
  columns["p_adjusted"] = ArrayOf(p_adjusted);
  // ixo_cli's row "all": the overall p-value and its verdict at the levels.
  columns["p_overall"] = OrNaN(report.p_overall);
  columns["verdict_overall"] = report.p_overall ? PValueVerdict(*report.p_overall) : "unknown";
  columns["drawn"] = report.drawn;
  return columns;
}

py::dict BdsOf(const Series& x, int m, const Series& eps, int reps, std::uint64_t seed, int threads,
               int sequential) {
  const std::span<const double> series = SpanOf(x);
  const std::span<const double> distances = SpanOf(eps);
  InterruptPoll poll;
  Result<BdsPermutationTest> result;
  {
    py::gil_scoped_release release;
    result = PermutationTestBds(series, m, distances,
                                SimulationOf(reps, seed, threads, poll, sequential));
  }
  const BdsPermutationTest test = ValueOf(std::move(result), &poll);
  std::vector<int> dimension;
  std::vector<double> fraction, statistic, p_normal, p_permutation, p_adjusted;
  for (const BdsValue& v : test.values) {
    dimension.push_back(v.m);
    fraction.push_back(v.eps);
    statistic.push_back(OrNaN(v.bds));
    p_normal.push_back(OrNaN(v.p_normal));
    p_permutation.push_back(OrNaN(v.p_permutation));
    p_adjusted.push_back(OrNaN(v.p_adjusted));
  }
  py::dict columns;
  columns["m"] = ArrayOf(dimension);
  columns["eps"] = ArrayOf(fraction);
  columns["statistic"] = ArrayOf(statistic);
  columns["pvalue_normal"] = ArrayOf(p_normal);
  columns["pvalue_permutation"] = ArrayOf(p_permutation);
  columns["p_adjusted"] = ArrayOf(p_adjusted);
  columns["p_overall"] = OrNaN(test.p_overall);
  columns["drawn"] = test.drawn;
  return columns;
}

py::dict CriticalOf(int n, int m, double eps_low, double eps_high, int subint, int cm_limit,
                    int reps, std::uint64_t seed, int threads) {
  const IxoSettings settings = SettingsOf(m, eps_low, eps_high, subint, cm_limit);
  InterruptPoll poll;
  Result<SimulatedCriticalValues> result;
  {
    py::gil_scoped_release release;
    result = SimulateCriticalValues(n, settings, SimulationOf(reps, seed, threads, poll));
  }
  const SimulatedCriticalValues values = ValueOf(std::move(result), &poll);
  std::vector<int> dimension, undefined;
  py::array_t<double> table({static_cast<py::ssize_t>(values.rows.size()),
                             static_cast<py::ssize_t>(kCriticalPercentiles.size())});
  auto cells = table.mutable_unchecked<2>();
  for (std::size_t i = 0; i < values.rows.size(); ++i) {
    dimension.push_back(values.rows[i].m);
    undefined.push_back(values.rows[i].undefined);
    for (std::size_t j = 0; j < kCriticalPercentiles.size(); ++j)
      cells(i, j) = values.rows[i].values[j];
  }
  py::dict columns;
  columns["m"] = ArrayOf(dimension);
  columns["values"] = table;
  columns["undefined"] = ArrayOf(undefined);
  return columns;
}

py::dict CurvesOf(const Series& x, int m, double eps_low, double eps_high, int subint,
                  int cm_limit) {
  const std::span<const double> series = SpanOf(x);
  const IxoSettings settings = SettingsOf(m, eps_low, eps_high, subint, cm_limit);
  Result<std::vector<CorrelationCurve>> result;
  {
    py::gil_scoped_release release;
    result = SeriesCurves(series, settings);
  }
  const std::vector<CorrelationCurve> curves = ValueOf(std::move(result));
  std::vector<int> point_m, k, used, fit_m, fit_points;
  std::vector<double> eps, px, pairs, py_, slope, intercept;
  for (const CorrelationCurve& curve : curves) {
    fit_m.push_back(curve.dimension);
    slope.push_back(curve.slope);
    intercept.push_back(curve.intercept);
    fit_points.push_back(curve.used_points);
    for (const CurvePoint& p : curve.points) {
      point_m.push_back(curve.dimension);
      k.push_back(p.k);
      eps.push_back(p.eps);
      px.push_back(p.x);
      pairs.push_back(p.pairs);
      py_.push_back(p.y);
      used.push_back(p.used ? 1 : 0);
    }
  }
  py::dict points;
  points["m"] = ArrayOf(point_m);
  points["k"] = ArrayOf(k);
  points["eps"] = ArrayOf(eps);
  points["x"] = ArrayOf(px);
  points["pairs"] = ArrayOf(pairs);
  points["y"] = ArrayOf(py_);
  points["used"] = ArrayOf(used);
  py::dict fits;
  fits["m"] = ArrayOf(fit_m);
  fits["slope"] = ArrayOf(slope);
  fits["intercept"] = ArrayOf(intercept);
  fits["points"] = ArrayOf(fit_points);
  py::dict columns;
  columns["points"] = points;
  columns["fits"] = fits;
  return columns;
}

}  // namespace
}  // namespace ixo::python

PYBIND11_MODULE(_ixo, module) {
  using namespace ixo::python;
  using py::arg;
  module.doc() = "The engine library of Ixo; use the functions of the ixo package.";
  module.attr("default_seed") = ixo::kDefaultSeed;
  module.attr("max_dimension") = ixo::kMaxDimension;
  py::list percentiles;
  for (double p : ixo::kCriticalPercentiles) percentiles.append(p);
  module.attr("percentiles") = py::tuple(percentiles);

  module.def("ixo_test", &IxoTestOf, arg("x").noconvert(), arg("m"), arg("eps_low"),
             arg("eps_high"), arg("subint"), arg("cm_limit"), arg("reps"), arg("seed"),
             arg("threads"), arg("sequential"));
  module.def("ixo_part", &IxoPartOf, arg("x").noconvert(), arg("m"), arg("eps_low"),
             arg("eps_high"), arg("subint"), arg("cm_limit"), arg("reps"), arg("seed"),
             arg("threads"), arg("begin"), arg("end"), arg("name"));
  module.def("ixo_merge", &IxoMergeOf, arg("texts"));
  module.def("bds", &BdsOf, arg("x").noconvert(), arg("m"), arg("eps").noconvert(), arg("reps"),
             arg("seed"), arg("threads"), arg("sequential"));
  module.def("critical", &CriticalOf, arg("n"), arg("m"), arg("eps_low"), arg("eps_high"),
             arg("subint"), arg("cm_limit"), arg("reps"), arg("seed"), arg("threads"));
  module.def("curves", &CurvesOf, arg("x").noconvert(), arg("m"), arg("eps_low"), arg("eps_high"),
             arg("subint"), arg("cm_limit"));
}
