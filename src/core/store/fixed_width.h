#pragma once

#include <string>
#include <string_view>

// Helpers for fixed-width CP932 text: fields taken by 1-based byte position,
// numbers that read 0 when they do not convert, and texts cut or padded to a
// byte width without splitting a two-byte character.
namespace orvalle::store {

// The bytes at 1-based `position` with `length`, clipped to the text: a short
// record gives a shorter (possibly empty) view, never a read past its end.
std::string_view field(std::string_view text, int position, int length);

// The decimal value of a numeric text. Leading and trailing ASCII blanks are
// ignored and one leading sign is allowed; blanks, junk or an out-of-range
// value read 0.
int toInt(std::string_view text);

// toInt of a field.
inline int fieldInt(std::string_view text, int position, int length) {
  return toInt(field(text, position, length));
}

// True when the text is empty or holds only ASCII blanks.
bool isBlank(std::string_view text);

// The text without leading and trailing bytes up to and including the ASCII
// blank (control characters included); two-byte characters are kept.
std::string_view trim(std::string_view text);
std::string_view trimRight(std::string_view text);

// The first `width` bytes of the text, padded with ASCII blanks when shorter.
// When the cut falls inside a two-byte character its lead byte is replaced by
// a blank, so the next field starts clean.
std::string fitWidth(std::string_view text, size_t width);

// The text right-aligned in `width` bytes (blanks in front); cut like
// fitWidth when longer.
std::string fitWidthRight(std::string_view text, size_t width);

// The text with every full-width blank "　" removed.
std::string withoutFullWidthBlanks(std::string_view text);

// A numeric field written again by value in its own width ("%<width>d");
// 0 gives blanks of that width.
std::string numberInOwnWidth(std::string_view numericField);

// The value "%<width>d"; with `emptyForZero` the value 0 gives the empty text.
std::string numberInWidth(int value, int width, bool emptyForZero = false);

// The 18-byte form in which horse names are kept and compared: trimmed,
// padded with "　" and cut to 18 bytes (a split two-byte character becomes a
// blank).
std::string horseName18(std::string_view name);

// Replaces `replacement.size()` bytes of `text` from 1-based `position` by
// `replacement` (delete, then insert). Bytes beyond the end are appended.
std::string overwrite(std::string_view text, int position, std::string_view replacement);

// printf into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orvalle::store
