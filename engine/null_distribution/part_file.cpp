#include "part_file.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace ixo {
namespace {

constexpr std::string_view kMagic = "ixo part ";
constexpr std::string_view kEnd = "end ";

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash = 0xCBF29CE484222325ULL) {
  for (const char ch : bytes) {
    hash ^= static_cast<unsigned char>(ch);
    hash *= 0x100000001B3ULL;
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  char text[17];
  for (int i = 15; i >= 0; --i, value >>= 4) text[i] = "0123456789abcdef"[value & 15];
  return std::string(text, 16);
}

bool IsNameChar(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '_' || ch == '-';
}

bool IsName(std::string_view text) {
  if (text.empty() || text.size() > 64) return false;
  for (const char ch : text)
    if (!IsNameChar(ch)) return false;
  return true;
}

bool IsControl(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return byte < 0x20 || byte == 0x7F;
}

// A setting's value: printable, no blank.
bool IsWord(std::string_view text) {
  if (text.empty() || text.size() > 1024) return false;
  for (const char ch : text)
    if (ch == ' ' || IsControl(ch)) return false;
  return true;
}

// A line of printable text: the program's name and version.
bool IsLineText(std::string_view text) {
  if (text.empty() || text.size() > 256) return false;
  for (const char ch : text)
    if (IsControl(ch)) return false;
  return true;
}

// A path on one line: '\' and control characters as \\ and \xHH.
std::string EscapedPath(std::string_view path) {
  std::string text;
  for (const char ch : path) {
    if (ch == '\\') {
      text += "\\\\";
    } else if (IsControl(ch)) {
      text += "\\x";
      text += "0123456789abcdef"[static_cast<unsigned char>(ch) >> 4];
      text += "0123456789abcdef"[static_cast<unsigned char>(ch) & 15];
    } else {
      text += ch;
    }
  }
  return text;
}

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

std::optional<std::string> UnescapedPath(std::string_view text) {
  std::string path;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsControl(text[i])) return std::nullopt;
    if (text[i] != '\\') {
      path += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '\\') {
      path += '\\';
      ++i;
    } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0 &&
               HexDigit(text[i + 3]) >= 0) {
      const char ch = static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
      if (!IsControl(ch)) return std::nullopt;  // only what the writer escapes
      path += ch;
      i += 3;
    } else {
      return std::nullopt;
    }
  }
  return path;
}

std::string CellText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, end);
}

std::optional<double> CellValue(std::string_view token) {
  if (token == "nan") return std::numeric_limits<double>::quiet_NaN();
  if (token == "inf") return std::numeric_limits<double>::infinity();
  if (token == "-inf") return -std::numeric_limits<double>::infinity();
  double value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

// Decimal digits only, no sign, no leading zero, at most `high`.
std::optional<unsigned long long> Unsigned(std::string_view token, unsigned long long high) {
  if (token.empty() || token.size() > 20 || (token.size() > 1 && token[0] == '0'))
    return std::nullopt;
  unsigned long long value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc() || end != token.data() + token.size() || value > high)
    return std::nullopt;
  return value;
}

std::optional<std::uint64_t> HexWord(std::string_view token) {
  if (token.size() != 16) return std::nullopt;
  std::uint64_t value = 0;
  for (const char ch : token) {
    const int digit = HexDigit(ch);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(digit);
  }
  return value;
}

const char* KindName(SectionKind kind) {
  switch (kind) {
    case SectionKind::kSum:
      return "sum";
    case SectionKind::kRows:
      return "rows";
    case SectionKind::kSame:
      break;
  }
  return "same";
}

std::optional<SectionKind> KindNamed(std::string_view name) {
  if (name == "same") return SectionKind::kSame;
  if (name == "sum") return SectionKind::kSum;
  if (name == "rows") return SectionKind::kRows;
  return std::nullopt;
}

// The words of a line, split at single blanks; an empty word (two blanks, or a
// blank at either end) is kept, and refused by whoever reads it.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line[i] == ' ') {
      words.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  return words;
}

// The lines of a text that ends with a line break, one by one, with numbers.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', pos_);
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  // The next line when it starts with `key` and a blank; the rest in `rest`.
  bool NextWith(std::string_view key, std::string_view& rest) {
    const std::size_t saved_pos = pos_;
    const int saved_number = number_;
    std::string_view line;
    if (Next(line) && line.size() > key.size() && line.substr(0, key.size()) == key &&
        line[key.size()] == ' ') {
      rest = line.substr(key.size() + 1);
      return true;
    }
    pos_ = saved_pos;
    number_ = saved_number;
    return false;
  }
  int number() const { return number_; }
  std::size_t remaining() const { return text_.size() - pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

Result<Part> Refuse(std::string why) {
  return Failure<Part>(std::move(why));
}

Result<Part> RefuseLine(const Lines& lines, const std::string& why) {
  return Refuse("line " + std::to_string(lines.number()) + ": " + why);
}

}  // namespace

