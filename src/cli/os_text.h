// UTF-8 and UTF-16 (Windows' wide strings) into each other. Malformed input turns into U+FFFD
// rather than failing: a name or message is always shown, never dropped.
#pragma once

#include <string>
#include <string_view>

namespace ventora::cli::os {

std::wstring wide_from_utf8(std::string_view utf8);
std::string utf8_from_wide(std::wstring_view wide);

}  // namespace ventora::cli::os
