#pragma once

#include <optional>
#include <string>
#include <string_view>

// The system's own conversion of one CP932 character, on which the
// preserving UTF-16 conversion (cp932_utf16.h) builds its tables: iconv on
// Linux, the Windows code page 932 on Windows. One file per system
// implements it.
namespace orvalle::cp932 {

// The UTF-16 code unit of one CP932 character of one or two bytes; nullopt
// when the bytes are not a character of CP932.
std::optional<char16_t> systemDecode(std::string_view character);

// The CP932 bytes of one UTF-16 code unit; nullopt when CP932 has no exact
// form for it.
std::optional<std::string> systemEncode(char16_t unit);

}  // namespace orvalle::cp932
