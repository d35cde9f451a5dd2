// ixo_test's C++ side: the rows of `ixo_cli ixo` for one series.
#include <optional>
#include <string>

#include "ixo_test.h"
#include "r_arguments.h"
#include "step_down_min_p.h"
#include "tables/critical_values.h"

// Columns m, ixo (NA where the dimension has no fit), points, class, verdict,
// p.value and p.adjusted (NA with reps = 0 and where there is no value); and
// for the family (ixo_cli's row "all") p.overall (NA with reps = 0), its
// verdict.overall and the permutations drawn.
extern "C" SEXP ixo_c_test(SEXP x_sexp, SEXP settings_sexp, SEXP reps, SEXP seed, SEXP threads,
                           SEXP sequential) {
  BEGIN_RCPP
  using namespace ixo;
  const Rcpp::NumericVector x(x_sexp);
  Simulation simulation = SimulationOf(reps, seed, threads);
  simulation.sequential = Rcpp::as<int>(sequential);
  const Result<IxoTestReport> report =
      IxoTest(SeriesOf(x), IxoSettingsOf(Rcpp::List(settings_sexp)), simulation);
  if (!report.ok()) return FailureAnswer(report.error);

  const std::vector<IxoTestRow>& rows = report.value->rows;
  const int count = static_cast<int>(rows.size());
  Rcpp::IntegerVector m(count), points(count), size(count);
  Rcpp::NumericVector value(count, NA_REAL), p_value(count, NA_REAL), p_adjusted(count, NA_REAL);
  Rcpp::CharacterVector verdict(count);
  for (int i = 0; i < count; ++i) {
    m[i] = rows[i].m;
    if (rows[i].value) value[i] = *rows[i].value;
    points[i] = rows[i].points;
    size[i] = rows[i].size_class;
    verdict[i] = rows[i].verdict;
    if (rows[i].p_value) p_value[i] = *rows[i].p_value;
    if (rows[i].p_adjusted) p_adjusted[i] = *rows[i].p_adjusted;
  }
  const std::optional<double> overall = report.value->p_overall;
  return Rcpp::List::create(
      Rcpp::Named("m") = m, Rcpp::Named("ixo") = value, Rcpp::Named("points") = points,
      Rcpp::Named("class") = size, Rcpp::Named("verdict") = verdict,
      Rcpp::Named("p.value") = p_value, Rcpp::Named("p.adjusted") = p_adjusted,
      Rcpp::Named("p.overall") = overall ? *overall : NA_REAL,
      Rcpp::Named("verdict.overall") = overall ? PValueVerdict(*overall) : std::string("unknown"),
      Rcpp::Named("drawn") = report.value->drawn);
  END_RCPP
}
