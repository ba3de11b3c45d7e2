// The remembered password in config.ini is kept scrambled (not encrypted: anyone with the
// file can undo it) so that it is not readable at a glance.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

// The password's GBK bytes scrambled, as two upper-case hex digits per byte.
std::string ScramblePassword(std::string_view password);

// The inverse of ScramblePassword, as UTF-8. An empty text, or one that is not pairs of hex
// digits, gives an empty password.
std::string UnscramblePassword(std::string_view hex);

}  // namespace vorelin
