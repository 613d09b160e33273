#include "store/cp932_utf16.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::cp932 {
namespace {

TEST(Cp932Utf16Test, EveryByteAndEveryLeadByteWithEveryTrailByteComesBackUnchanged) {
  std::string all;
  for (int byte = 0; byte < 0x100; ++byte) {
    all.push_back(static_cast<char>(byte));
    all.push_back(' ');  // a lead byte here takes the blank as its (invalid) trail
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0; trail < 0x100; ++trail) {
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(trail));
    }
  }
  all.push_back('\x81');  // a lead byte at the very end
  EXPECT_EQ(fromUtf16Preserving(toUtf16Preserving(all)), all);
}

TEST(Cp932Utf16Test, CharactersStayCharactersAndOnlyUnkeptBytesAreEscaped) {
  const std::string text = sj("中山11R ｱｲｳ") + "\r\n";
  const std::u16string utf16 = toUtf16Preserving(text);
  EXPECT_EQ(utf16, u"中山11R ｱｲｳ\r\n");
  // 0xED40 is the NEC form of a character whose IBM form 0xFA5C is the one
  // the system converts back to: its lead byte is escaped (the trail byte is
  // then "@"), the IBM form is not.
  EXPECT_EQ(toUtf16Preserving("\xED\x40"), (std::u16string{0xDCED, u'@'}));
  EXPECT_EQ(toUtf16Preserving("\xFA\x5C").size(), 1u);
  // Text from a component that converted either form gives the kept form.
  EXPECT_EQ(fromUtf16Preserving(toUtf16Preserving("\xFA\x5C")), "\xFA\x5C");
  EXPECT_EQ(fromUtf16Preserving(u"\U0001F600"), "??");  // no CP932 form
}

}  // namespace
}  // namespace orvalle::cp932
