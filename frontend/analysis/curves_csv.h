// The correlation curves as `ixo_cli curves --format csv` writes them, read
// into plain rows. The text is two CSV blocks parted by one empty line:
//
//   m,k,eps,x,pairs,y,used          one line per dimension m and grid point k
//   2,0,0.1797...,-2.08...,9474,9.156...,1
//   ...
//
//   m,slope,intercept,points        one line per dimension
//   2,1.93...,13.2...,41
//
// eps is in the series' units, x = ln(eps / spread), pairs the number of close
// pairs, y = ln(pairs) (empty when pairs is 0), used 1 when the point enters
// the fit (pairs above the cm limit) and 0 when it is skipped; slope is the
// dimension's Ixo value, intercept the fitted line's value at x = 0 and points
// the number of used points. Numbers are written in the shortest form that
// reads back to the same double; lines end in "\n" (a "\r\n" is accepted).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/csv_fields.h"  // kCurvePointsHeader, kCurveFitsHeader

namespace ixo {

struct CurvePointRow {
  int m = 0;
  int k = 0;
  double eps = 0;
  double x = 0;
  double pairs = 0;
  std::optional<double> y;  // none when pairs is 0
  bool used = false;
};

struct CurveFitRow {
  int m = 0;
  double slope = 0;
  double intercept = 0;
  int points = 0;
};

struct CurvesTable {
  std::vector<CurvePointRow> points;  // in file order: by dimension, then k
  std::vector<CurveFitRow> fits;      // one per dimension, in the order of the points
};

struct CurvesParse {
  std::optional<CurvesTable> table;  // set on success
  std::string error;                 // on failure: "line N: <reason>"
};

// Reads the two blocks strictly: both headers exactly, every field a whole
// number in range or a finite decimal number consumed entirely, used 0 or 1,
// y present exactly when pairs > 0, the points of each dimension consecutive
// with k = 0, 1, ..., and one fit line per dimension of the points, in the same
// order, whose points equals the used rows of that dimension. Anything else
// gives no table and the first fault.
[[nodiscard]] CurvesParse ParseCurvesCsv(std::string_view text);

}  // namespace ixo
