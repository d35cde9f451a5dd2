// Merging the parts of one run (part_file.h) into the part of its whole range
// of replications, which holds exactly what a single run of that range
// computes: counts added, simulated rows in replication order, observed values
// as every part has them.
#pragma once

#include <span>
#include <string>

#include "part_file.h"

namespace ixo {

// A part and the name it goes by in messages (its file).
struct NamedPart {
  std::string name;
  Part part;
};

// A part's text and its name.
struct PartText {
  std::string name;
  std::string text;
};

// The part of replications 0 .. R - 1 from parts that cover them once each, in
// any order. Refuses, with one line naming the parts involved: no part; parts
// of different programs or versions, commands, settings, seeds, R, series or
// sections; parts that disagree on a section of kind kSame (the observed
// statistics); overlapping ranges; and ranges that leave replications out
// (the line says which are missing).
[[nodiscard]] Result<Part> MergeParts(std::span<const NamedPart> parts);

// Reads every text (a text that ReadPart refuses is refused by its name:
// "'<name>': <why>"), then MergeParts.
[[nodiscard]] Result<Part> MergePartTexts(std::span<const PartText> texts);

}  // namespace ixo
