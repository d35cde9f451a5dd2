// ixo_curves' C++ side: the points and fitted lines of `ixo_cli curves`.
#include "correlation_curves.h"
#include "r_arguments.h"
#include "statistics.h"

// A list of `points` (m, k, eps, x, pairs, y, used; y -Inf without a pair)
// and `fits` (m, slope, intercept, points), and the series' `spread`.
extern "C" SEXP ixo_c_curves(SEXP x_sexp, SEXP settings_sexp) {
  BEGIN_RCPP
  using namespace ixo;
  const Rcpp::NumericVector x(x_sexp);
  const std::span<const double> series = SeriesOf(x);
  const Result<std::vector<CorrelationCurve>> curves =
      SeriesCurves(series, IxoSettingsOf(Rcpp::List(settings_sexp)));
  if (!curves.ok()) return FailureAnswer(curves.error);

  Rcpp::IntegerVector m, k, fit_m, fit_points;
  Rcpp::NumericVector eps, log_eps, pairs, log_pairs, slope, intercept;
  Rcpp::LogicalVector used;
  for (const CorrelationCurve& curve : *curves.value) {
    for (const CurvePoint& p : curve.points) {
      m.push_back(curve.dimension);
      k.push_back(p.k);
      eps.push_back(p.eps);
      log_eps.push_back(p.x);
      pairs.push_back(p.pairs);
      log_pairs.push_back(p.y);
      used.push_back(p.used);
    }
    fit_m.push_back(curve.dimension);
    slope.push_back(curve.slope);
    intercept.push_back(curve.intercept);
    fit_points.push_back(curve.used_points);
  }
  return Rcpp::List::create(
      Rcpp::Named("points") =
          Rcpp::List::create(Rcpp::Named("m") = m, Rcpp::Named("k") = k, Rcpp::Named("eps") = eps,
                             Rcpp::Named("x") = log_eps, Rcpp::Named("pairs") = pairs,
                             Rcpp::Named("y") = log_pairs, Rcpp::Named("used") = used),
      Rcpp::Named("fits") = Rcpp::List::create(
          Rcpp::Named("m") = fit_m, Rcpp::Named("slope") = slope,
          Rcpp::Named("intercept") = intercept, Rcpp::Named("points") = fit_points),
      Rcpp::Named("spread") = Describe(series).spread);
  END_RCPP
}