bool Part::operator==(const Part& other) const {
  const auto same_series = [](const PartSeries& a, const PartSeries& b) {
    return a.path == b.path && a.n == b.n && a.hash == b.hash;
  };
  const auto same_section = [](const PartSection& a, const PartSection& b) {
    return a.name == b.name && a.kind == b.kind && a.series == b.series && a.columns == b.columns &&
           a.cells.size() == b.cells.size() &&
           (a.cells.empty() ||
            std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(double)) == 0);
  };
  return program == other.program && command == other.command && settings == other.settings &&
         seed == other.seed && replications == other.replications && begin == other.begin &&
         end == other.end &&
         std::equal(series.begin(), series.end(), other.series.begin(), other.series.end(),
                    same_series) &&
         std::equal(sections.begin(), sections.end(), other.sections.begin(), other.sections.end(),
                    same_section);
}

std::uint64_t SeriesHash(std::span<const double> values) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (const double v : values) {
    auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i, bits >>= 8) {
      hash ^= bits & 0xFF;
      hash *= 0x100000001B3ULL;
    }
  }
  return hash;
}

std::string CheckPart(const Part& p) {
  if (!IsLineText(p.program)) return "the program's name is empty or not one line of text";
  if (!IsName(p.command)) return "the command '" + EscapedPath(p.command) + "' is not a name";
  for (const auto& [name, value] : p.settings) {
    if (!IsName(name)) return "the setting name '" + EscapedPath(name) + "' is not a name";
    if (!IsWord(value)) return "the setting " + name + " has an empty value or one with blanks";
  }
  if (p.replications < 0 || p.begin < 0 || p.begin > p.end || p.end > p.replications)
    return "the range " + std::to_string(p.begin) + ":" + std::to_string(p.end) +
           " does not lie in 0:" + std::to_string(p.replications);
  const auto length = static_cast<double>(p.end - p.begin);
  for (std::size_t i = 0; i < p.sections.size(); ++i) {
    const PartSection& s = p.sections[i];
    const std::string which = "section " + s.name + ": ";
    if (!IsName(s.name)) return "the section name '" + EscapedPath(s.name) + "' is not a name";
    if (s.series < -1 || s.series >= static_cast<int>(p.series.size()))
      return which + "no series " + std::to_string(s.series);
    if (s.columns < 1 || s.columns > kMaxPartColumns)
      return which + "columns not in 1.." + std::to_string(kMaxPartColumns);
    if (s.cells.size() % static_cast<std::size_t>(s.columns) != 0)
      return which + "not a whole number of rows";
    if (s.kind == SectionKind::kRows && static_cast<double>(s.Rows()) != length)
      return which + "one row per replication of the range is needed";
    if (s.kind == SectionKind::kSum) {
      for (const double c : s.cells)
        // -0 is no count: a merge, adding from +0, would not give it back.
        if (!(c >= 0 && c <= length && c == std::floor(c)) || std::signbit(c))
          return which + "a count that is not a whole number 0.." + CellText(length);
    }
    for (std::size_t j = 0; j < i; ++j)
      if (p.sections[j].name == s.name && p.sections[j].series == s.series)
        return which + "given twice";
  }
  return {};
}

std::string WritePart(const Part& p) {
  std::string text = std::string(kMagic) + std::to_string(kPartFormatVersion) + "\n";
  text += "program " + p.program + "\n";
  text += "command " + p.command + "\n";
  for (const auto& [name, value] : p.settings) text += "setting " + name + " " + value + "\n";
  text += "seed " + std::to_string(p.seed) + "\n";
  text += "replications " + std::to_string(p.replications) + "\n";
  text += "range " + std::to_string(p.begin) + " " + std::to_string(p.end) + "\n";
  for (const PartSeries& s : p.series)
    text += "series " + std::to_string(s.n) + " " + Hex(s.hash) + " " + EscapedPath(s.path) + "\n";
  for (const PartSection& s : p.sections) {
    text += "section " + s.name + " " + KindName(s.kind) + " " + std::to_string(s.Rows()) + " " +
            std::to_string(s.columns);
    if (s.series >= 0) text += " series " + std::to_string(s.series);
    text += "\n";
    for (std::size_t c = 0; c < s.cells.size(); ++c) {
      text += CellText(s.cells[c]);
      text += (c + 1) % static_cast<std::size_t>(s.columns) == 0 ? '\n' : ' ';
    }
  }
  return text + std::string(kEnd) + Hex(Fnv1a(text)) + "\n";
}

