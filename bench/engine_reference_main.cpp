// ixo_engine_reference: ixo_engine with one correlation-integral kernel call
// per grid point and dimension instead of the pair counts. It is built for the
// benchmark only (bench/fast_vs_kernel.sh), to time both paths side by side and
// to check that their reports agree.
#include "engine_run.h"

int main(int argc, char** argv) {
  return ixo::RunEngine(argc, argv, ixo::CountingPath::kKernel);
}
