// hopla-press.exe: presses the switch of Hopla-testswitch.exe from outside.
//
//   hopla-press.exe [--gap MS] LENGTHS
//
// LENGTHS is one press length in milliseconds ("700") or several separated by
// commas ("200,800"); between two presses the switch stays up for MS
// milliseconds (300 by default). The switch is the first byte of the named
// mapping Local\HoplaTestSwitch, bit 0 set while it is down. This program
// holds the mapping until its last release; once it ends, no mapping is left
// and the switch reads as up. Run it in the same WINEPREFIX (the same
// wineserver) as the program it presses.
#include <windows.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/win32/switch_source.h"

namespace {

constexpr uint8_t kSwitchDown = 0x01;
constexpr uint8_t kSwitchUp = 0x00;
constexpr int kDefaultGapMs = 300;
constexpr int kLongestMs = 600000;

int Usage() {
  std::fprintf(stderr,
               "usage: hopla-press.exe [--gap MS] LENGTHS\n"
               "  LENGTHS: press lengths in ms, e.g. 700 or 200,800\n"
               "  --gap MS: switch up between presses (default %d ms)\n",
               kDefaultGapMs);
  return 2;
}

// One whole number of milliseconds, 1 to kLongestMs.
bool ParseMs(std::string_view text, int& ms) {
  const char* end = text.data() + text.size();
  auto [rest, error] = std::from_chars(text.data(), end, ms);
  return error == std::errc() && rest == end && ms >= 1 && ms <= kLongestMs;
}

bool ParseLengths(std::string_view text, std::vector<int>& lengths_ms) {
  while (true) {
    const size_t comma = text.find(',');
    int ms = 0;
    if (!ParseMs(text.substr(0, comma), ms)) return false;
    lengths_ms.push_back(ms);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int gap_ms = kDefaultGapMs;
  std::vector<int> lengths_ms;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--gap") == 0 && i + 1 < argc) {
      if (!ParseMs(argv[++i], gap_ms)) return Usage();
    } else if (!lengths_ms.empty() || !ParseLengths(argv[i], lengths_ms)) {
      return Usage();
    }
  }
  if (lengths_ms.empty()) return Usage();

  HANDLE mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1,
                         hopla::win32::kTestSwitchMappingName);
  if (mapping == nullptr) {
    std::fprintf(stderr, "CreateFileMappingW failed: %lu\n", GetLastError());
    return 1;
  }
  auto* state = static_cast<volatile uint8_t*>(
      MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 1));
  if (state == nullptr) {
    std::fprintf(stderr, "MapViewOfFile failed: %lu\n", GetLastError());
    CloseHandle(mapping);
    return 1;
  }

  for (size_t i = 0; i < lengths_ms.size(); ++i) {
    if (i > 0) Sleep(static_cast<DWORD>(gap_ms));
    std::printf("press %d ms\n", lengths_ms[i]);
    std::fflush(stdout);
    *state = kSwitchDown;
    Sleep(static_cast<DWORD>(lengths_ms[i]));
    *state = kSwitchUp;
  }

  UnmapViewOfFile(const_cast<uint8_t*>(state));
  CloseHandle(mapping);
  return 0;
}
