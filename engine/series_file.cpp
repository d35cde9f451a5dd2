#include "series_file.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace ixo {
namespace {

// Long garbage tokens are shortened in messages so that the line stays readable,
// and control bytes are shown as \xNN: a NUL would cut the message short.
std::string Shown(const std::string& token) {
  constexpr size_t kMax = 40;
  std::string shown = "'";
  for (size_t i = 0; i < token.size() && i < kMax; ++i) {
    const auto byte = static_cast<unsigned char>(token[i]);
    if (byte < 0x20 || byte == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += token[i];
    }
  }
  return shown + (token.size() > kMax ? "...'" : "'");
}

// Empty when `token` is one whole finite double, else why not. std::from_chars,
// several times quicker than strtod, takes what it reads whole to a finite
// value: a plain decimal, rounded as strtod rounds it (both round correctly).
// Everything else (hexadecimal, a leading plus, infinities, NaN, what it finds
// out of range) takes strtod's reading and verdict.
std::string ParseToken(const std::string& token, double* out) {
  double v = 0;
  const char* const last = token.data() + token.size();
  if (const auto [stop, error] = std::from_chars(token.data(), last, v);
      error == std::errc() && stop == last && std::isfinite(v)) {
    *out = v;
    return {};
  }
  const char* begin = token.c_str();
  char* end = nullptr;
  errno = 0;
  v = std::strtod(begin, &end);
  if (end == begin || end != begin + token.size()) return "is not a number";
  if (std::isnan(v)) return "is not a number";
  if (std::isinf(v)) return errno == ERANGE ? "is beyond the range of a double" : "is not finite";
  *out = v;
  return {};
}

}  // namespace

SeriesFile ReadSeriesFile(const std::string& path, const std::string& prefix) {
  SeriesFile result;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
  if (!file) {
    result.error = prefix + "cannot open series file '" + path + "': " + std::strerror(errno);
    return result;
  }
  std::string token;
  long long line = 1;
  long long token_line = 1;
  auto finish_token = [&]() -> bool {
    if (token.empty()) return true;
    double v = 0;
    std::string why = ParseToken(token, &v);
    if (!why.empty()) {
      result.error = prefix + Shown(token) + " on line " + std::to_string(token_line) + " of '" +
                     path + "' " + why;
      return false;
    }
    result.values.push_back(v);
    token.clear();
    return true;
  };
  // One reader owns the stream: bytes are taken without its lock.
  for (int ch; (ch = getc_unlocked(file.get())) != EOF;) {
    if (std::isspace(ch)) {
      if (!finish_token()) break;
      if (ch == '\n') ++line;
    } else {
      if (token.empty()) token_line = line;
      token.push_back(static_cast<char>(ch));
    }
  }
  if (result.error.empty() && std::ferror(file.get())) {
    result.error = prefix + "cannot read series file '" + path + "': " + std::strerror(errno);
  }
  if (result.error.empty()) finish_token();
  if (!result.error.empty()) result.values.clear();
  return result;
}

}  // namespace ixo
