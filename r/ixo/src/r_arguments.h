// The arguments the R functions hand to the engine library, read from R values
// the package's R code has already checked (types, ranges, finite series), and
// the one shape of every answer: a list of columns, or a list whose only
// element `error` holds the library's message for the R code to raise.
#pragma once

#include <Rcpp.h>

#include <span>
#include <string>

#include "simulation_settings.h"

namespace ixo {

// The series as the library reads it; `x` must be a double vector and outlive the span.
std::span<const double> SeriesOf(const Rcpp::NumericVector& x);

// IxoSettings from a list with eps_low, eps_high, subint, cm_limit and m.
IxoSettings IxoSettingsOf(const Rcpp::List& settings);

// Simulation from reps, seed (a whole double, 0 .. 2^53) and threads (0: one
// per core), with no progress report.
Simulation SimulationOf(SEXP reps, SEXP seed, SEXP threads);

// The answer that makes the R code raise `message` as an error.
Rcpp::List ErrorAnswer(const std::string& message);

}  // namespace ixo
