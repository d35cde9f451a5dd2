// Fuzz target: the poll's reading of output.tmp, both from a whole text and
// from a file fetched piece by piece by the platform as the poll does it.
//
// Input layout: when the low four bits of byte 0 are all set, about 4 KiB of
// blanks and line ends (byte 1 trims the length) come first, so that the word
// crosses the poll's read size; the bytes after byte 0 (or 1) are the file. The file lives in a
// memfd, read by path.
//
// Checked: the file read and the whole-text reading agree on status, value and
// message; a result is always finite; the text holding nothing but blanks and
// line ends reads as 0; a value equals the C library's reading of the word
// (a word too small for a double may read as 0), and a word too large for a
// double, longer than 64 characters or not a decimal number is refused with
// "Invalid numeric input".
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/result_text.h"
#include "fuzz_check.h"
#include "memory_file.h"
#include "platform/platform_run_host.h"

namespace {

constexpr size_t kPollReadSize = 4096;

bool Same(const ixo::ResultRead& a, const ixo::ResultRead& b) {
  return a.status == b.status && a.error == b.error &&
         (a.value == b.value || (std::isnan(a.value) && std::isnan(b.value)));
}

// The word the rules pick out of `text`, and whether there was one.
bool FirstWord(std::string_view text, std::string& word) {
  size_t pos = 0;
  while (pos < text.size() &&
         (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\n')) {
    ++pos;
  }
  if (pos == text.size()) return false;
  size_t end = pos;
  while (end < text.size() && static_cast<unsigned char>(text[end]) > ' ' && text[end] != 0x7f) {
    ++end;
  }
  word.assign(text.substr(pos, end - pos));
  return true;
}

bool IsPlainDecimal(const std::string& word) {
  size_t i = 0;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
  size_t digits = 0;
  while (i < word.size() && word[i] >= '0' && word[i] <= '9') ++i, ++digits;
  if (i < word.size() && word[i] == '.') {
    ++i;
    while (i < word.size() && word[i] >= '0' && word[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
    ++i;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
    const size_t start = i;
    while (i < word.size() && word[i] >= '0' && word[i] <= '9') ++i;
    if (i == start) return false;
  }
  return i == word.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ixo::fuzz::MemoryFile result_file;
  if (size == 0) return 0;
  std::string text;
  size_t rest = 1;
  if ((data[0] & 0x0F) == 0x0F && size >= 2) {
    static const char kBlanks[] = " \t\r\n";
    const size_t length = kPollReadSize - data[1] % 32;
    for (size_t i = 0; i < length; ++i) text += kBlanks[(i * 7 + data[0]) % 4];
    rest = 2;
  }
  text.append(reinterpret_cast<const char*>(data + rest), size - rest);
  result_file.Replace(reinterpret_cast<const uint8_t*>(text.data()), text.size());

  const ixo::ResultRead parsed = ixo::ParseResultText(text);
  static ixo::PlatformRunHost host("/");
  const ixo::ResultRead read = ixo::ReadResultText(host.ReadResult(result_file.path()));
  IXO_FUZZ_CHECK(Same(parsed, read));
  IXO_FUZZ_CHECK(parsed.status != ixo::ResultRead::Status::kNotThereYet);

  std::string word;
  if (!FirstWord(text, word)) {
    IXO_FUZZ_CHECK(parsed.status == ixo::ResultRead::Status::kValue && parsed.value == 0.0);
    return 0;
  }
  if (parsed.status == ixo::ResultRead::Status::kFailed) {
    IXO_FUZZ_CHECK(parsed.error == ixo::kInvalidNumericInput);
  }
  if (word.size() > 64 || !IsPlainDecimal(word)) {
    IXO_FUZZ_CHECK(parsed.status == ixo::ResultRead::Status::kFailed);
    return 0;
  }
  errno = 0;
  const double library = std::strtod(word.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(library)) {
    IXO_FUZZ_CHECK(parsed.status == ixo::ResultRead::Status::kFailed);
    return 0;
  }
  IXO_FUZZ_CHECK(parsed.status == ixo::ResultRead::Status::kValue);
  IXO_FUZZ_CHECK(std::isfinite(parsed.value));
  if (errno == ERANGE) {
    IXO_FUZZ_CHECK(parsed.value == library || parsed.value == 0.0);
  } else {
    IXO_FUZZ_CHECK(parsed.value == library);
  }
  return 0;
}
