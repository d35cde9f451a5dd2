// The console report and the usage text, with the exact printf formats that
// users and scripts read.
#pragma once

#include <cstdio>
#include <string>

#include "options.h"
#include "statistics.h"

namespace ixo {

// The usage text shown when the engine is started without arguments.
void PrintUsage(std::FILE* out);

// The report header: program line, file name, nob, mean, sd, spread, sd/spread,
// then the run parameters as given (eps as fractions, not multiplied by sd).
void PrintHeader(std::FILE* out, const Options& options, int n, const Statistics& stats);

// " %2.0d. ixo = %.3f (n=%d)\n" for a positive slope, the "---" line for 0,
// nothing for a negative slope. `points` is the number of usable grid points.
void PrintDimension(std::FILE* out, int dimension, double slope, int points);

// " BDS   = %lf \n" (note the blank before the line break).
void PrintBds(std::FILE* out, double bds);

// "\n" and the computation-time line, minutes and seconds.
void PrintFooter(std::FILE* out, int elapsed_seconds);

}  // namespace ixo
