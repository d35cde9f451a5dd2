#include "series_input.h"

#include "series_file.h"

namespace ixo {

std::vector<SeriesInput> ReadSeriesFiles(std::span<const std::string> paths, std::string& error) {
  std::vector<SeriesInput> inputs;
  for (const std::string& path : paths) {
    SeriesFile file = ReadSeriesFile(path, "");
    if (!file.error.empty()) {
      error = file.error;
      return {};
    }
    inputs.push_back(SeriesInput{path, std::move(file.values)});
  }
  return inputs;
}

}  // namespace ixo
