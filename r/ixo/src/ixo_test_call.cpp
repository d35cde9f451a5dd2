// ixo_test's C++ side: the rows of `ixo_cli ixo` for one series.
#include <cstdio>
#include <cstdlib>

#include "analysis/series_entries.h"
#include "analysis/verdict.h"
#include "ixo_settings_options.h"
#include "permutation_tests.h"
#include "r_arguments.h"

namespace ixo {
namespace {

// The value as the window reads it from output.tmp: "%.3f", read back.
double ThreeDecimals(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.3f", value);
  return std::strtod(text, nullptr);
}

}  // namespace
}  // namespace ixo

// Columns m, ixo, points, class, verdict, p.value (NA with reps = 0).
extern "C" SEXP ixo_c_test(SEXP x_sexp, SEXP settings_sexp, SEXP reps, SEXP seed, SEXP threads) {
  BEGIN_RCPP
  using namespace ixo;
  const Rcpp::NumericVector x(x_sexp);
  const IxoSettings settings = IxoSettingsOf(Rcpp::List(settings_sexp));
  const Simulation simulation = SimulationOf(reps, seed, threads);
  const IxoPermutationTest test = PermutationTestIxo(SeriesOf(x), settings, simulation);
  if (!test.error.empty()) return ErrorAnswer(test.error);

  const int rows = static_cast<int>(test.observed.size());
  const int range = TabulatedRange(settings);
  const int size_class = SampleSizeClass(static_cast<int>(x.size()));
  static constexpr int kNominal[] = {500, 1000, 2500};
  Rcpp::IntegerVector m(rows), points(rows), size(rows, kNominal[size_class]);
  Rcpp::NumericVector value(rows), p_value(rows, NA_REAL);
  Rcpp::CharacterVector verdict(rows);
  for (int i = 0; i < rows; ++i) {
    const DimensionSlope& d = test.observed[i];
    m[i] = d.dimension;
    value[i] = d.slope;
    points[i] = d.points;
    verdict[i] =
        range < 0 ? "unknown" : Verdict(ThreeDecimals(d.slope), range, d.dimension, size_class);
    if (!test.p_values.empty()) p_value[i] = test.p_values[i];
  }
  return Rcpp::List::create(Rcpp::Named("m") = m, Rcpp::Named("ixo") = value,
                            Rcpp::Named("points") = points, Rcpp::Named("class") = size,
                            Rcpp::Named("verdict") = verdict, Rcpp::Named("p.value") = p_value);
  END_RCPP
}
