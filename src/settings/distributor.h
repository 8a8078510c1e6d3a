// What a distributor of the package sets in "Distributor.ini" beside the
// programs: the postal transfer account the banner asks donations for, and
// the home page the link opens. Until a distributor sets them, the banner
// names no account and the link opens the help file, rather than showing a
// number or an address that is not one.
#ifndef HOPLA_SETTINGS_DISTRIBUTOR_H_
#define HOPLA_SETTINGS_DISTRIBUTOR_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace hopla {

inline constexpr char kDistributorFile[] = ".\\Distributor.ini";
inline constexpr char kDistributorSection[] = "Distributor";
inline constexpr char kDonationAccountKey[] = "DonationAccount";
inline constexpr char kHomePageKey[] = "HomePage";

struct DistributorValues {
  std::optional<std::string> account;    // "12345-6-789012"
  std::optional<std::string> home_page;  // "https://..."
};

// A value of the wrong form, or the placeholder of zeros, counts as unset:
// the file is the distributor's, and the person cannot mend it.
DistributorValues ReadDistributorValues(Platform& platform);

// Five digits, one, and one to seven: a postal transfer account, not zeros.
bool IsTransferAccount(std::string_view text);
// An http or https address of printable characters without spaces or
// quotes: the shell runs whatever it is given, so nothing else is given.
bool IsWebAddress(std::string_view text);

}  // namespace hopla

#endif  // HOPLA_SETTINGS_DISTRIBUTOR_H_
