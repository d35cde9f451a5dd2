#include "series_input.h"

#include "series_file.h"

namespace ixo {

Result<std::vector<SeriesInput>> ReadSeriesFiles(std::span<const std::string> paths) {
  std::vector<SeriesInput> inputs;
  for (const std::string& path : paths) {
    SeriesFile file = ReadSeriesFile(path, "");
    if (!file.error.empty()) return Failure<std::vector<SeriesInput>>(std::move(file.error));
    inputs.push_back(SeriesInput{path, std::move(file.values)});
  }
  return {std::move(inputs), {}};
}

}  // namespace ixo
