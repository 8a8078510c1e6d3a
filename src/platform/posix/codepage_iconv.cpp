#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/codepage.h"

namespace hopla {

namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";
constexpr size_t kChunkBytes = 4096;

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns false at an invalid or incomplete
  // sequence, leaving `in`/`in_left` at it.
  bool Run(char*& in, size_t& in_left, std::string& out) {
    while (in_left > 0) {
      char buffer[kChunkBytes];
      char* out_ptr = buffer;
      size_t out_left = sizeof(buffer);
      const size_t result = iconv(cd_, &in, &in_left, &out_ptr, &out_left);
      out.append(buffer, static_cast<size_t>(out_ptr - buffer));
      if (result == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  Converter converter("CP932", "UTF-8");
  if (!converter.Ok()) return std::nullopt;
  std::string input(utf8);
  char* in = input.data();
  size_t in_left = input.size();
  std::string out;
  if (!converter.Run(in, in_left, out)) return std::nullopt;
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  Converter converter("UTF-8", "CP932");
  std::string input(cp932);
  std::string out;
  if (!converter.Ok()) return out;
  char* in = input.data();
  size_t in_left = input.size();
  // Each bad byte becomes one replacement character; the rest converts on.
  while (!converter.Run(in, in_left, out)) {
    out += kReplacementUtf8;
    ++in;
    --in_left;
  }
  return out;
}

}  // namespace hopla
