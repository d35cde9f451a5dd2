#include "analysis/data_import.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "analysis/data_lines.h"
#include "analysis/errors.h"
#include "analysis/exchange_files.h"
#include "analysis/number_text.h"
#include "analysis/series_entries.h"
#include "analysis/size_class_choice.h"

namespace ixo {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// The series as read: the entry texts and the values they denote.
struct Series {
  std::vector<std::string> entries;
  std::vector<double> values;
  std::int64_t skipped = 0;
};

// Everything computed from the values, checked against the double range before
// any of it is shown.
struct Sums {
  double sum = 0;
  double minimum = 0;
  double maximum = 0;
  double squared_deviations = 0;  // times 4^scale_exponent
  int scale_exponent = 0;
};

std::string FileNameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

std::string RangeMessage(const std::string& file_name, const std::string& detail) {
  return "The data in \"" + file_name +
         "\" exceed the range of a double (magnitudes up to 1.7E308): " + detail;
}

// Reads `path` into `series`. The user's text on failure.
std::optional<std::string> ReadSeries(const std::string& path, const std::string& file_name,
                                      char decimal_separator, Series& series) {
  errno = 0;
  FilePointer file(std::fopen(path.c_str(), "rb"));
  if (!file) return IoErrorText(errno);
  DataLineReader reader(file.get());
  std::string line;
  std::int64_t line_number = 0;
  for (;;) {
    if (!reader.Next(line)) return IoErrorText(reader.ErrorNumber());
    ++line_number;
    if (const auto value = LineValue(std::move(line), decimal_separator)) {
      std::string entry = EntryText(*value, decimal_separator);
      // The value is what the entry text says: 15 significant digits, which
      // may lie beyond the largest double even when the line did not.
      const std::optional<long double> reread = ReadNumber(entry, decimal_separator);
      assert(reread.has_value());  // GeneralNumberText's forms always read back
      const long double held = *reread;
      if (std::fabs(held) > static_cast<long double>(DBL_MAX)) {
        const std::string shown = entry.substr(entry[0] == ' ' ? 1 : 0);
        return RangeMessage(file_name, "line " + std::to_string(line_number) + " holds " + shown);
      }
      series.values.push_back(static_cast<double>(held));
      series.entries.push_back(std::move(entry));
    } else {
      ++series.skipped;
    }
    if (reader.AtEndOfData()) break;
    if (static_cast<int>(series.entries.size()) == kMaxObservations) break;
  }
  return std::nullopt;
}

// The sums of both passes over `values`, in entry order. The user's text when
// one of them, or the spread, does not fit a double.
std::optional<std::string> ComputeSums(const std::vector<double>& values,
                                       const std::string& file_name, Sums& sums) {
  if (values.empty()) return std::nullopt;
  sums.minimum = sums.maximum = values.front();
  for (const double x : values) {
    sums.sum += x;
    if (x < sums.minimum) sums.minimum = x;
    if (x > sums.maximum) sums.maximum = x;
  }
  if (!std::isfinite(sums.sum)) return RangeMessage(file_name, "their sum overflows");
  if (!std::isfinite(sums.maximum - sums.minimum)) {
    return RangeMessage(file_name, "their spread overflows");
  }
  const double mean = sums.sum / static_cast<double>(values.size());
  bool lost_digits = false;
  for (const double x : values) {
    const double square = (x - mean) * (x - mean);
    sums.squared_deviations += square;
    if (x != mean && square < DBL_MIN) lost_digits = true;
  }
  if (!std::isfinite(sums.squared_deviations)) {
    return RangeMessage(file_name, "the sum of their squared deviations overflows");
  }
  // Squares below the normal doubles (deviations near 1e-154 and below) keep
  // few digits or none: the deviations are scaled by 2^k, exactly, so that the
  // largest lies in [0.5, 1), as the engine does. Without a lost square the
  // plain sum stands.
  int exponent = 0;
  std::frexp(std::max(sums.maximum - mean, mean - sums.minimum), &exponent);
  if (lost_digits && exponent < 0) {
    sums.scale_exponent = std::min(-exponent, DBL_MAX_EXP - 2);
    const double scale = std::ldexp(1.0, sums.scale_exponent);
    sums.squared_deviations = 0;
    for (const double x : values)
      sums.squared_deviations += ((x - mean) * scale) * ((x - mean) * scale);
  }
  return std::nullopt;
}

// `entries` in file form, one CRLF line each.
std::string SeriesFileText(const std::vector<std::string>& entries) {
  std::string text;
  text.reserve(entries.size() * 24);
  for (const std::string& entry : entries) {
    text += EntryFileForm(entry);
    text += "\r\n";
  }
  return text;
}

}  // namespace

