// The series files of a subcommand, read like input.tmp: numbers separated by
// white space, in file order.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "result.h"

namespace ixo {

struct SeriesInput {
  std::string path;  // as given on the command line
  std::vector<double> values;
};

// Reads every file before anything is computed, so that bad data stop a run
// at once. Fails on the first file that cannot be read or holds a token that
// is no finite number, with one line naming the file (and the token and its
// line).
[[nodiscard]] Result<std::vector<SeriesInput>> ReadSeriesFiles(std::span<const std::string> paths);

}  // namespace ixo
