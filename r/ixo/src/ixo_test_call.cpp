// ixo_test's C++ side: the rows of `ixo_cli ixo` for one series.
#include "ixo_test.h"
#include "r_arguments.h"

// Columns m, ixo (NA where the dimension has no fit), points, class, verdict
// and p.value (NA with reps = 0 and where there is no value).
extern "C" SEXP ixo_c_test(SEXP x_sexp, SEXP settings_sexp, SEXP reps, SEXP seed, SEXP threads) {
  BEGIN_RCPP
  using namespace ixo;
  const Rcpp::NumericVector x(x_sexp);
  const Result<IxoTestReport> report = IxoTest(
      SeriesOf(x), IxoSettingsOf(Rcpp::List(settings_sexp)), SimulationOf(reps, seed, threads));
  if (!report.ok()) return FailureAnswer(report.error);

  const std::vector<IxoTestRow>& rows = report.value->rows;
  const int count = static_cast<int>(rows.size());
  Rcpp::IntegerVector m(count), points(count), size(count);
  Rcpp::NumericVector value(count, NA_REAL), p_value(count, NA_REAL);
  Rcpp::CharacterVector verdict(count);
  for (int i = 0; i < count; ++i) {
    m[i] = rows[i].m;
    if (rows[i].value) value[i] = *rows[i].value;
    points[i] = rows[i].points;
    size[i] = rows[i].size_class;
    verdict[i] = rows[i].verdict;
    if (rows[i].p_value) p_value[i] = *rows[i].p_value;
  }
  return Rcpp::List::create(Rcpp::Named("m") = m, Rcpp::Named("ixo") = value,
                            Rcpp::Named("points") = points, Rcpp::Named("class") = size,
                            Rcpp::Named("verdict") = verdict, Rcpp::Named("p.value") = p_value);
  END_RCPP
}
