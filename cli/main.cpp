// ixo_cli: the scripting program; everything but the streams lives in ixo_cli_core.
#include <unistd.h>

#include "cli.h"

int main(int argc, char** argv) {
  ixo::CliIo io;
  io.progress = isatty(STDERR_FILENO) == 1;
  return ixo::RunCli(argc, argv, io);
}
