#include "cli.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace ixo {
namespace {

// The subcommands in the order the overview lists them.
const Subcommand* const kSubcommands[] = {
    &kIxoSubcommand, &kBdsSubcommand, &kTestSubcommand, &kCriticalSubcommand, &kCurvesSubcommand,
};

void PrintOverview(std::FILE* out) {
  std::fputs(
      "usage: ixo_cli COMMAND [ARGS...]\n"
      "\n"
      "Ixo's tests of the i.i.d. hypothesis for scripts and batch work.\n"
      "\n"
      "Commands:\n",
      out);
  for (const Subcommand* s : kSubcommands) std::fprintf(out, "  %-10s %s\n", s->name, s->summary);
  std::fputs(
      "\n"
      "'ixo_cli COMMAND --help' shows a command's options.\n"
      "Exit status: 0 done, 1 bad data or output, 2 bad usage.\n",
      out);
}

}  // namespace

int RunCli(int argc, const char* const* argv, const CliIo& io) {
  if (argc < 2) {
    std::fprintf(io.err, "ixo_cli: no command given (see 'ixo_cli --help')\n");
    return kExitBadUsage;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintOverview(io.out);
    return kExitOk;
  }
  for (const Subcommand* s : kSubcommands) {
    if (std::strcmp(argv[1], s->name) != 0) continue;
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
      return s->run(args, io);
    } catch (const std::bad_alloc&) {
      std::fprintf(io.err, "ixo_cli: out of memory\n");
      return kExitBadData;
    }
  }
  std::fprintf(io.err, "ixo_cli: unknown command '%s' (see 'ixo_cli --help')\n", argv[1]);
  return kExitBadUsage;
}

}  // namespace ixo
