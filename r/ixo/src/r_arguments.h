// The arguments the R functions hand to the engine library, read from R values
// the package's R code has already checked (types, whole numbers, finite
// series), and the one shape of every answer: a list of columns, or a list
// whose only element `error` holds the library's message for the R code to
// raise. Everything here runs on R's thread.
#pragma once

#include <Rcpp.h>

#include <span>
#include <string>

#include "ixo_settings.h"
#include "simulation_settings.h"

namespace ixo {

// The series as the library reads it; `x` must be a double vector and outlive the span.
std::span<const double> SeriesOf(const Rcpp::NumericVector& x);

// IxoSettings from a list with eps_low, eps_high, subint, cm_limit and m.
IxoSettings IxoSettingsOf(const Rcpp::List& settings);

// Simulation from reps, seed (a whole double, 0 .. 2^53) and threads (0: one
// per core). Its stop request asks R whether the user pressed Ctrl+C (or Esc),
// on R's thread, the only one the library asks it on.
Simulation SimulationOf(SEXP reps, SEXP seed, SEXP threads);

// The answer for a library failure: the list that makes the R code raise
// `message` as an error; for kInterrupted, an R interrupt instead (thrown as
// Rcpp's interrupt sentinel, which the entry point's END_RCPP turns into one).
Rcpp::List FailureAnswer(const std::string& message);

}  // namespace ixo
