#pragma once

#include <string>
#include <string_view>

// JV-Link's text read (JVRead) hands a record over as UTF-16 text, which the
// component converts from the record's CP932 bytes. Some CP932 byte
// sequences do not come back unchanged from such a conversion: the NEC and
// IBM forms of one character, unassigned codes, a lead byte without a valid
// trail byte. The preserving conversion below carries every byte exactly:
// a character that converts back to the same bytes is the character, any
// other byte b becomes the lone low surrogate U+DC00 + b, which no CP932
// character converts to. The replay stand-in of the component writes its
// text this way; the bridge reads any component's text this way.
namespace orvalle::cp932 {

// CP932 bytes as UTF-16 text, every byte recoverable.
std::u16string toUtf16Preserving(std::string_view cp932Text);

// UTF-16 text back to CP932 bytes: escaped bytes as they were, other
// characters in their CP932 form; a character CP932 lacks becomes "?".
std::string fromUtf16Preserving(std::u16string_view text);

}  // namespace orvalle::cp932
