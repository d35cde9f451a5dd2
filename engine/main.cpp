// ixo_engine: the console program that computes the Ixo values and the BDS
// statistic of a series. Everything it does lives in ixo_engine_core.
#include <csignal>
#include <cstdlib>

#include "engine_run.h"

int main(int argc, char** argv) {
  // Past a file size limit a write then fails with EFBIG, which the engine
  // reports, instead of the signal ending it silently with a temporary file left.
  std::signal(SIGXFSZ, SIG_IGN);
  // IXO_PAIR_COUNT_PATH (portable, avx2 or avx512) forces the instructions of
  // the pair counts, for tests and measurements.
  return ixo::RunEngine(argc, argv, ixo::CountingPath::kPairCounts,
                        ixo::PairCountPathNamed(std::getenv("IXO_PAIR_COUNT_PATH")));
}
