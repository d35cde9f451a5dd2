// The results of `ixo_cli curves` as two tables, the grid points and the
// fitted lines, and their three written forms. CSV: the points' block
// (m,k,eps,x,pairs,y,used), an empty line, the lines' block
// (m,slope,intercept,points), under the headers of tables/csv_fields.h, as
// frontend/analysis/curves_csv.h reads it.
// Table: the same two blocks in aligned columns. JSON: one object
// {"points": [...], "fits": [...]}. Numbers are the shortest texts that read
// back to the same doubles, so a slope read back is the engine's Ixo value bit
// for bit; pairs is the count of close pairs as a whole number, and y is
// missing (empty, "-" or null) for a point without a pair.
#pragma once

#include <string>
#include <vector>

#include "correlation_curves.h"
#include "result_table.h"

namespace ixo {

struct CurvesTables {
  ResultTable points;  // m,k,eps,x,pairs,y,used: every grid point of every dimension
  ResultTable fits;    // m,slope,intercept,points: one row per dimension
};

CurvesTables CurvesResultTables(const std::vector<CorrelationCurve>& curves);

// Both tables in `format`, ending with a line break.
std::string WrittenCurves(const CurvesTables& tables, OutputFormat format);

}  // namespace ixo
