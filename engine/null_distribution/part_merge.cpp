#include "part_merge.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ixo {
namespace {

Result<Part> Refuse(std::string why) {
  return Failure<Part>(std::move(why));
}

std::string Quoted(const std::string& name) {
  return "'" + name + "'";
}

std::string Pair(const NamedPart& a, const NamedPart& b) {
  return Quoted(a.name) + " and " + Quoted(b.name);
}

std::string Replications(long long first, long long last) {
  return first == last ? "replication " + std::to_string(first)
                       : "replications " + std::to_string(first) + ".." + std::to_string(last);
}

std::string Setting(const Part& p, std::size_t i) {
  return i < p.settings.size() ? p.settings[i].first + " " + p.settings[i].second : "nothing";
}

std::string SeriesText(const PartSeries& s) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(s.hash));
  return Quoted(s.path) + " of " + std::to_string(s.n) + " values, hash " + hash;
}

bool SameLayout(const PartSection& a, const PartSection& b) {
  return a.name == b.name && a.kind == b.kind && a.series == b.series && a.columns == b.columns &&
         (a.kind == SectionKind::kRows || a.cells.size() == b.cells.size());
}

bool SameCells(const PartSection& a, const PartSection& b) {
  return a.cells.size() == b.cells.size() &&
         (a.cells.empty() ||
          std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(double)) == 0);
}

// Empty when `b` is a part of the same run as `a`; else the refusal.
std::string Mismatch(const NamedPart& first, const NamedPart& other) {
  const Part& a = first.part;
  const Part& b = other.part;
  const std::string both = Pair(first, other);
  if (a.program != b.program)
    return both + " come from different programs or versions (" + a.program + "; " + b.program +
           ")";
  if (a.command != b.command)
    return both + " are parts of different commands (" + a.command + ", " + b.command + ")";
  if (a.settings != b.settings) {
    std::size_t i = 0;
    while (i < a.settings.size() && i < b.settings.size() && a.settings[i] == b.settings[i]) ++i;
    return both + " differ in their settings (" + Setting(a, i) + "; " + Setting(b, i) + ")";
  }
  if (a.seed != b.seed)
    return both + " have different seeds (" + std::to_string(a.seed) + ", " +
           std::to_string(b.seed) + ")";
  if (a.replications != b.replications)
    return both + " are parts of runs of different lengths (" + std::to_string(a.replications) +
           " and " + std::to_string(b.replications) + " replications)";
  if (a.series.size() != b.series.size())
    return both + " are of different series (" + std::to_string(a.series.size()) + " and " +
           std::to_string(b.series.size()) + " series)";
  for (std::size_t i = 0; i < a.series.size(); ++i) {
    const PartSeries& x = a.series[i];
    const PartSeries& y = b.series[i];
    if (x.path != y.path || x.n != y.n || x.hash != y.hash)
      return both + " are of different series (" + SeriesText(x) + "; " + SeriesText(y) + ")";
  }
  if (a.sections.size() != b.sections.size()) return both + " hold different sections";
  for (std::size_t i = 0; i < a.sections.size(); ++i) {
    const PartSection& x = a.sections[i];
    const PartSection& y = b.sections[i];
    if (!SameLayout(x, y))
      return both + " hold different sections (" + x.name + ", " + y.name + ")";
    if (x.kind == SectionKind::kSame && !SameCells(x, y))
      return both + " disagree on the observed values of section " + x.name +
             (x.series >= 0 ? " of series " + std::to_string(x.series) : std::string());
  }
  return {};
}

}  // namespace

Result<Part> MergeParts(std::span<const NamedPart> parts) {
  if (parts.empty()) return Refuse("no part given");
  for (const NamedPart& p : parts.subspan(1))
    if (std::string why = Mismatch(parts[0], p); !why.empty()) return Refuse(why);

  std::vector<const NamedPart*> order;
  for (const NamedPart& p : parts) order.push_back(&p);
  std::stable_sort(order.begin(), order.end(), [](const NamedPart* x, const NamedPart* y) {
    return x->part.begin < y->part.begin;
  });
  // Empty ranges add nothing and meet no other range.
  std::erase_if(order, [](const NamedPart* p) { return p->part.begin == p->part.end; });
  for (std::size_t i = 1; i < order.size(); ++i) {
    const Part& a = order[i - 1]->part;
    const Part& b = order[i]->part;
    if (b.begin < a.end)
      return Refuse(Quoted(order[i - 1]->name) + " (" + Replications(a.begin, a.end - 1) +
                    ") and " + Quoted(order[i]->name) + " (" + Replications(b.begin, b.end - 1) +
                    ") overlap");
  }
  const long long total = parts[0].part.replications;
  std::string missing;
  long long next = 0;
  for (std::size_t i = 0; i <= order.size(); ++i) {
    const long long begin = i < order.size() ? order[i]->part.begin : total;
    if (begin > next) {
      const std::string where = order.empty()       ? "no part holds any"
                                : i == 0            ? "before " + Quoted(order[0]->name)
                                : i == order.size() ? "after " + Quoted(order[i - 1]->name)
                                                    : "between " + Quoted(order[i - 1]->name) +
                                                          " and " + Quoted(order[i]->name);
      missing += (missing.empty() ? "" : ", ") + Replications(next, begin - 1) + " (" + where + ")";
    }
    if (i < order.size()) next = order[i]->part.end;
  }
  if (!missing.empty()) return Refuse(missing + " of 0.." + std::to_string(total - 1) + " missing");

  Part whole = parts[0].part;
  whole.begin = 0;
  whole.end = total;
  for (std::size_t k = 0; k < whole.sections.size(); ++k) {
    PartSection& section = whole.sections[k];
    if (section.kind == SectionKind::kSame) continue;
    if (section.kind == SectionKind::kSum) {
      std::fill(section.cells.begin(), section.cells.end(), 0.0);
      for (const NamedPart* p : order) {
        const std::vector<double>& cells = p->part.sections[k].cells;
        for (std::size_t c = 0; c < cells.size(); ++c) section.cells[c] += cells[c];
      }
    } else {
      section.cells.clear();
      for (const NamedPart* p : order) {
        const std::vector<double>& cells = p->part.sections[k].cells;
        section.cells.insert(section.cells.end(), cells.begin(), cells.end());
      }
    }
  }
  return Result<Part>{std::move(whole), {}};
}

Result<Part> MergePartTexts(std::span<const PartText> texts) {
  std::vector<NamedPart> parts;
  for (const PartText& t : texts) {
    Result<Part> read = ReadPart(t.text);
    if (!read.value) return Refuse(Quoted(t.name) + ": " + read.error);
    parts.push_back(NamedPart{t.name, std::move(*read.value)});
  }
  return MergeParts(parts);
}

}  // namespace ixo
