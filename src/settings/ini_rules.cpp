#include "settings/ini_rules.h"

#include <vector>

namespace hopla::ini {

namespace {

constexpr char kNewLine[] = "\r\n";

struct Line {
  size_t begin;  // first byte of the text
  size_t end;    // one past the text, before its line end
  size_t next;   // first byte of the next line
};

std::vector<Line> SplitLines(std::string_view file) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < file.size()) {
    size_t end = file.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back({pos, file.size(), file.size()});
      break;
    }
    size_t next = end + 1;
    if (file[end] == '\r' && next < file.size() && file[next] == '\n') ++next;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

unsigned char AsciiLower(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32)
                                    : byte;
}

// ASCII letters compare without case; the two bytes of a double-byte
// character compare exactly, so a trail byte is never folded.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(x)) {
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(x) != AsciiLower(y)) {
      return false;
    }
  }
  return true;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const size_t close = line.find(']');
  return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// Lines [first, last) of the first section of that name.
struct SectionSpan {
  size_t header;
  size_t first;
  size_t last;
};

std::optional<SectionSpan> FindSection(std::string_view file,
                                       const std::vector<Line>& lines,
                                       std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name =
        SectionName(file.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (!name || !SameName(*name, section)) continue;
    size_t last = i + 1;
    while (last < lines.size() &&
           !SectionName(file.substr(lines[last].begin,
                                    lines[last].end - lines[last].begin))) {
      ++last;
    }
    return SectionSpan{i, i + 1, last};
  }
  return std::nullopt;
}

std::string_view LineText(std::string_view file, const Line& line) {
  return file.substr(line.begin, line.end - line.begin);
}

std::string Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Cuts at kMaxValueBytes without splitting a double-byte character.
std::string Truncate(std::string value) {
  if (value.size() <= kMaxValueBytes) return value;
  size_t end = 0;
  while (end < kMaxValueBytes) {
    const size_t width =
        IsLeadByte(static_cast<unsigned char>(value[end])) ? 2 : 1;
    if (end + width > kMaxValueBytes) break;
    end += width;
  }
  value.resize(end);
  return value;
}

// A value or name is one line: a line end inside it would forge other keys.
std::string_view OneLine(std::string_view text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

std::optional<std::string> ReadValue(std::string_view file,
                                     std::string_view section,
                                     std::string_view key) {
  const std::vector<Line> lines = SplitLines(file);
  const auto span = FindSection(file, lines, section);
  if (!span) return std::nullopt;
  for (size_t i = span->first; i < span->last; ++i) {
    const auto entry = ParseKeyLine(LineText(file, lines[i]));
    if (entry && SameName(entry->key, key)) {
      return Truncate(Unquote(entry->value));
    }
  }
  return std::nullopt;
}

std::string WriteValue(std::string_view file, std::string_view section,
                       std::string_view key, std::string_view value) {
  section = OneLine(section);
  key = OneLine(key);
  // Built with append: GCC 12 warns falsely on chains of string operator+.
  std::string entry(key);
  entry.append("=").append(OneLine(value));
  const std::vector<Line> lines = SplitLines(file);
  const auto span = FindSection(file, lines, section);
  std::string out;
  if (!span) {
    out = std::string(file);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') {
      out += kNewLine;
    }
    if (!out.empty()) out += kNewLine;
    out.append("[").append(section).append("]").append(kNewLine);
    out.append(entry).append(kNewLine);
    return out;
  }
  for (size_t i = span->first; i < span->last; ++i) {
    const auto found = ParseKeyLine(LineText(file, lines[i]));
    if (found && SameName(found->key, key)) {
      out.assign(file.substr(0, lines[i].begin));
      out.append(entry).append(file.substr(lines[i].end));
      return out;
    }
  }
  // After the last line of the section that is not blank.
  size_t after = span->header;
  for (size_t i = span->first; i < span->last; ++i) {
    if (!Trim(LineText(file, lines[i])).empty()) after = i;
  }
  const Line& anchor = lines[after];
  out = std::string(file.substr(0, anchor.end));
  const bool had_end = anchor.next > anchor.end;
  out.append(kNewLine).append(entry);
  if (had_end) {
    out.append(file.substr(anchor.end));
  } else {
    out.append(kNewLine);
  }
  return out;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  const int64_t limit = base == 16 ? 0xFFFFFFFFLL : 0x80000000LL;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal covers all 32 bits, as "$FFFFFFFF" for -1.
    const auto bits = static_cast<int64_t>(
        static_cast<int32_t>(static_cast<uint32_t>(value)));
    return static_cast<int32_t>(negative ? -bits : bits);
  }
  if (negative) return static_cast<int32_t>(-value);
  if (value > 0x7FFFFFFFLL) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace hopla::ini
