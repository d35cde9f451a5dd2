#include "curves_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ixo::cli {
namespace {

// The shortest decimal that reads back to `v`.
std::string Shortest(double v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

// The close pairs as the whole number they stand for: the engine's double
// differs from the count by rounding error only.
std::string Pairs(double pairs) {
  return std::to_string(static_cast<std::uint64_t>(std::llround(pairs)));
}

bool HasPairs(const CurvePoint& p) {
  return p.pairs > 0;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string Printf(const char* format, auto... values) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

}  // namespace

std::string CurvesCsv(const std::vector<CorrelationCurve>& curves) {
  std::string out = "m,k,eps,x,pairs,y,used\n";
  for (const CorrelationCurve& curve : curves) {
    for (const CurvePoint& p : curve.points) {
      out += std::to_string(curve.dimension) + ',' + std::to_string(p.k) + ',' + Shortest(p.eps) +
             ',' + Shortest(p.x) + ',' + Pairs(p.pairs) + ',' +
             (HasPairs(p) ? Shortest(p.y) : std::string()) + ',' + (p.used ? '1' : '0') + '\n';
    }
  }
  out += "\nm,slope,intercept,points\n";
  for (const CorrelationCurve& curve : curves) {
    out += std::to_string(curve.dimension) + ',' + Shortest(curve.slope) + ',' +
           Shortest(curve.intercept) + ',' + std::to_string(curve.used_points) + '\n';
  }
  return out;
}

std::string CurvesTable(const std::vector<CorrelationCurve>& curves) {
  std::string out =
      Printf("%3s %3s %12s %10s %12s %10s %5s\n", "m", "k", "eps", "x", "pairs", "y", "used");
  for (const CorrelationCurve& curve : curves) {
    for (const CurvePoint& p : curve.points) {
      out += Printf("%3d %3d %12.6g %10.5f %12s ", curve.dimension, p.k, p.eps, p.x,
                    Pairs(p.pairs).c_str());
      out += HasPairs(p) ? Printf("%10.5f", p.y) : Printf("%10s", "-");
      out += Printf(" %5s\n", p.used ? "yes" : "no");
    }
  }
  out += Printf("\n%3s %10s %10s %6s\n", "m", "slope", "intercept", "points");
  for (const CorrelationCurve& curve : curves) {
    out += Printf("%3d %10.5f %10.5f %6d\n", curve.dimension, curve.slope, curve.intercept,
                  curve.used_points);
  }
  return out;
}

std::string CurvesJson(const std::string& file, int n,
                       const std::vector<CorrelationCurve>& curves) {
  std::string out =
      "{\"file\": " + JsonString(file) + ", \"n\": " + std::to_string(n) + ", \"dimensions\": [";
  for (size_t i = 0; i < curves.size(); ++i) {
    const CorrelationCurve& curve = curves[i];
    out += (i ? ",\n  " : "\n  ");
    out += "{\"m\": " + std::to_string(curve.dimension) + ", \"slope\": " + Shortest(curve.slope) +
           ", \"intercept\": " + Shortest(curve.intercept) +
           ", \"points\": " + std::to_string(curve.used_points) + ", \"grid\": [";
    for (size_t k = 0; k < curve.points.size(); ++k) {
      const CurvePoint& p = curve.points[k];
      out += (k ? ",\n    " : "\n    ");
      out += "{\"k\": " + std::to_string(p.k) + ", \"eps\": " + Shortest(p.eps) +
             ", \"x\": " + Shortest(p.x) + ", \"pairs\": " + Pairs(p.pairs) +
             ", \"y\": " + (HasPairs(p) ? Shortest(p.y) : std::string("null")) +
             ", \"used\": " + (p.used ? "true" : "false") + "}";
    }
    out += "]}";
  }
  out += "\n]}\n";
  return out;
}

}  // namespace ixo::cli
