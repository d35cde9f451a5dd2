// Reading the series file: numbers separated by white space (one per line in
// practice), in file order. Storage grows with the file; there is no fixed limit.
#pragma once

#include <string>
#include <vector>

namespace ixo {

struct SeriesFile {
  std::vector<double> values;
  std::string error;  // empty on success; else one line naming the file and the fault
};

// Reads every value of `path`. Fails (values left empty) when the file cannot be
// opened or read, or when a token is not a finite number in the double range
// ("abc", "1.5x", "nan", "inf", "1e999"): the message names the token and its line.
// The message starts with `prefix`.
[[nodiscard]] SeriesFile ReadSeriesFile(const std::string& path,
                                        const std::string& prefix = "ixo_engine: ");

}  // namespace ixo
