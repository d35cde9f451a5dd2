// The engine's command line, read in one step into a plain struct. The rest of
// the engine never looks at argv.
//
// The argument table goes by count: 1, 4, 6 or 7 arguments after the program
// name are the valid forms, 8 or more behave like 6 (the seventh and later are
// ignored), none asks for the usage text. `m` and the write mode are converted
// the way the C library's integer conversion does it (leading blanks, optional
// sign, digits up to the first other character, no digits giving 0); `eps_low`
// and `eps_high` by the text-to-double conversion; `subint` and `cm_limit` are
// read as doubles and truncated toward zero ("40.9" gives 40).
#pragma once

#include <string>

#include "ixo_settings.h"  // kMaxDimension, kMaxSubintervals

namespace ixo {

enum class WriteMode { kReportOnly = 0, kIxoValue = 1, kBds = 2 };

struct Options {
  std::string filename;
  int m = 10;
  double eps_low = 0.25;
  double eps_high = 1.00;
  int subint = 40;
  int cm_limit = 50;
  WriteMode write_mode = WriteMode::kReportOnly;
};

struct CommandLine {
  enum class Action { kRun, kShowUsage, kFail };
  Action action = Action::kRun;
  Options options;         // kRun: every value checked
  std::string error;       // kFail: one line for standard error, without "\n"
  bool usage_too = false;  // kFail: print the usage text first (wrong argument count)
};

// Reads argv[1..argc-1]. Never fails silently: a wrong argument count (2, 3 or
// 5), `m` outside 1..16, an `eps_low`/`eps_high` that is not a positive finite
// number, `subint` outside 1..10000 or a `cm_limit` outside 0..2^31-1 give kFail
// with a message naming the argument and its text.
[[nodiscard]] CommandLine ParseCommandLine(int argc, const char* const* argv);

// The C library's atoi, but defined for every input: values beyond the int
// range saturate instead of being undefined.
int IntegerFromText(const char* text);

}  // namespace ixo
