// bds_test's C++ side: the BDS statistics of `ixo_cli bds` for distances given
// in the series' own units.
#include <cmath>
#include <optional>
#include <vector>

#include "permutation_tests.h"
#include "r_arguments.h"
#include "statistics.h"

namespace ixo {
namespace {

// The library places a distance at fraction * sd. The fraction whose product
// with `sd` is `eps` exactly, where one lies within a few steps of eps / sd,
// so that pairs exactly eps apart (integer data, round distances) count as
// the caller means them; else eps / sd.
double FractionOf(double eps, double sd) {
  const double guess = eps / sd;
  double f = guess;
  for (int step = 0; step < 4 && f * sd != eps; ++step)
    f = std::nextafter(f, f * sd < eps ? INFINITY : -INFINITY);
  return f * sd == eps ? f : guess;
}

}  // namespace
}  // namespace ixo

// Columns m, eps (the index of the distance, from 1), bds, p.normal,
// p.permutation and p.adjusted, NA where the BDS variance is not positive (and
// the last two also with reps = 0); and for the family p.overall (NA where
// there is none) and the permutations drawn.
extern "C" SEXP ixo_c_bds(SEXP x_sexp, SEXP m_sexp, SEXP eps_sexp, SEXP reps, SEXP seed,
                          SEXP threads, SEXP sequential) {
  BEGIN_RCPP
  using namespace ixo;
  const Rcpp::NumericVector x(x_sexp);
  const Rcpp::NumericVector eps(eps_sexp);
  const std::span<const double> series = SeriesOf(x);
  std::vector<double> fractions(eps.begin(), eps.end());
  // Describe needs two values; with fewer the library refuses m anyway.
  if (series.size() >= 2) {
    const double sd = Describe(series).sd;
    if (std::isfinite(sd) && sd > 0)
      for (double& f : fractions) f = FractionOf(f, sd);
  }
  Simulation simulation = SimulationOf(reps, seed, threads);
  simulation.sequential = Rcpp::as<int>(sequential);
  const Result<BdsPermutationTest> test =
      PermutationTestBds(series, Rcpp::as<int>(m_sexp), fractions, simulation);
  if (!test.ok()) return FailureAnswer(test.error);

  const std::vector<BdsValue>& values = test.value->values;
  const int rows = static_cast<int>(values.size());
  const int distances = static_cast<int>(fractions.size());
  Rcpp::IntegerVector m(rows), index(rows);
  Rcpp::NumericVector bds(rows, NA_REAL), p_normal(rows, NA_REAL), p_permutation(rows, NA_REAL),
      p_adjusted(rows, NA_REAL);
  for (int i = 0; i < rows; ++i) {
    const BdsValue& v = values[i];
    m[i] = v.m;
    index[i] = i % distances + 1;
    if (v.bds) bds[i] = *v.bds;
    if (v.p_normal) p_normal[i] = *v.p_normal;
    if (v.p_permutation) p_permutation[i] = *v.p_permutation;
    if (v.p_adjusted) p_adjusted[i] = *v.p_adjusted;
  }
  const std::optional<double> overall = test.value->p_overall;
  return Rcpp::List::create(Rcpp::Named("m") = m, Rcpp::Named("eps") = index,
                            Rcpp::Named("bds") = bds, Rcpp::Named("p.normal") = p_normal,
                            Rcpp::Named("p.permutation") = p_permutation,
                            Rcpp::Named("p.adjusted") = p_adjusted,
                            Rcpp::Named("p.overall") = overall ? *overall : NA_REAL,
                            Rcpp::Named("drawn") = test.value->drawn);
  END_RCPP
}

// The sample standard deviation the library places the distances by (n >= 2).
extern "C" SEXP ixo_c_sd(SEXP x_sexp) {
  BEGIN_RCPP
  const Rcpp::NumericVector x(x_sexp);
  if (x.size() < 2) return Rcpp::wrap(NA_REAL);
  return Rcpp::wrap(ixo::Describe(ixo::SeriesOf(x)).sd);
  END_RCPP
}
