// ixo_cli, the scripting program beside ixo and ixo_engine: a table of
// subcommands (ixo, bds, critical, curves), each reading its own options.
#pragma once

#include "subcommand.h"

namespace ixo {

// Runs ixo_cli on argv[1..argc-1] with its output on `io`: "ixo_cli --help"
// shows the overview, "ixo_cli NAME ..." runs
// subcommand NAME. Returns the exit status: 0 done, 1 bad data, 2 bad usage;
// every failure leaves one line on io.err.
int RunCli(int argc, const char* const* argv, const CliIo& io);

}  // namespace ixo
