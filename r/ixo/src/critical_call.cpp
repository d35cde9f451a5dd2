// ixo_critical's C++ side: the rows of `ixo_cli critical`.
#include "critical_simulation.h"
#include "r_arguments.h"

// Columns m, one per percentile of kCriticalPercentiles (`values`) and
// `undefined` (series without an Ixo value), and the percentiles themselves
// as `percent`.
extern "C" SEXP ixo_c_critical(SEXP n_sexp, SEXP settings_sexp, SEXP reps, SEXP seed,
                               SEXP threads) {
  BEGIN_RCPP
  using namespace ixo;
  const Result<SimulatedCriticalValues> values =
      SimulateCriticalValues(Rcpp::as<int>(n_sexp), IxoSettingsOf(Rcpp::List(settings_sexp)),
                             SimulationOf(reps, seed, threads));
  if (!values.ok()) return FailureAnswer(values.error);
  const std::vector<CriticalRow>& critical = values.value->rows;

  const int rows = static_cast<int>(critical.size());
  const int columns = static_cast<int>(kCriticalPercentiles.size());
  Rcpp::IntegerVector m(rows), undefined(rows);
  Rcpp::NumericMatrix table(rows, columns);
  for (int i = 0; i < rows; ++i) {
    m[i] = critical[i].m;
    undefined[i] = critical[i].undefined;
    for (int j = 0; j < columns; ++j) table(i, j) = critical[i].values[j];
  }
  return Rcpp::List::create(
      Rcpp::Named("m") = m, Rcpp::Named("values") = table, Rcpp::Named("undefined") = undefined,
      Rcpp::Named("percent") =
          Rcpp::NumericVector(kCriticalPercentiles.begin(), kCriticalPercentiles.end()));
  END_RCPP
}
