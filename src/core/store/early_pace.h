#pragma once

#include <string>
#include <string_view>

namespace orvalle::store::codes {

// The early-pace figure of a past run: the time the runner took before the
// last 600 m, scaled to 600 m, in tenths of a second, written "%3.0f" and cut
// to three characters. Takes the race time field (four digits m SSS: minutes,
// then seconds and tenths), the last 3 furlongs field (tenths of a second)
// and the distance field (metres). Three ASCII blanks when a field is blank,
// zero or junk, when the distance is 600 m or less (no part before the last
// 600 m), when the time before the last 600 m is not positive, or when the
// figure would not fit three places.
std::string earlyPaceFigure(std::string_view raceTime, std::string_view last3Furlongs,
                            std::string_view distance);

}  // namespace orvalle::store::codes
