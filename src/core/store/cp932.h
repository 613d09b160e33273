#pragma once

#include <optional>
#include <string>
#include <string_view>

// CP932 (Windows-31J) is the code page of every record, every file and every
// text the core keeps. UTF-8 appears only at the edges (the CLI's output, the
// GUI's widgets, file names on disk, messages).
namespace orvalle::cp932 {

// True for a byte that starts a two-byte CP932 character.
constexpr bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Converts CP932 bytes to UTF-8. A byte sequence that is not CP932 becomes
// U+FFFD and the conversion goes on with the next byte; never fails.
std::string toUtf8(std::string_view cp932Text);

// Converts UTF-8 text to CP932. A character without a CP932 form, or an
// invalid UTF-8 byte, becomes "?"; never fails.
std::string fromUtf8(std::string_view utf8Text);

// Converts UTF-8 text to CP932 exactly: nullopt when the text is not valid
// UTF-8 or holds a character without a CP932 form.
std::optional<std::string> fromUtf8Exactly(std::string_view utf8Text);

// True when every byte sequence of the text is valid CP932.
bool isValid(std::string_view cp932Text);

// True when the text is valid UTF-8.
bool isValidUtf8(std::string_view text);

}  // namespace orvalle::cp932

namespace orvalle {
// Short name for CP932 text written as a UTF-8 literal in the source:
// sj("中山") is the CP932 form. Converts on every call; tables that are used
// often convert once and keep the result.
inline std::string sj(std::string_view utf8Text) { return cp932::fromUtf8(utf8Text); }
}  // namespace orvalle
