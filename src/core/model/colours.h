#pragma once

#include <cstdint>

namespace orvalle::model {

// A colour a grid is drawn with, as data for the GUI: an RGB value,
// or a colour of the desktop that the GUI looks up itself (the tool-tip
// background, the grid's own font colour).
struct Colour {
  enum class Kind : uint8_t { kRgb, kToolTipBackground, kGridFont };

  Kind kind = Kind::kRgb;
  uint32_t rgb = 0;  // 0xRRGGBB when kind is kRgb, else 0

  static constexpr Colour fromRgb(uint32_t value) { return {Kind::kRgb, value}; }
  bool operator==(const Colour&) const = default;
};

namespace colours {
inline constexpr Colour kWhite = Colour::fromRgb(0xFFFFFF);
inline constexpr Colour kBlack = Colour::fromRgb(0x000000);
inline constexpr Colour kSilver = Colour::fromRgb(0xC0C0C0);
inline constexpr Colour kGrey = Colour::fromRgb(0x808080);
inline constexpr Colour kRed = Colour::fromRgb(0xFF0000);
inline constexpr Colour kBlue = Colour::fromRgb(0x0000FF);
inline constexpr Colour kYellow = Colour::fromRgb(0xFFFF00);
inline constexpr Colour kGreen = Colour::fromRgb(0x00FF00);
inline constexpr Colour kOrange = Colour::fromRgb(0xFF8000);
inline constexpr Colour kMagenta = Colour::fromRgb(0xFF00FF);
inline constexpr Colour kLightYellow = Colour::fromRgb(0xFFFF80);
inline constexpr Colour kLightCyan = Colour::fromRgb(0xC4FFFF);
inline constexpr Colour kBrightCyan = Colour::fromRgb(0x80FFFF);
inline constexpr Colour kPaleCyan = Colour::fromRgb(0xBFFFFF);
inline constexpr Colour kLightGrey = Colour::fromRgb(0xD5D5D5);
inline constexpr Colour kDarkRed = Colour::fromRgb(0x800000);  // also called maroon
inline constexpr Colour kDarkGreen = Colour::fromRgb(0x008000);
inline constexpr Colour kLightGreen = Colour::fromRgb(0x80FF80);
inline constexpr Colour kPaleGreen = Colour::fromRgb(0xA4FFA4);
inline constexpr Colour kGreenYellow = Colour::fromRgb(0x2FFF97);
inline constexpr Colour kPink = Colour::fromRgb(0xFFB9FF);
inline constexpr Colour kToolTipBackground{Colour::Kind::kToolTipBackground, 0};
inline constexpr Colour kGridFont{Colour::Kind::kGridFont, 0};
}  // namespace colours

// The background of a bracket: 1 white, 2 grey, 3 red, 4 blue, 5 yellow,
// 6 green, 7 orange, 8 magenta; any other value white.
Colour bracketColour(int bracket);

// The colour of a bracket's digit on its background: black on the light
// brackets 1 and 5, white on the others.
Colour bracketDigitColour(int bracket);

// The colour of a rank or a finishing position: red for 1, blue for 2 and 3,
// `otherwise` for every other value.
Colour placeColour(int value, Colour otherwise);

}  // namespace orvalle::model
