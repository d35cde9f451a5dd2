// ixo_engine: the console program that computes the Ixo values and the BDS
// statistic of a series. Everything it does lives in ixo_engine_core.
#include "engine_run.h"

int main(int argc, char** argv) {
  return ixo::RunEngine(argc, argv);
}
