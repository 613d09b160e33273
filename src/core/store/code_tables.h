#pragma once

#include <string>
#include <string_view>

// Conversions from JV-Data codes to display text. Every function takes the
// code as it stands in the record and returns CP932 text; none has state,
// none fails. Tables "by value" read the code with store::toInt (so "06" and
// "6" agree and blanks or junk read 0); the others compare the code's text
// exactly. A code a table does not list gives that table's other result
// (blanks of its width, or the empty text, as stated per function). A
// selector picks one rendering of the same codes; a selector a table does
// not have gives the empty text.
namespace orvalle::store::codes {

// Racecourse name of a racecourse code (110 codes: the ten JRA racecourses
// "01"-"10", local-government racecourses "30"-"61", countries "A0"-"M8").
// Selector 0: six bytes (a two-character name and two ASCII blanks, longer
// names cut to three characters) — the race list; 1: one character; 2: two
// characters without trailing blanks — SE day file names, race lists,
// headers, print-outs; 3: up to three characters; 9: full name ("...競馬場",
// "...競馬場(地方競馬)" for 58-61, countries written out) padded with "　"
// to 20 bytes. A code not listed, or one of the unnamed codes C4, F4, F6,
// G4, G6, G8, gives six ASCII blanks for selectors 0, 3 and 9, two for
// selector 1 and four for selector 2.
std::string racecourseName(std::string_view code, int selector);

// Racecourse of the KOL racecourse coding, by value: 0 "京都", 1 "阪神",
// 2 "中京", 3 "小倉", 4 "東京", 5 "中山", 6 "福島", 7 "新潟", 8 "札幌",
// 9 "函館"; other "ｿﾉ他".
std::string racecourseNameByIndex(int index);
std::string racecourseNameByIndex(std::string_view code);

// Weekday of a weekday code, by value. Selector 1: one character ("土"; code
// 0 "　"); 2: two characters ("土曜"); 3: three characters ("土曜日", "祝日　").
// Selector 4 numbers the days from Monday: 1 "月曜日" ... 7 "日曜日"; 0 and 8
// give the empty text. Other codes give the empty text.
std::string weekdayName(std::string_view code, int selector);
std::string weekdayName(int code, int selector);

// Grade of a grade code ("A"-"H"). Selector 1: five bytes ("G1   ", "重賞 ",
// "JG3  "; other "　　 "); 2: "G1".."JG3" for graded races, empty otherwise;
// 8: three bytes ("G1 ", "重 "; other "　 "); 9: 18 bytes ("G1(平地競走)　　　";
// other nine "　").
std::string gradeName(std::string_view code, int selector);

// Race type of a race type code (11-14, 18, 19, 21-24). Selector 6: twelve
// bytes ("サラ系３歳上"; other six "　"); 2: two characters ("３上"; other four
// "　"); 4: four characters ("サラ３上"; other four "　"); 8: 16 bytes
// ("サラ系３歳以上　"; other eight "　"). There is no selector 9.
std::string raceTypeName(std::string_view code, int selector);

// The printing form of a race type code, by value: 15 bytes of half-width
// text ("ｻﾗ系3歳以上    "); other codes give the empty text.
std::string raceTypePrintName(std::string_view code);

// Race symbols of a three-character race symbol code ("A13" -> "(混合)牡[指定]"),
// padded with "　" to 24 bytes; a code not listed gives twelve "　".
std::string raceSymbolName(std::string_view code);

// Weight type: "1" "ﾊﾝﾃﾞ", "2" "別定", "3" "馬齢", "4" "定量"; other empty.
std::string weightTypeName(std::string_view code);

// Entry condition of a condition code, by value: 1-99 the value times 100 in
// four places and "万下" (16 -> "1600万下", 5 -> " 500万下"), 100 "1億下",
// 701 "新馬", 702 "未出走", 703 "未勝利", 999 "オープン"; other empty.
std::string conditionName(std::string_view code);
std::string conditionName(int code);

// Track of a track code, by value, long form ("ﾀﾞｰﾄ 左回り 内回り"); codes
// not listed give the empty text.
std::string trackName(std::string_view code);

// Track of a track code, by value, short form: 10 "芝直", 11-16 "芝左",
// 17-22 "芝右", 23 "ダ左", 24 "ダ右", 29 "ダ直", 51-59 "障害"; other codes
// (25-28 included) give the empty text.
std::string trackShortName(std::string_view code);

// Going of a going code ("1"-"4"): selector 0 "良", "稍重", "重", "不良";
// selector 1 the same after "芝:", selector 2 after "ダ:"; other empty.
std::string goingName(std::string_view code, int selector);

// Weather: "1" "晴", "2" "曇", "3" "雨", "4" "小雨", "5" "雪", "6" "小雪";
// other empty.
std::string weatherName(std::string_view code);

// Sex: "1" "牡", "2" "牝", "3" "ｾﾝ"; other empty.
std::string sexName(std::string_view code);

// Apprentice allowance: "1" "1kg減", "2" "2kg減", "3" "3kg減"; other "　".
std::string apprenticeName(std::string_view code);

// Blinkers mark of the blinkers field: "1" "ﾌﾞﾘﾝ", anything else one ASCII
// blank.
std::string blinkersMark(std::string_view blinkers);

// Blinkers column mark of the blinkers field: "1" "○", anything else "－".
std::string blinkersColumnMark(std::string_view blinkers);

// Circled number: 1-18 give "①"-"⑱", anything else "－". The text form
// reads the text by value.
std::string circledNumber(int number);
std::string circledNumber(std::string_view number);

}  // namespace orvalle::store::codes
