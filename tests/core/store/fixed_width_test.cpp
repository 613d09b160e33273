#include "store/fixed_width.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::store {
namespace {

TEST(FixedWidthTest, FieldIsClippedToTheRecord) {
  EXPECT_EQ(field("RA7", 1, 2), "RA");
  EXPECT_EQ(field("RA7", 3, 5), "7");
  EXPECT_EQ(field("RA7", 4, 2), "");
  EXPECT_EQ(field("RA7", 0, 2), "");
}

TEST(FixedWidthTest, NumbersThatDoNotConvertReadZero) {
  EXPECT_EQ(toInt("0570"), 570);
  EXPECT_EQ(toInt(" 12"), 12);
  EXPECT_EQ(toInt("12 "), 12);
  EXPECT_EQ(toInt("   "), 0);
  EXPECT_EQ(toInt(""), 0);
  EXPECT_EQ(toInt("A03"), 0);
  EXPECT_EQ(toInt("1 2"), 0);
  EXPECT_EQ(toInt("-5"), -5);
  EXPECT_EQ(toInt("-"), 0);
  EXPECT_EQ(toInt("99999999999"), 0);
  EXPECT_EQ(toInt(sj("１２")), 0);
}

TEST(FixedWidthTest, FitWidthNeverSplitsATwoByteCharacter) {
  std::string name = sj("アイウ");  // six bytes
  EXPECT_EQ(fitWidth(name, 6), name);
  EXPECT_EQ(fitWidth(name, 5), sj("アイ") + " ");
  EXPECT_EQ(fitWidth(name, 8), name + "  ");
  EXPECT_EQ(fitWidth("ab" + name, 3), "ab ");
  EXPECT_EQ(fitWidthRight("12", 4), "  12");
}

TEST(FixedWidthTest, FullWidthBlanksAreRemovedOnlyAsWholeCharacters) {
  EXPECT_EQ(withoutFullWidthBlanks(sj("ア　イ　　")), sj("アイ"));
  // "ー" is 0x81 0x5B: its trail byte followed by "@" must not be taken for a blank.
  std::string tricky = sj("ー") + "\x40";
  EXPECT_EQ(withoutFullWidthBlanks(tricky), tricky);
}

TEST(FixedWidthTest, NumberInOwnWidth) {
  EXPECT_EQ(numberInOwnWidth("05"), " 5");
  EXPECT_EQ(numberInOwnWidth("00"), "  ");
  EXPECT_EQ(numberInOwnWidth("  "), "  ");
  EXPECT_EQ(numberInWidth(7, 3), "  7");
  EXPECT_EQ(numberInWidth(0, 3, true), "");
}

TEST(FixedWidthTest, HorseNameFormIsEighteenBytes) {
  EXPECT_EQ(horseName18(sj("アイウ") + "  "), sj("アイウ　　　　　　"));
  EXPECT_EQ(horseName18(sj("アイウエオカキクケコ")), sj("アイウエオカキクケ"));
  // An odd-length name cannot be padded by a whole "　": the last byte is a blank.
  EXPECT_EQ(horseName18("A" + sj("アイウ")).size(), 18u);
  EXPECT_EQ(horseName18("A" + sj("アイウ")).back(), ' ');
}

TEST(FixedWidthTest, OverwriteReplacesInPlace) {
  EXPECT_EQ(overwrite("RA720240105", 4, "00000000"), "RA700000000");
  EXPECT_EQ(overwrite("abc", 3, "XYZ"), "abXYZ");
}

}  // namespace
}  // namespace orvalle::store