Result<Part> ReadPart(std::string_view text) {
  if (text.substr(0, kMagic.size()) != kMagic) return Refuse("not a part file");
  if (text.empty() || text.back() != '\n') return Refuse("truncated: no end line");
  const std::size_t last = text.rfind('\n', text.size() - 2);
  const std::size_t end_line = last == std::string_view::npos ? 0 : last + 1;
  const std::string_view end = text.substr(end_line, text.size() - 1 - end_line);
  if (end.substr(0, kEnd.size()) != kEnd) return Refuse("truncated: no end line");
  const std::optional<std::uint64_t> checksum = HexWord(end.substr(kEnd.size()));
  if (!checksum) return Refuse("truncated: no end line");
  const std::string_view body = text.substr(0, end_line);
  if (Fnv1a(body) != *checksum) return Refuse("corrupted: the checksum does not match");

  Lines lines(body);
  std::string_view line;
  lines.Next(line);
  Part p;
  {
    const std::optional<unsigned long long> version =
        Unsigned(line.substr(kMagic.size()), 1u << 30);
    if (!version) return RefuseLine(lines, "no format version");
    if (*version != kPartFormatVersion)
      return RefuseLine(lines, "format version " + std::to_string(*version) +
                                   "; this program reads version " +
                                   std::to_string(kPartFormatVersion));
  }
  std::string_view rest;
  if (!lines.NextWith("program", rest)) return RefuseLine(lines, "'program' expected");
  p.program = rest;
  if (!lines.NextWith("command", rest)) return RefuseLine(lines, "'command' expected");
  p.command = rest;
  while (lines.NextWith("setting", rest)) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) return RefuseLine(lines, "a setting without a value");
    p.settings.emplace_back(rest.substr(0, blank), rest.substr(blank + 1));
  }
  constexpr unsigned long long kMaxReplications = 1ULL << 62;
  if (!lines.NextWith("seed", rest)) return RefuseLine(lines, "'seed' expected");
  const auto seed = Unsigned(rest, ~0ULL);
  if (!seed) return RefuseLine(lines, "the seed is no unsigned 64-bit number");
  p.seed = *seed;
  if (!lines.NextWith("replications", rest)) return RefuseLine(lines, "'replications' expected");
  const auto reps = Unsigned(rest, kMaxReplications);
  if (!reps) return RefuseLine(lines, "the number of replications is no count");
  p.replications = static_cast<long long>(*reps);
  if (!lines.NextWith("range", rest)) return RefuseLine(lines, "'range' expected");
  {
    const std::vector<std::string_view> w = Words(rest);
    const auto begin = w.size() == 2 ? Unsigned(w[0], kMaxReplications) : std::nullopt;
    const auto range_end = w.size() == 2 ? Unsigned(w[1], kMaxReplications) : std::nullopt;
    if (!begin || !range_end) return RefuseLine(lines, "the range is not two counts");
    p.begin = static_cast<long long>(*begin);
    p.end = static_cast<long long>(*range_end);
  }
  while (lines.NextWith("series", rest)) {
    const std::size_t first = rest.find(' ');
    const std::size_t second = first == std::string_view::npos ? first : rest.find(' ', first + 1);
    if (second == std::string_view::npos)
      return RefuseLine(lines, "a series needs its length, hash and path");
    const auto n = Unsigned(rest.substr(0, first), ~0ULL);
    const auto hash = HexWord(rest.substr(first + 1, second - first - 1));
    const auto path = UnescapedPath(rest.substr(second + 1));
    if (!n || !hash || !path) return RefuseLine(lines, "a series needs its length, hash and path");
    p.series.push_back(PartSeries{*path, *n, *hash});
  }
  while (lines.NextWith("section", rest)) {
    const std::vector<std::string_view> w = Words(rest);
    if (w.size() != 4 && w.size() != 6) return RefuseLine(lines, "a section line of 4 or 6 words");
    PartSection s;
    s.name = w[0];
    const std::optional<SectionKind> kind = KindNamed(w[1]);
    const auto rows = Unsigned(w[2], kMaxReplications);
    const auto columns = Unsigned(w[3], kMaxPartColumns);
    if (!kind || !rows || !columns || *columns == 0)
      return RefuseLine(lines, "a section needs its kind, rows and columns");
    s.kind = *kind;
    s.columns = static_cast<int>(*columns);
    if (w.size() == 6) {
      const auto series = w[4] == "series" ? Unsigned(w[5], 1u << 30) : std::nullopt;
      if (!series) return RefuseLine(lines, "'series' and its index expected");
      s.series = static_cast<int>(*series);
    }
    // Every cell takes at least two bytes of the text: a larger section is cut short.
    if (*rows > lines.remaining() / 2 / *columns)
      return RefuseLine(lines, "the section is cut short");
    s.cells.reserve(*rows * *columns);
    for (unsigned long long r = 0; r < *rows; ++r) {
      if (!lines.Next(line)) return RefuseLine(lines, "the section is cut short");
      const std::vector<std::string_view> cells = Words(line);
      if (cells.size() != *columns)
        return RefuseLine(lines, "a row of " + std::to_string(*columns) + " numbers expected");
      for (const std::string_view cell : cells) {
        const std::optional<double> value = CellValue(cell);
        if (!value) return RefuseLine(lines, "'" + EscapedPath(cell) + "' is not a number");
        s.cells.push_back(*value);
      }
    }
    p.sections.push_back(std::move(s));
  }
  if (lines.Next(line)) return RefuseLine(lines, "unexpected line");
  if (std::string why = CheckPart(p); !why.empty()) return Refuse(why);
  return Result<Part>{std::move(p), {}};
}

}  // namespace ixo
