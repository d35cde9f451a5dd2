// Fuzz target: the reading of part files, which come from other machines, and
// the merge of what it reads.
//
// Input layout: when the low bit of byte 0 is set, the rest is a part's body
// and the target seals it with its checksum line (FNV-1a, from its
// definition), so that the fuzzer explores the reader behind the checksum;
// otherwise the rest is the whole text.
//
// Checked: a text that reads gives a part that CheckPart accepts and that
// WritePart writes in a form reading back to the same part and written again
// byte for byte; such a part merges alone when it holds the whole range, and
// never with itself when its range is not empty (an overlap), while a cut copy
// of its text is refused by its name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "part_file.h"
#include "part_merge.h"

namespace {

std::string Sealed(std::string body) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char ch : body) hash = (hash ^ static_cast<unsigned char>(ch)) * 0x100000001B3ULL;
  char end[32];
  std::snprintf(end, sizeof end, "end %016llx\n", static_cast<unsigned long long>(hash));
  return body + end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) text = Sealed(text);

  const ixo::Result<ixo::Part> read = ixo::ReadPart(text);
  if (!read.value) {
    IXO_FUZZ_CHECK(!read.error.empty() && read.error.find('\n') == std::string::npos);
    return 0;
  }
  const ixo::Part& part = *read.value;
  IXO_FUZZ_CHECK(read.error.empty());
  IXO_FUZZ_CHECK(ixo::CheckPart(part).empty());
  const std::string written = ixo::WritePart(part);
  const ixo::Result<ixo::Part> again = ixo::ReadPart(written);
  IXO_FUZZ_CHECK(again.value && *again.value == part);
  IXO_FUZZ_CHECK(ixo::WritePart(*again.value) == written);

  const ixo::NamedPart alone[] = {{"a", part}};
  const ixo::Result<ixo::Part> merged = ixo::MergeParts(alone);
  if (part.begin == 0 && part.end == part.replications) {
    IXO_FUZZ_CHECK(merged.value && *merged.value == part);
  } else {
    IXO_FUZZ_CHECK(!merged.value && merged.error.find("missing") != std::string::npos);
  }
  const ixo::NamedPart twice[] = {{"a", part}, {"b", part}};
  if (part.begin < part.end) IXO_FUZZ_CHECK(!ixo::MergeParts(twice).ok());

  const ixo::PartText cut[] = {{"a", written}, {"b", written.substr(0, written.size() - 1)}};
  IXO_FUZZ_CHECK(ixo::MergePartTexts(cut).error.rfind("'b': ", 0) == 0);
  return 0;
}
