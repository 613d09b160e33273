#include "store/code_tables.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::store::codes {
namespace {

struct Case {
  std::string code;
  int selector;
  std::string expected;  // UTF-8
};

// Every code a test iterates: blanks, every one- and two-character code of
// digits and capitals, every three-digit code and the three-character codes
// of a capital and two digits (the race symbols).
std::vector<std::string> allCodes() {
  const std::string chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::vector<std::string> codes = {"", " ", "  ", "   "};
  for (char a : chars) {
    codes.push_back(std::string(1, a));
    for (char b : chars) codes.push_back(std::string{a, b});
  }
  for (int n = 0; n <= 999; ++n) codes.push_back(format("%03d", n));
  for (char a = 'A'; a <= 'Z'; ++a) {
    for (int n = 0; n <= 99; ++n) codes.push_back(a + format("%02d", n));
  }
  return codes;
}

struct Table {
  std::string name;
  std::function<std::string(std::string_view)> convert;
  int width;  // fixed byte width of every result, or -1
};

std::vector<Table> allTables() {
  std::vector<Table> tables;
  for (int s : {0, 1, 2, 3, 9}) {
    tables.push_back({"racecourse " + std::to_string(s),
                      [s](std::string_view c) { return racecourseName(c, s); }, s == 0 ? 6 : -1});
  }
  tables.push_back(
      {"racecourse by index", [](std::string_view c) { return racecourseNameByIndex(c); }, -1});
  for (int s : {1, 2, 3, 4}) {
    tables.push_back({"weekday " + std::to_string(s),
                      [s](std::string_view c) { return weekdayName(c, s); }, -1});
  }
  for (int s : {1, 2, 8, 9}) {
    const int width = s == 1 ? 5 : s == 8 ? 3 : s == 9 ? 18 : -1;
    tables.push_back(
        {"grade " + std::to_string(s), [s](std::string_view c) { return gradeName(c, s); }, width});
  }
  for (int s : {2, 4, 6, 8}) {
    const int width = s == 4 ? 8 : s == 6 ? 12 : s == 8 ? 16 : -1;
    tables.push_back({"race type " + std::to_string(s),
                      [s](std::string_view c) { return raceTypeName(c, s); }, width});
  }
  tables.push_back(
      {"race type print", [](std::string_view c) { return raceTypePrintName(c); }, -1});
  tables.push_back({"race symbol", [](std::string_view c) { return raceSymbolName(c); }, 24});
  tables.push_back({"weight type", [](std::string_view c) { return weightTypeName(c); }, -1});
  tables.push_back({"condition", [](std::string_view c) { return conditionName(c); }, -1});
  tables.push_back({"track", [](std::string_view c) { return trackName(c); }, -1});
  tables.push_back({"track short", [](std::string_view c) { return trackShortName(c); }, -1});
  for (int s : {0, 1, 2}) {
    tables.push_back(
        {"going " + std::to_string(s), [s](std::string_view c) { return goingName(c, s); }, -1});
  }
  tables.push_back({"weather", [](std::string_view c) { return weatherName(c); }, -1});
  tables.push_back({"sex", [](std::string_view c) { return sexName(c); }, -1});
  tables.push_back({"apprentice", [](std::string_view c) { return apprenticeName(c); }, -1});
  tables.push_back({"blinkers", [](std::string_view c) { return blinkersMark(c); }, -1});
  tables.push_back(
      {"blinkers column", [](std::string_view c) { return blinkersColumnMark(c); }, -1});
  tables.push_back({"circled", [](std::string_view c) { return circledNumber(c); }, 2});
  return tables;
}

// Every text of every table is CP932 that survives a round trip through
// UTF-8 and holds no "?" of a literal CP932 could not take; fixed-width
// tables give their width for every code.
TEST(CodeTablesTest, EveryTextIsCp932AndKeepsItsWidth) {
  const std::vector<std::string> codes = allCodes();
  for (const Table& table : allTables()) {
    std::set<std::string> texts;
    for (const std::string& code : codes) {
      std::string text = table.convert(code);
      if (table.width >= 0) {
        ASSERT_EQ(text.size(), static_cast<size_t>(table.width))
            << table.name << " code '" << code << "'";
      }
      texts.insert(std::move(text));
    }
    for (const std::string& text : texts) {
      const std::string utf8 = cp932::toUtf8(text);
      EXPECT_TRUE(cp932::isValid(text)) << table.name << ": " << utf8;
      EXPECT_EQ(cp932::fromUtf8(utf8), text) << table.name << ": " << utf8;
      EXPECT_EQ(text.find('?'), std::string::npos) << table.name << ": " << utf8;
      EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << table.name << ": " << utf8;
    }
  }
  for (int n = -3; n <= 30; ++n) {
    const std::string mark = circledNumber(n);
    EXPECT_EQ(cp932::fromUtf8(cp932::toUtf8(mark)), mark);
    EXPECT_EQ(mark.find('?'), std::string::npos);
  }
}

// Counting the codes each table lists catches a dropped or mistyped entry.
TEST(CodeTablesTest, TablesListTheirCodes) {
  int courses = 0;
  int symbols = 0;
  for (const std::string& code : allCodes()) {
    if (code.size() == 2 && racecourseName(code, 0) != "      ") ++courses;
    if (raceSymbolName(code) != sj("　　　　　　　　　　　　")) ++symbols;
  }
  EXPECT_EQ(courses, 110 - 6);  // six listed codes have no name
  EXPECT_EQ(symbols, 84);
}

TEST(CodeTablesTest, RacecourseNames) {
  const std::vector<Case> cases = {
      {"06", 2, "中山"},
      {"06", 0, "中山  "},
      {"06", 1, "中"},
      {"07", 1, "名"},
      {"10", 3, "小倉"},
      {"01", 9, "札幌競馬場　　　　　"},
      {"32", 0, "岩見沢"},
      {"32", 9, "岩見沢競馬場　　　　"},
      {"49", 0, "紀三井"},
      {"49", 2, "紀三"},
      {"49", 3, "紀三井"},
      {"49", 9, "紀三井寺競馬場　　　"},
      {"58", 9, "札幌競馬場(地方競馬)"},
      {"61", 2, "中京"},
      {"A2", 0, "日本  "},
      {"B4", 0, "ニュー"},
      {"B4", 9, "ニュージーランド　　"},
      {"C7", 9, "アラブ首長国連邦　　"},
      {"M8", 2, "カタ"},
      // Unnamed and unknown codes, and codes that differ only in their text.
      {"C4", 0, "      "},
      {"C4", 2, "    "},
      {"99", 1, "  "},
      {"99", 2, "    "},
      {"99", 3, "      "},
      {"99", 9, "      "},
      {"6", 2, "    "},
      {"a2", 2, "    "},
      {"06 ", 2, "    "},
      {"06", 5, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(racecourseName(c.code, c.selector), sj(c.expected))
        << "code '" << c.code << "' selector " << c.selector;
  }
}

TEST(CodeTablesTest, RacecourseByIndexReadsTheValue) {
  EXPECT_EQ(racecourseNameByIndex(0), sj("京都"));
  EXPECT_EQ(racecourseNameByIndex(5), sj("中山"));
  EXPECT_EQ(racecourseNameByIndex("09"), sj("函館"));
  EXPECT_EQ(racecourseNameByIndex(10), sj("ｿﾉ他"));
  EXPECT_EQ(racecourseNameByIndex(-1), sj("ｿﾉ他"));
}

TEST(CodeTablesTest, WeekdayNames) {
  const std::vector<Case> cases = {
      {"1", 1, "土"},     {"0", 1, "　"},     {" ", 1, "　"},     {"3", 2, "祝日"},
      {"3", 3, "祝日　"}, {"0", 3, "　　　"}, {"8", 3, "金曜日"}, {"1", 4, "月曜日"},
      {"7", 4, "日曜日"}, {"0", 4, ""},       {"8", 4, ""},       {"9", 1, ""},
      {"2", 5, ""},       {"02", 1, "日"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(weekdayName(c.code, c.selector), sj(c.expected))
        << "code '" << c.code << "' selector " << c.selector;
  }
}

TEST(CodeTablesTest, GradeNames) {
  const std::vector<Case> cases = {
      {"A", 1, "G1   "},
      {"D", 1, "重賞 "},
      {"H", 1, "JG3  "},
      {" ", 1, "　　 "},
      {"", 1, "　　 "},
      {"a", 1, "　　 "},
      {"E", 2, ""},
      {"F", 2, "JG1"},
      {"E", 8, "特 "},
      {"X", 8, "　 "},
      {"D", 9, "ｸﾞﾚｰﾄﾞのない重賞　"},
      {"G", 9, "JG2(障害競走)　　 "},
      {"A", 3, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gradeName(c.code, c.selector), sj(c.expected))
        << "code '" << c.code << "' selector " << c.selector;
  }
}

TEST(CodeTablesTest, RaceTypeNames) {
  const std::vector<Case> cases = {
      {"13", 6, "サラ系３歳上"},
      {"18", 6, "障害３歳上　"},
      {"99", 6, "　　　　　　"},
      {"19", 2, "４上"},
      {"21", 2, "２歳"},
      {"99", 2, "　　　　"},
      {"24", 4, "アラ４上"},
      {"18", 8, "サラ障害３歳以上"},
      {"11", 8, "サラ系２歳　　　"},
      {"11", 9, ""},
      {"11", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(raceTypeName(c.code, c.selector), sj(c.expected))
        << "code '" << c.code << "' selector " << c.selector;
  }
  EXPECT_EQ(raceTypePrintName("11"), sj("ｻﾗ系2歳        "));
  EXPECT_EQ(raceTypePrintName("19"), sj("ｻﾗ系障害4歳以上"));
  EXPECT_EQ(raceTypePrintName("23"), sj("ｱﾗ系3歳以上    "));
  EXPECT_EQ(raceTypePrintName("15"), "");
  for (const char* code : {"11", "12", "13", "14", "18", "19", "21", "22", "23", "24"}) {
    EXPECT_EQ(raceTypePrintName(code).size(), 15u) << code;
  }
}

TEST(CodeTablesTest, RaceSymbolsArePaddedToTwentyFourBytes) {
  const std::vector<Case> cases = {
      {"A13", 0, "(混合)牡[指定]　　　　　"}, {"N44", 0, "(国際)牡・牝(特指)　　　"},
      {"N31", 0, "(国際)牡・ｾﾝ(指定)　　　"}, {"002", 0, "若手騎手　　　　　　　　"},
      {"A02", 0, "(混合)・若手騎手　　　　"}, {"K03", 0, "(市)(抽)関西配布馬[指定]"},
      {"M04", 0, "九州産馬(特指)　　　　　"}, {"001", 0, "(指定)　　　　　　　　　"},
      {"000", 0, "　　　　　　　　　　　　"}, {"A12", 0, "　　　　　　　　　　　　"},
      {"a13", 0, "　　　　　　　　　　　　"}, {"A1", 0, "　　　　　　　　　　　　"},
  };
  for (const Case& c : cases) EXPECT_EQ(raceSymbolName(c.code), sj(c.expected)) << c.code;
}

TEST(CodeTablesTest, ConditionsReadTheValue) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"016", "1600万下"}, {"005", " 500万下"}, {"001", " 100万下"}, {"099", "9900万下"},
      {"100", "1億下"},    {"701", "新馬"},     {"702", "未出走"},   {"703", "未勝利"},
      {"999", "オープン"}, {"000", ""},         {"   ", ""},         {"101", ""},
      {"-05", ""},         {"A05", ""},
  };
  for (const auto& [code, expected] : cases) EXPECT_EQ(conditionName(code), sj(expected)) << code;
}

TEST(CodeTablesTest, TrackForms) {
  EXPECT_EQ(trackName("25"), sj("ﾀﾞｰﾄ 左回り 内回り"));
  EXPECT_EQ(trackShortName("25"), "");
  EXPECT_EQ(trackName("10"), sj("芝 直線"));
  EXPECT_EQ(trackName("51"), sj("障害 芝　襷"));
  EXPECT_EQ(trackName("59"), sj("障害 外２周"));
  EXPECT_EQ(trackName("30"), "");
  EXPECT_EQ(trackName("60"), "");
  EXPECT_EQ(trackName("  "), "");
  const std::vector<std::pair<int, std::string>> shortForms = {
      {10, "芝直"}, {11, "芝左"}, {16, "芝左"}, {17, "芝右"}, {22, "芝右"},
      {23, "ダ左"}, {24, "ダ右"}, {28, ""},     {29, "ダ直"}, {50, ""},
      {51, "障害"}, {59, "障害"}, {60, ""},     {0, ""},
  };
  for (const auto& [code, expected] : shortForms) {
    EXPECT_EQ(trackShortName(format("%02d", code)), sj(expected)) << code;
  }
}

TEST(CodeTablesTest, SmallTables) {
  EXPECT_EQ(goingName("2", 0), sj("稍重"));
  EXPECT_EQ(goingName("4", 1), sj("芝:不良"));
  EXPECT_EQ(goingName("1", 2), sj("ダ:良"));
  EXPECT_EQ(goingName("0", 0), "");
  EXPECT_EQ(goingName("1", 3), "");
  EXPECT_EQ(weatherName("6"), sj("小雪"));
  EXPECT_EQ(weatherName("7"), "");
  EXPECT_EQ(weightTypeName("1"), sj("ﾊﾝﾃﾞ"));
  EXPECT_EQ(weightTypeName("0"), "");
  EXPECT_EQ(sexName("3"), sj("ｾﾝ"));
  EXPECT_EQ(sexName(" "), "");
  EXPECT_EQ(apprenticeName("2"), sj("2kg減"));
  EXPECT_EQ(apprenticeName("0"), sj("　"));
  EXPECT_EQ(blinkersMark("1"), sj("ﾌﾞﾘﾝ"));
  EXPECT_EQ(blinkersMark(" "), " ");
  EXPECT_EQ(blinkersColumnMark("1"), sj("○"));
  EXPECT_EQ(blinkersColumnMark("0"), "\x81\x7C");  // CP932 "－"
  EXPECT_EQ(circledNumber(1), "\x87\x40");         // CP932 "①"
  EXPECT_EQ(circledNumber(18), sj("⑱"));
  EXPECT_EQ(circledNumber("07"), sj("⑦"));
  EXPECT_EQ(circledNumber(0), sj("－"));
  EXPECT_EQ(circledNumber(19), sj("－"));
  EXPECT_EQ(circledNumber("  "), sj("－"));
}

}  // namespace
}  // namespace orvalle::store::codes
