#include "analysis/curves_csv.h"

#include <cstddef>
#include <limits>

#include "ixo_settings.h"
#include "tables/csv_fields.h"
#include "tables/whole_numbers.h"

namespace ixo {
namespace {

constexpr int kMinDimension = 2;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The fields of `line`; an unclosed quote gives a single field that no
// row accepts.
std::vector<std::string> SplitFields(std::string_view line) {
  return SplitCsvLine(line).value_or(std::vector<std::string>(1));
}

std::optional<int> ReadInt(std::string_view field, int low, int high) {
  const std::optional<long long> value = WholeInteger(field, low, high);
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

// Reads one line's fields into a row; the reason of the first bad field otherwise.
std::string ReadPoint(const std::vector<std::string>& f, CurvePointRow& row) {
  if (f.size() != 7) return "expected 7 fields, found " + std::to_string(f.size());
  const auto m = ReadInt(f[0], kMinDimension, kMaxDimension);
  if (!m) return "m is no whole number from 2 to 16";
  const auto k = ReadInt(f[1], 0, std::numeric_limits<int>::max());
  if (!k) return "k is no whole number from 0";
  const auto eps = WholeDouble(f[2]);
  if (!eps || !(*eps > 0)) return "eps is no positive number";
  const auto x = WholeDouble(f[3]);
  if (!x) return "x is no number";
  const auto pairs = WholeDouble(f[4]);
  if (!pairs || *pairs < 0) return "pairs is no number of pairs";
  std::optional<double> y;
  if (*pairs > 0) {
    y = WholeDouble(f[5]);
    if (!y) return "y is no number";
  } else if (!f[5].empty()) {
    return "y is given for no pair";
  }
  if (f[6] != "0" && f[6] != "1") return "used is neither 0 nor 1";
  row = CurvePointRow{*m, *k, *eps, *x, *pairs, y, f[6] == "1"};
  return {};
}

std::string ReadFit(const std::vector<std::string>& f, CurveFitRow& row) {
  if (f.size() != 4) return "expected 4 fields, found " + std::to_string(f.size());
  const auto m = ReadInt(f[0], kMinDimension, kMaxDimension);
  if (!m) return "m is no whole number from 2 to 16";
  const auto slope = WholeDouble(f[1]);
  if (!slope) return "slope is no number";
  const auto intercept = WholeDouble(f[2]);
  if (!intercept) return "intercept is no number";
  const auto points = ReadInt(f[3], 0, std::numeric_limits<int>::max());
  if (!points) return "points is no whole number from 0";
  row = CurveFitRow{*m, *slope, *intercept, *points};
  return {};
}

CurvesParse Fail(size_t line_index, const std::string& reason) {
  return CurvesParse{std::nullopt, "line " + std::to_string(line_index + 1) + ": " + reason};
}

}  // namespace

CurvesParse ParseCurvesCsv(std::string_view text) {
  std::vector<std::string_view> lines = SplitLines(text);
  if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the last line's end
  if (lines.empty() || lines[0] != kCurvePointsHeader) {
    return Fail(0, std::string("expected the header ") + kCurvePointsHeader);
  }

  CurvesTable table;
  size_t i = 1;
  for (; i < lines.size() && !lines[i].empty(); ++i) {
    CurvePointRow row;
    if (const std::string reason = ReadPoint(SplitFields(lines[i]), row); !reason.empty()) {
      return Fail(i, reason);
    }
    const bool same_dimension = !table.points.empty() && table.points.back().m == row.m;
    const int expected_k = same_dimension ? table.points.back().k + 1 : 0;
    if (!same_dimension && !table.points.empty() && row.m <= table.points.back().m) {
      return Fail(i, "the dimensions do not ascend");
    }
    if (row.k != expected_k) return Fail(i, "expected k = " + std::to_string(expected_k));
    table.points.push_back(row);
  }
  if (table.points.empty()) return Fail(i, "no grid point");
  if (i >= lines.size()) return Fail(i, "expected an empty line and the fitted lines");
  ++i;
  if (i >= lines.size() || lines[i] != kCurveFitsHeader) {
    return Fail(i, std::string("expected the header ") + kCurveFitsHeader);
  }

  size_t first_point = 0;  // the first point row of the dimension the next fit belongs to
  for (++i; i < lines.size(); ++i) {
    CurveFitRow row;
    if (const std::string reason = ReadFit(SplitFields(lines[i]), row); !reason.empty()) {
      return Fail(i, reason);
    }
    if (first_point >= table.points.size() || table.points[first_point].m != row.m) {
      return Fail(i, "m = " + std::to_string(row.m) + " is not the next dimension of the points");
    }
    int used = 0;
    for (; first_point < table.points.size() && table.points[first_point].m == row.m;
         ++first_point) {
      used += table.points[first_point].used ? 1 : 0;
    }
    if (row.points != used) {
      return Fail(i, "points = " + std::to_string(row.points) + ", but " + std::to_string(used) +
                         " points of m = " + std::to_string(row.m) + " are used");
    }
    table.fits.push_back(row);
  }
  if (first_point < table.points.size()) {
    return Fail(i, "no fitted line for m = " + std::to_string(table.points[first_point].m));
  }
  return CurvesParse{std::move(table), {}};
}

}  // namespace ixo
