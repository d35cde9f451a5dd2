#include "report.h"

namespace ixo {

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "\nProgram for computing Ixo-statistic:\n\n");
  std::fprintf(out, " USAGE: ixo_engine.exe [filename] [m] [eps_low] [eps_high] \n\n");
  std::fprintf(out, " filename  ...  contains the time series in a single column\n");
  std::fprintf(out, " m         ...  maximum embedding dimension \n");
  std::fprintf(out, " eps_low   ...  lowest fraction of the SD \n");
  std::fprintf(out, " eps_high  ...  highest fraction of the SD \n\n");
  std::fprintf(out, " compilation: January the 5th, 2004\n");
}

void PrintHeader(std::FILE* out, const Options& options, int n, const Statistics& stats) {
  std::fprintf(out, "\n program for computing Ixo-statistic:\n\n");
  std::fprintf(out, " filename  = ");
  for (char ch : options.filename) std::fprintf(out, "%c", ch);
  std::fprintf(out, "\n nob       = %d\n", n);
  std::fprintf(out, " mean      = %.5f\n", stats.mean);
  std::fprintf(out, " sd        = %.5f\n", stats.sd);
  std::fprintf(out, " spread    = %.5f\n", stats.spread);
  std::fprintf(out, " sd/spread = %.5f\n\n", stats.sd / stats.spread);
  std::fprintf(out, " epsilon low         = %.2f\n", options.eps_low);
  std::fprintf(out, " epsilon high        = %.2f\n", options.eps_high);
  std::fprintf(out, " number of intervals = %d\n", options.subint);
  std::fprintf(out, " max dimension       = %d\n", options.m);
  std::fprintf(out, " cm limit            = %d\n\n", options.cm_limit);
}

void PrintDimension(std::FILE* out, int dimension, double slope, int points) {
  if (slope > 0) {
    std::fprintf(out, " %2.0d. ixo = %.3f (n=%d)\n", dimension, slope, points);
  } else if (slope == 0) {
    std::fprintf(out, " %2.0d. ixo =      ---     (n=%d)\n", dimension, points);
  }
}

void PrintBds(std::FILE* out, double bds) {
  std::fprintf(out, " BDS   = %lf \n", bds);
}

void PrintFooter(std::FILE* out, int elapsed_seconds) {
  std::fprintf(out, "\n");
  std::fprintf(out, " the computation time = %d:%02d min\n", elapsed_seconds / 60,
               elapsed_seconds % 60);
}

}  // namespace ixo
