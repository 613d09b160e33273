#include "app/user_input.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::app {
namespace {

TEST(UserInputTest, TypedTextBecomesCp932OnlyWhenEveryCharacterHasAForm) {
  const struct {
    const char* utf8;
    const char* message;  // empty: converted
  } cases[] = {
      {"アルファ", ""},
      {"①ﾎｰｽ－", ""},  // CP932 only: circled digits, half-width kana
      {"a?b", ""},     // a question mark of its own stays
      {"", ""},
      {"\xF0\x9F\x90\x8E", "値に Shift-JIS (CP932) で表せない文字が含まれています。"},
      {"ア\xC3\xA9", "値に Shift-JIS (CP932) で表せない文字が含まれています。"},
      {"\xFF", "値が UTF-8 の文字列ではありません。"},
      {"\xE3\x82", "値が UTF-8 の文字列ではありません。"},  // cut short
  };
  for (const auto& c : cases) {
    Input input = cp932Input(c.utf8);
    EXPECT_EQ(input.status.message(), c.message) << c.utf8;
    if (input) {
      EXPECT_EQ(input.value, sj(c.utf8));
    }
  }
}

TEST(UserInputTest, ADayIsAStemOrEightDigitsOfACalendarDate) {
  const struct {
    const char* text;
    const char* stem;  // empty: refused
  } cases[] = {
      {"20240106", "2024年01月06日"},
      {"2024年01月06日", "2024年01月06日"},
      {"20240229", "2024年02月29日"},
      {"20230229", ""},
      {"2024年13月01日", ""},
      {"2024-01-06", ""},
      {"2024010", ""},
      {"", ""},
      {"../20240106", ""},
  };
  for (const auto& c : cases) {
    Input day = dayInput(c.text);
    EXPECT_EQ(day.value, c.stem) << c.text;
    EXPECT_EQ(day.ok(), std::string(c.stem) != "") << c.text;
    if (!day) {
      EXPECT_EQ(day.status.message(),
                std::string("日付は yyyymmdd か yyyy年mm月dd日 で指定してください: ") + c.text);
    }
  }
}

}  // namespace
}  // namespace orvalle::app
