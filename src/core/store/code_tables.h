#pragma once

#include <string>
#include <string_view>

// Conversions from JV-Data codes to display text. Every result is CP932.
namespace orvalle::store::codes {

// Racecourse name of a racecourse code (compared as text). Selector 0: six
// bytes; 1: one character; 2: two characters without trailing blanks (the
// name used in SE day file names and race lists); 3: up to three characters;
// 9: full name, 20 bytes.
std::string racecourseName(std::string_view code, int selector);

}  // namespace orvalle::store::codes
