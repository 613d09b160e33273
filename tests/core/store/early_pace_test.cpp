#include "store/early_pace.h"

#include <gtest/gtest.h>

namespace orvalle::store::codes {
namespace {

TEST(EarlyPaceTest, Figures) {
  struct Case {
    std::string raceTime, last3, distance, expected;
  };
  const std::vector<Case> cases = {
      // 1:11.8 = 718 tenths, 718 - 352 = 366 over the first 600 m of 1200 m.
      {"1118", "352", "1200", "366"},
      // 1:34.5 = 945; 945 - 345 = 600 over 1000 m: 600 / 10 * 6 = 360.
      {"1345", "345", "1600", "360"},
      // 2:01.2 = 1212; 1212 - 355 = 857; 857 / 14 * 6 = 367.29.
      {"2012", "355", "2000", "367"},
      // 1:08.5 = 685; 685 - 370 = 315; 315 / 5.5 * 6 = 343.6 (the distance
      // is divided as a real number).
      {"1085", "370", "1150", "344"},
      // 3:45.0 = 2250; 2250 - 400 = 1850; 1850 / 30 * 6 = 370.
      {"3450", "400", "3600", "370"},
      // Blank or zero fields.
      {"    ", "352", "1200", "   "},
      {"0000", "352", "1200", "   "},
      {"1118", "000", "1200", "   "},
      {"1118", "   ", "1200", "   "},
      {"1118", "352", "0000", "   "},
      {"1118", "352", "    ", "   "},
      // No part before the last 600 m.
      {"0352", "352", "600", "   "},
      {"0352", "300", "0500", "   "},
      // Junk, a short field, the 999 of a runner that did not finish, a
      // figure that would not fit three places.
      {"1a18", "352", "1200", "   "},
      {"118", "352", "1200", "   "},
      {"1118", "999", "1200", "   "},
      {"9599", "300", "0601", "   "},
  };
  for (const Case& c : cases) {
    const std::string figure = earlyPaceFigure(c.raceTime, c.last3, c.distance);
    EXPECT_EQ(figure, c.expected) << c.raceTime << " " << c.last3 << " " << c.distance;
    EXPECT_EQ(figure.size(), 3u);
  }
}

}  // namespace
}  // namespace orvalle::store::codes
