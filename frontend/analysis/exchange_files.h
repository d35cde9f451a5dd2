// The files the front end and the engine exchange in the program directory:
// the front end writes the cleaned series to input.tmp, the engine renames its
// result into output.tmp. Every part of the front end spells them from here.
#pragma once

namespace ixo {

inline constexpr const char* kInputFileName = "input.tmp";
inline constexpr const char* kOutputFileName = "output.tmp";

}  // namespace ixo
