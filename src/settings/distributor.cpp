#include "settings/distributor.h"

#include <algorithm>

#include "settings/ini_rules.h"

namespace hopla {
namespace {

bool Digits(std::string_view text, size_t least, size_t most) {
  return text.size() >= least && text.size() <= most &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsTransferAccount(std::string_view text) {
  const size_t first = text.find('-');
  if (first == std::string_view::npos) return false;
  const size_t second = text.find('-', first + 1);
  if (second == std::string_view::npos) return false;
  const bool form = Digits(text.substr(0, first), 5, 5) &&
                    Digits(text.substr(first + 1, second - first - 1), 1, 1) &&
                    Digits(text.substr(second + 1), 1, 7);
  return form && text.find_first_not_of("0-") != std::string_view::npos;
}

bool IsWebAddress(std::string_view text) {
  if (!text.starts_with("https://") && !text.starts_with("http://")) {
    return false;
  }
  return text.size() > text.find("://") + 3 &&
         std::all_of(text.begin(), text.end(), [](char c) {
           return c > ' ' && c < 0x7F && c != '"' && c != '\'' && c != '\\';
         });
}

DistributorValues ReadDistributorValues(Platform& platform) {
  // Read as bytes: a distributor's editor may have put a UTF-8 byte order
  // mark before the section, which would hide it. The values are ASCII.
  std::string file = platform.ReadFileBytes(kDistributorFile).value_or("");
  if (file.starts_with("\xEF\xBB\xBF")) file.erase(0, 3);
  const auto read = [&file](const char* key) {
    const std::string value =
        ini::ReadValue(file, kDistributorSection, key).value_or("");
    const size_t begin = value.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    return value.substr(begin, value.find_last_not_of(" \t") - begin + 1);
  };
  DistributorValues values;
  const std::string account = read(kDonationAccountKey);
  if (IsTransferAccount(account)) values.account = account;
  const std::string home_page = read(kHomePageKey);
  if (IsWebAddress(home_page)) values.home_page = home_page;
  return values;
}

}  // namespace hopla
