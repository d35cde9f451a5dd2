#include "r_arguments.h"

#include "replication_pool.h"

namespace ixo {
namespace {

void CheckInterrupt(void*) {
  R_CheckUserInterrupt();
}

// True once the user asked R to stop. R_CheckUserInterrupt would leave by a
// long jump through the library's frames; R_ToplevelExec catches it here.
bool InterruptRequested() {
  return R_ToplevelExec(CheckInterrupt, nullptr) == FALSE;
}

}  // namespace

std::span<const double> SeriesOf(const Rcpp::NumericVector& x) {
  return {x.begin(), static_cast<std::size_t>(x.size())};
}

IxoSettings IxoSettingsOf(const Rcpp::List& settings) {
  IxoSettings s;
  s.eps_low = Rcpp::as<double>(settings["eps_low"]);
  s.eps_high = Rcpp::as<double>(settings["eps_high"]);
  s.subint = Rcpp::as<int>(settings["subint"]);
  s.cm_limit = Rcpp::as<int>(settings["cm_limit"]);
  s.max_dimension = Rcpp::as<int>(settings["m"]);
  return s;
}

Simulation SimulationOf(SEXP reps, SEXP seed, SEXP threads) {
  Simulation simulation;
  simulation.replications = Rcpp::as<int>(reps);
  simulation.seed = static_cast<std::uint64_t>(Rcpp::as<double>(seed));
  simulation.threads = Rcpp::as<int>(threads);
  simulation.stop = InterruptRequested;
  return simulation;
}

Rcpp::List FailureAnswer(const std::string& message) {
  if (message == kInterrupted) throw Rcpp::internal::InterruptedException();
  return Rcpp::List::create(Rcpp::Named("error") = message);
}

}  // namespace ixo
