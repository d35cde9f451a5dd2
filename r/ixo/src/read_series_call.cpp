// ixo_read_series's C++ side: a series file read as ixo_cli reads it.
#include "r_arguments.h"
#include "series_file.h"

// The values of the file at `path` (a string), or the reader's message.
extern "C" SEXP ixo_c_read_series(SEXP path) {
  BEGIN_RCPP
  const ixo::SeriesFile file = ixo::ReadSeriesFile(Rcpp::as<std::string>(path), "");
  if (!file.error.empty()) return ixo::FailureAnswer(file.error);
  return Rcpp::List::create(Rcpp::Named("values") =
                                Rcpp::NumericVector(file.values.begin(), file.values.end()));
  END_RCPP
}
