#include "store/horse_files.h"

#include <gtest/gtest.h>

namespace orvalle::store {
namespace {

TEST(HorseFilesTest, PathsOfAHorse) {
  std::filesystem::path sei = "/home/o/SEI";
  EXPECT_EQ(pastRunFilePath(sei, "2021100446"), sei / "2021" / "2021100446.kak");
  EXPECT_EQ(predictionFilePath(sei, "2021100446"), sei / "2021" / "2021100446.yos");
  EXPECT_EQ(horseFolder(sei, "A0b1C2d3E4"), sei / "A0b1");
  EXPECT_EQ(pastRunFilePath(sei, "A0b1C2d3E4"), sei / "A0b1" / "A0b1C2d3E4.kak");
}

TEST(HorseFilesTest, InvalidRegistrationNumbersNameNoFile) {
  const std::string invalid[] = {
      "",
      "../x",
      "../../abcd",   // ten characters
      "202110044",    // nine
      "20211004467",  // eleven
      "2021/00446",
      "2021\\00446",
      "2021 00446",
      "          ",
      "..20211004",
      std::string("2021\0"
                  "00446",
                  10),
      "20211004\x82\x4f",     // a two-byte character
      "2021100\xb1\xb2\xb3",  // half-width kana
  };
  std::filesystem::path sei = "SEI";
  for (const std::string& number : invalid) {
    EXPECT_FALSE(isValidRegistrationNumber(number)) << number;
    EXPECT_EQ(horseFolder(sei, number), std::nullopt) << number;
    EXPECT_EQ(pastRunFilePath(sei, number), std::nullopt) << number;
    EXPECT_EQ(predictionFilePath(sei, number), std::nullopt) << number;
  }
}

}  // namespace
}  // namespace orvalle::store
