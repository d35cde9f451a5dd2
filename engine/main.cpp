// ixo_engine: the console program that computes the Ixo values and the BDS
// statistic of a series. Everything it does lives in ixo_engine_core.
#include <csignal>

#include "engine_run.h"

int main(int argc, char** argv) {
  // Past a file size limit a write then fails with EFBIG, which the engine
  // reports, instead of the signal ending it silently with a temporary file left.
  std::signal(SIGXFSZ, SIG_IGN);
  return ixo::RunEngine(argc, argv);
}
