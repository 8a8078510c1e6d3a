// Every text the program shows, in each of its faces: Japanese (the first,
// and the key a text is found by) and English. A third language is a
// column of the table. What is stored (the settings file's sections, keys
// and values), the titles of other programs that Hopla looks for and the
// single-instance name are not texts shown, and are not here.
#ifndef HOPLA_SHARED_TEXTS_H_
#define HOPLA_SHARED_TEXTS_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hopla {

enum class Language : int32_t { kJapanese = 0, kEnglish = 1 };
inline constexpr int32_t kLanguages = 2;

struct TextFaces {
  std::array<std::string_view, kLanguages> faces;  // by Language
};

std::span<const TextFaces> AllTexts();

// A text used in two places with two meanings in another language carries
// its place before this mark ("ブレーキ\x1F中"); the Japanese face is what
// follows it.
inline constexpr char kContextMark = '\x1F';

// `japanese` in `language`; a text the table does not hold (a number, a
// path, another program's title) stays as it is, without its place.
std::string Face(Language language, std::string_view japanese);

}  // namespace hopla

#endif  // HOPLA_SHARED_TEXTS_H_
