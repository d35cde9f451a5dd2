// ixo_cli: the scripting program; everything but the streams lives in ixo_cli_core.
#include <unistd.h>

#include <cstdlib>

#include "cli.h"

int main(int argc, char** argv) {
  ixo::CliIo io;
  io.progress = isatty(STDERR_FILENO) == 1;
  // IXO_PAIR_COUNT_PATH (portable, avx2 or avx512) forces the instructions of
  // the pair counts, for tests and measurements.
  io.pair_count_path = ixo::PairCountPathNamed(std::getenv("IXO_PAIR_COUNT_PATH"));
  return ixo::RunCli(argc, argv, io);
}