ImportResult ImportDataFile(const std::string& chosen_path, const std::string& program_directory,
                            char decimal_separator, ObservationList& list, FileHost& files) {
  ImportResult result;
  if (chosen_path.empty()) return result;

  const std::string input_file = program_directory + kInputFileName;
  const std::string scratch_file = input_file + ".new";
  const std::string file_name = FileNameOf(chosen_path);

  // The copy goes to a scratch name first: a copy that fails, or data the
  // front end cannot compute with, leave the previous input.tmp, list and
  // labels as they were instead of showing old data under the new name.
  // A failed copy leaves the scratch name as it was, so there is nothing to
  // delete; and when the user chose a file of that very name, it is theirs.
  if (const FileError copy_error = files.CopyFile(chosen_path, scratch_file)) {
    result.error =
        "Could not copy \"" + chosen_path + "\" to \"" + input_file + "\": " + *copy_error;
    return result;
  }
  Series series;
  Sums sums;
  std::optional<std::string> error = ReadSeries(scratch_file, file_name, decimal_separator, series);
  if (!error) error = ComputeSums(series.values, file_name, sums);
  if (!error) {
    if (const int rename_error = files.RenameFile(scratch_file, input_file); rename_error != 0) {
      error = IoErrorText(rename_error);
    }
  }
  if (error) {
    [[maybe_unused]] const FileError ignored = files.DeleteFile(scratch_file);
    result.error = std::move(error);
    return result;
  }

  list.Clear();
  for (const std::string& entry : series.entries) list.Append(entry);
  result.path = chosen_path;
  // The statistics of the earlier series must not stay beside the new one's
  // name and count: each is blank until it has been computed from the new one.
  result.mean_text = result.standard_deviation_text = result.spread_text = result.ratio_text = "";
  result.count = static_cast<int>(series.entries.size());
  result.skipped = series.skipped;
  result.count_text = std::to_string(result.count);
  result.file_name = file_name;
  result.skipped_text = std::to_string(result.skipped);

  if (const int write_error = files.WriteFile(input_file, SeriesFileText(series.entries));
      write_error != 0) {
    result.error = IoErrorText(write_error);
    return result;
  }

  // The statistics stop where the arithmetic traps: no value (0 / 0 for the
  // mean), one value (0 / 0 for the variance), a spread of 0 (the ratio).
  const double n = result.count;
  const Checked mean = CheckedDivide(sums.sum, n);
  Checked standard_deviation = CheckedSqrt(CheckedDivide(sums.squared_deviations, n - 1));
  if (!mean.ok() || !standard_deviation.ok()) {
    result.error = !mean.ok() ? mean.error : standard_deviation.error;
    return result;
  }
  standard_deviation.value = std::ldexp(standard_deviation.value, -sums.scale_exponent);
  const double spread = sums.maximum - sums.minimum;
  result.mean_text = ThreeDecimalText(mean.value, decimal_separator);
  result.standard_deviation_text = ThreeDecimalText(standard_deviation.value, decimal_separator);
  result.spread_text = ThreeDecimalText(spread, decimal_separator);
  const Checked ratio = CheckedDivide(standard_deviation, spread);
  if (!ratio.ok()) {
    result.error = ratio.error;
    return result;
  }
  result.ratio_text = ThreeDecimalText(ratio.value, decimal_separator);
  result.size_class = PreselectedSizeClass(result.count);
  return result;
}

}  // namespace ixo
