#include "store/code_tables.h"

#include <array>
#include <cstddef>
#include <functional>
#include <map>

#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::store::codes {
namespace {

constexpr std::string_view kFullWidthBlank = "\x81\x40";

// Byte length of the CP932 character that starts at `i`.
size_t charLength(std::string_view text, size_t i) {
  if (cp932::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) return 2;
  return 1;
}

// The first `count` characters of a CP932 text.
std::string firstChars(std::string_view text, size_t count) {
  size_t end = 0;
  for (size_t n = 0; n < count && end < text.size(); ++n) end += charLength(text, end);
  return std::string(text.substr(0, end));
}

// The text padded with "　" to `width` bytes; an odd byte left over becomes an
// ASCII blank.
std::string padFullWidth(std::string text, size_t width) {
  while (text.size() + kFullWidthBlank.size() <= width) text.append(kFullWidthBlank);
  if (text.size() < width) text.push_back(' ');
  return text;
}

std::string fullWidthBlanks(size_t count) { return padFullWidth({}, count * 2); }

// CP932 forms of a list of UTF-8 literals, converted once by the caller's
// function-local static.
template <size_t N>
std::array<std::string, N> toCp932(const std::array<std::string_view, N>& texts) {
  std::array<std::string, N> out;
  for (size_t i = 0; i < N; ++i) out[i] = sj(texts[i]);
  return out;
}

// Index of `code` in `codes`, or codes.size() when it is not listed.
template <size_t N>
size_t indexOf(const std::array<std::string_view, N>& codes, std::string_view code) {
  for (size_t i = 0; i < N; ++i) {
    if (codes[i] == code) return i;
  }
  return N;
}

// ---------------------------------------------------------------------------
// Racecourses

enum class CourseKind { kJra, kLocal, kLocalAtJra, kCountry };

struct CourseSource {
  std::string_view code;
  std::string_view name;  // empty for the listed codes that have no name
  CourseKind kind;
};

constexpr CourseSource kCourses[] = {
    {"01", "札幌", CourseKind::kJra},
    {"02", "函館", CourseKind::kJra},
    {"03", "福島", CourseKind::kJra},
    {"04", "新潟", CourseKind::kJra},
    {"05", "東京", CourseKind::kJra},
    {"06", "中山", CourseKind::kJra},
    {"07", "中京", CourseKind::kJra},
    {"08", "京都", CourseKind::kJra},
    {"09", "阪神", CourseKind::kJra},
    {"10", "小倉", CourseKind::kJra},
    {"30", "門別", CourseKind::kLocal},
    {"31", "北見", CourseKind::kLocal},
    {"32", "岩見沢", CourseKind::kLocal},
    {"33", "帯広", CourseKind::kLocal},
    {"34", "旭川", CourseKind::kLocal},
    {"35", "盛岡", CourseKind::kLocal},
    {"36", "水沢", CourseKind::kLocal},
    {"37", "上山", CourseKind::kLocal},
    {"38", "三条", CourseKind::kLocal},
    {"39", "足利", CourseKind::kLocal},
    {"40", "宇都宮", CourseKind::kLocal},
    {"41", "高崎", CourseKind::kLocal},
    {"42", "浦和", CourseKind::kLocal},
    {"43", "船橋", CourseKind::kLocal},
    {"44", "大井", CourseKind::kLocal},
    {"45", "川崎", CourseKind::kLocal},
    {"46", "金沢", CourseKind::kLocal},
    {"47", "笠松", CourseKind::kLocal},
    {"48", "名古屋", CourseKind::kLocal},
    {"49", "紀三井寺", CourseKind::kLocal},
    {"50", "園田", CourseKind::kLocal},
    {"51", "姫路", CourseKind::kLocal},
    {"52", "益田", CourseKind::kLocal},
    {"53", "福山", CourseKind::kLocal},
    {"54", "高知", CourseKind::kLocal},
    {"55", "佐賀", CourseKind::kLocal},
    {"56", "荒尾", CourseKind::kLocal},
    {"57", "中津", CourseKind::kLocal},
    {"58", "札幌", CourseKind::kLocalAtJra},
    {"59", "函館", CourseKind::kLocalAtJra},
    {"60", "新潟", CourseKind::kLocalAtJra},
    {"61", "中京", CourseKind::kLocalAtJra},
    {"A0", "その他の外国", CourseKind::kCountry},
    {"A2", "日本", CourseKind::kCountry},
    {"A4", "アメリカ", CourseKind::kCountry},
    {"A6", "イギリス", CourseKind::kCountry},
    {"A8", "フランス", CourseKind::kCountry},
    {"B0", "インド", CourseKind::kCountry},
    {"B2", "アイルランド", CourseKind::kCountry},
    {"B4", "ニュージーランド", CourseKind::kCountry},
    {"B6", "オーストラリア", CourseKind::kCountry},
    {"B8", "カナダ", CourseKind::kCountry},
    {"C0", "イタリア", CourseKind::kCountry},
    {"C2", "ドイツ", CourseKind::kCountry},
    {"C4", "", CourseKind::kCountry},
    {"C5", "オマーン", CourseKind::kCountry},
    {"C6", "イラク", CourseKind::kCountry},
    {"C7", "アラブ首長国連邦", CourseKind::kCountry},
    {"C8", "シリア", CourseKind::kCountry},
    {"D0", "スウェーデン", CourseKind::kCountry},
    {"D2", "ハンガリー", CourseKind::kCountry},
    {"D4", "ポルトガル", CourseKind::kCountry},
    {"D6", "ロシア", CourseKind::kCountry},
    {"D8", "ウルグアイ", CourseKind::kCountry},
    {"E0", "ペルー", CourseKind::kCountry},
    {"E2", "アルゼンチン", CourseKind::kCountry},
    {"E4", "ブラジル", CourseKind::kCountry},
    {"E6", "ベルギー", CourseKind::kCountry},
    {"E8", "トルコ", CourseKind::kCountry},
    {"F0", "韓国", CourseKind::kCountry},
    {"F1", "中国", CourseKind::kCountry},
    {"F2", "チリ", CourseKind::kCountry},
    {"F4", "", CourseKind::kCountry},
    {"F6", "", CourseKind::kCountry},
    {"F8", "パナマ", CourseKind::kCountry},
    {"G0", "香港", CourseKind::kCountry},
    {"G2", "スペイン", CourseKind::kCountry},
    {"G4", "", CourseKind::kCountry},
    {"G6", "", CourseKind::kCountry},
    {"G8", "", CourseKind::kCountry},
    {"H0", "西ドイツ", CourseKind::kCountry},
    {"H2", "南アフリカ", CourseKind::kCountry},
    {"H4", "スイス", CourseKind::kCountry},
    {"H6", "モナコ", CourseKind::kCountry},
    {"H8", "フィリピン", CourseKind::kCountry},
    {"I0", "プエルトリコ", CourseKind::kCountry},
    {"I2", "コロンビア", CourseKind::kCountry},
    {"I4", "チェコスロバキア", CourseKind::kCountry},
    {"I6", "チェコ", CourseKind::kCountry},
    {"I8", "スロバキア", CourseKind::kCountry},
    {"J0", "エクアドル", CourseKind::kCountry},
    {"J2", "ギリシャ", CourseKind::kCountry},
    {"J4", "マレーシア", CourseKind::kCountry},
    {"J6", "メキシコ", CourseKind::kCountry},
    {"J8", "モロッコ", CourseKind::kCountry},
    {"K0", "パキスタン", CourseKind::kCountry},
    {"K2", "ポーランド", CourseKind::kCountry},
    {"K4", "パラグアイ", CourseKind::kCountry},
    {"K6", "サウジアラビア", CourseKind::kCountry},
    {"K8", "キプロス", CourseKind::kCountry},
    {"L0", "タイ", CourseKind::kCountry},
    {"L2", "ウクライナ", CourseKind::kCountry},
    {"L4", "ベネズエラ", CourseKind::kCountry},
    {"L6", "ユーゴスラビア", CourseKind::kCountry},
    {"L8", "デンマーク", CourseKind::kCountry},
    {"M0", "シンガポール", CourseKind::kCountry},
    {"M2", "マカオ", CourseKind::kCountry},
    {"M4", "オーストリア", CourseKind::kCountry},
    {"M6", "ヨルダン", CourseKind::kCountry},
    {"M8", "カタール", CourseKind::kCountry},
};
static_assert(std::size(kCourses) == 110);

// The five renderings of one racecourse code.
struct CourseNames {
  std::string six;        // selector 0
  std::string one;        // selector 1
  std::string two;        // selector 2
  std::string upToThree;  // selector 3
  std::string full;       // selector 9
};

using CourseTable = std::map<std::string, CourseNames, std::less<>>;

CourseNames courseNames(const CourseSource& source) {
  const std::string name = sj(source.name);
  CourseNames names;
  names.six = fitWidth(name, 6);
  // Chukyo (07, and 61 for local racing held there) is "名" (Nagoya) in one
  // character: "中" stands for Nakayama.
  names.one = source.name == "中京" ? sj("名") : firstChars(name, 1);
  names.two = firstChars(name, 2);
  names.upToThree = firstChars(name, 3);
  switch (source.kind) {
    case CourseKind::kJra:
    case CourseKind::kLocal:
      names.full = padFullWidth(name + sj("競馬場"), 20);
      break;
    case CourseKind::kLocalAtJra:
      names.full = padFullWidth(name + sj("競馬場(地方競馬)"), 20);
      break;
    case CourseKind::kCountry:
      names.full = padFullWidth(name, 20);
      break;
  }
  return names;
}

const CourseTable& courseTable() {
  static const CourseTable table = [] {
    CourseTable out;
    // Unnamed codes are left out: they render like codes that are not listed.
    for (const CourseSource& source : kCourses) {
      if (!source.name.empty()) out.emplace(std::string(source.code), courseNames(source));
    }
    return out;
  }();
  return table;
}

// ---------------------------------------------------------------------------
// Race types

constexpr std::array<std::string_view, 10> kRaceTypeCodes = {"11", "12", "13", "14", "18",
                                                             "19", "21", "22", "23", "24"};

// Renderings of the race types in the order of kRaceTypeCodes, the other
// result last.
using RaceTypeTexts = std::array<std::string, kRaceTypeCodes.size() + 1>;

const RaceTypeTexts* raceTypeTexts(int selector) {
  static const RaceTypeTexts kSelector2 = toCp932(std::array<std::string_view, 11>{
      "２歳", "３歳", "３上", "４上", "３上", "４上", "２歳", "３歳", "３上", "４上", "　　　　"});
  static const RaceTypeTexts kSelector4 = toCp932(std::array<std::string_view, 11>{
      "サラ２歳", "サラ３歳", "サラ３上", "サラ４上", "障害３上", "障害４上", "アラ２歳",
      "アラ３歳", "アラ３上", "アラ４上", "　　　　"});
  static const RaceTypeTexts kSelector6 = toCp932(std::array<std::string_view, 11>{
      "サラ系２歳　", "サラ系３歳　", "サラ系３歳上", "サラ系４歳上", "障害３歳上　",
      "障害４歳上　", "アラ系２歳　", "アラ系３歳　", "アラ系３歳上", "アラ系４歳上",
      "　　　　　　"});
  static const RaceTypeTexts kSelector8 = toCp932(std::array<std::string_view, 11>{
      "サラ系２歳　　　", "サラ系３歳　　　", "サラ系３歳以上　", "サラ系４歳以上　",
      "サラ障害３歳以上", "サラ障害４歳以上", "アラブ系２歳　　", "アラブ系３歳　　",
      "アラブ系３歳以上", "アラブ系４歳以上", "　　　　　　　　"});
  switch (selector) {
    case 2:
      return &kSelector2;
    case 4:
      return &kSelector4;
    case 6:
      return &kSelector6;
    case 8:
      return &kSelector8;
    default:
      return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Race symbols

constexpr std::array<std::string_view, 84> kRaceSymbolCodes = {
    "001", "002", "003", "004", "020", "021", "023", "024", "030", "031", "033", "034",
    "040", "041", "043", "044", "A00", "A01", "A02", "A03", "A04", "A10", "A11", "A13",
    "A14", "A20", "A21", "A23", "A24", "A30", "A31", "A33", "A34", "A40", "A41", "B00",
    "B01", "B03", "B04", "C00", "C01", "C03", "C04", "D00", "D01", "D03", "E00", "E01",
    "E03", "F00", "F01", "F03", "F04", "G00", "G01", "G03", "H00", "H01", "I00", "I01",
    "I03", "J00", "J01", "K00", "K01", "K03", "L00", "L01", "L03", "M00", "M01", "M03",
    "M04", "N00", "N01", "N03", "N04", "N20", "N21", "N30", "N31", "N40", "N41", "N44"};

std::string_view symbolSeries(char c) {
  switch (c) {
    case 'A':
      return "(混合)";
    case 'B':
      return "(父)";
    case 'C':
      return "(市)";
    case 'D':
      return "(抽)";
    case 'E':
      return "[抽]";
    case 'F':
      return "(市)(抽)";
    case 'G':
      return "(抽)関西配布馬";
    case 'H':
      return "(抽)関東配布馬";
    case 'I':
      return "[抽]関西配布馬";
    case 'J':
      return "[抽]関東配布馬";
    case 'K':
      return "(市)(抽)関西配布馬";
    case 'L':
      return "(市)(抽)関東配布馬";
    case 'M':
      return "九州産馬";
    case 'N':
      return "(国際)";
    default:
      return "";
  }
}

std::string_view symbolSex(char c) {
  switch (c) {
    case '1':
      return "牡";
    case '2':
      return "牝";
    case '3':
      return "牡・ｾﾝ";
    case '4':
      return "牡・牝";
    default:
      return "";
  }
}

std::string_view symbolSuffix(char c) {
  switch (c) {
    case '1':
      return "(指定)";
    case '3':
      return "[指定]";
    case '4':
      return "(特指)";
    default:
      return "";
  }
}

std::string raceSymbolText(std::string_view code) {
  // A third character "2" after a second "0" marks races for young jockeys.
  std::string utf8;
  if (code == "002") {
    utf8 = "若手騎手";
  } else if (code == "A02") {
    utf8 = "(混合)・若手騎手";
  } else {
    utf8.append(symbolSeries(code[0]));
    utf8.append(symbolSex(code[1]));
    utf8.append(symbolSuffix(code[2]));
  }
  return padFullWidth(sj(utf8), 24);
}

}  // namespace

std::string racecourseName(std::string_view code, int selector) {
  const CourseTable& table = courseTable();
  auto it = table.find(code);
  if (it == table.end()) {
    switch (selector) {
      case 0:
      case 3:
      case 9:
        return "      ";
      case 1:
        return "  ";
      case 2:
        return "    ";
      default:
        return {};
    }
  }
  const CourseNames& names = it->second;
  switch (selector) {
    case 0:
      return names.six;
    case 1:
      return names.one;
    case 2:
      return names.two;
    case 3:
      return names.upToThree;
    case 9:
      return names.full;
    default:
      return {};
  }
}

std::string racecourseNameByIndex(int index) {
  static const auto kNames = toCp932(std::array<std::string_view, 11>{
      "京都", "阪神", "中京", "小倉", "東京", "中山", "福島", "新潟", "札幌", "函館", "ｿﾉ他"});
  if (index >= 0 && index <= 9) return kNames[static_cast<size_t>(index)];
  return kNames[10];
}

std::string racecourseNameByIndex(std::string_view code) {
  return racecourseNameByIndex(toInt(code));
}

std::string weekdayName(int code, int selector) {
  using Names = std::array<std::string, 9>;
  static const Names kOne = toCp932(
      std::array<std::string_view, 9>{"　", "土", "日", "祝", "月", "火", "水", "木", "金"});
  static const Names kTwo = toCp932(std::array<std::string_view, 9>{
      "　　", "土曜", "日曜", "祝日", "月曜", "火曜", "水曜", "木曜", "金曜"});
  static const Names kThree = toCp932(std::array<std::string_view, 9>{
      "　　　", "土曜日", "日曜日", "祝日　", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日"});
  static const Names kFromMonday = toCp932(std::array<std::string_view, 9>{
      "", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日", ""});
  if (code < 0 || code > 8) return {};
  const auto i = static_cast<size_t>(code);
  switch (selector) {
    case 1:
      return kOne[i];
    case 2:
      return kTwo[i];
    case 3:
      return kThree[i];
    case 4:
      return kFromMonday[i];
    default:
      return {};
  }
}

std::string weekdayName(std::string_view code, int selector) {
  return weekdayName(toInt(code), selector);
}

std::string gradeName(std::string_view code, int selector) {
  static constexpr std::array<std::string_view, 8> kCodes = {"A", "B", "C", "D",
                                                             "E", "F", "G", "H"};
  using Names = std::array<std::string, 9>;  // A-H, then the other result
  static const Names kOne = toCp932(std::array<std::string_view, 9>{
      "G1   ", "G2   ", "G3   ", "重賞 ", "特別 ", "JG1  ", "JG2  ", "JG3  ", "　　 "});
  static const Names kTwo =
      toCp932(std::array<std::string_view, 9>{"G1", "G2", "G3", "", "", "JG1", "JG2", "JG3", ""});
  static const Names kEight = toCp932(std::array<std::string_view, 9>{
      "G1 ", "G2 ", "G3 ", "重 ", "特 ", "JG1", "JG2", "JG3", "　 "});
  static const Names kNine = toCp932(std::array<std::string_view, 9>{
      "G1(平地競走)　　　", "G2(平地競走)　　　", "G3(平地競走)　　　", "ｸﾞﾚｰﾄﾞのない重賞　",
      "重賞以外の特別競走", "JG1(障害競走)　　 ", "JG2(障害競走)　　 ", "JG3(障害競走)　　 ",
      "　　　　　　　　　"});
  const size_t i = indexOf(kCodes, code);
  switch (selector) {
    case 1:
      return kOne[i];
    case 2:
      return kTwo[i];
    case 8:
      return kEight[i];
    case 9:
      return kNine[i];
    default:
      return {};
  }
}

std::string raceTypeName(std::string_view code, int selector) {
  const RaceTypeTexts* texts = raceTypeTexts(selector);
  if (texts == nullptr) return {};
  return (*texts)[indexOf(kRaceTypeCodes, code)];
}

std::string raceTypePrintName(std::string_view code) {
  static const auto kNames = toCp932(std::array<std::string_view, 10>{
      "ｻﾗ系2歳        ", "ｻﾗ系3歳        ", "ｻﾗ系3歳以上    ", "ｻﾗ系4歳以上    ", "ｻﾗ系障害3歳以上",
      "ｻﾗ系障害4歳以上", "ｱﾗ系2歳        ", "ｱﾗ系3歳        ", "ｱﾗ系3歳以上    ",
      "ｱﾗ系4歳以上    "});
  static constexpr std::array<int, 10> kValues = {11, 12, 13, 14, 18, 19, 21, 22, 23, 24};
  const int value = toInt(code);
  for (size_t i = 0; i < kValues.size(); ++i) {
    if (kValues[i] == value) return kNames[i];
  }
  return {};
}

std::string raceSymbolName(std::string_view code) {
  static const std::array<std::string, kRaceSymbolCodes.size() + 1> kNames = [] {
    std::array<std::string, kRaceSymbolCodes.size() + 1> out;
    for (size_t i = 0; i < kRaceSymbolCodes.size(); ++i)
      out[i] = raceSymbolText(kRaceSymbolCodes[i]);
    out.back() = fullWidthBlanks(12);
    return out;
  }();
  return kNames[indexOf(kRaceSymbolCodes, code)];
}

std::string weightTypeName(std::string_view code) {
  static constexpr std::array<std::string_view, 4> kCodes = {"1", "2", "3", "4"};
  static const auto kNames =
      toCp932(std::array<std::string_view, 5>{"ﾊﾝﾃﾞ", "別定", "馬齢", "定量", ""});
  return kNames[indexOf(kCodes, code)];
}

std::string conditionName(int code) {
  static const auto kNames = toCp932(
      std::array<std::string_view, 6>{"万下", "1億下", "新馬", "未出走", "未勝利", "オープン"});
  if (code >= 1 && code <= 99) return format("%4d", code * 100) + kNames[0];
  switch (code) {
    case 100:
      return kNames[1];
    case 701:
      return kNames[2];
    case 702:
      return kNames[3];
    case 703:
      return kNames[4];
    case 999:
      return kNames[5];
    default:
      return {};
  }
}

std::string conditionName(std::string_view code) { return conditionName(toInt(code)); }

std::string trackName(std::string_view code) {
  struct Track {
    int code;
    std::string_view name;
  };
  static constexpr Track kTracks[] = {{10, "芝 直線"},
                                      {11, "芝 左回り"},
                                      {12, "芝 左回り 外回り"},
                                      {13, "芝 左回り 内→外回り"},
                                      {14, "芝 左回り 外→内回り"},
                                      {15, "芝 左回り 内２周"},
                                      {16, "芝 左回り 外２周"},
                                      {17, "芝 右回り"},
                                      {18, "芝 右回り 外回り"},
                                      {19, "芝 右回り 内→外回り"},
                                      {20, "芝 右回り 外→内回り"},
                                      {21, "芝 右回り 内２周"},
                                      {22, "芝 右回り 外２周"},
                                      {23, "ﾀﾞｰﾄ 左回り"},
                                      {24, "ﾀﾞｰﾄ 右回り"},
                                      {25, "ﾀﾞｰﾄ 左回り 内回り"},
                                      {26, "ﾀﾞｰﾄ 右回り 外回り"},
                                      {27, "ｻﾝﾄﾞ 左回り"},
                                      {28, "ｻﾝﾄﾞ 右回り"},
                                      {29, "ﾀﾞｰﾄ 直線"},
                                      {51, "障害 芝　襷"},
                                      {52, "障害 芝→ﾀﾞｰﾄ"},
                                      {53, "障害 芝　左"},
                                      {54, "障害 芝"},
                                      {55, "障害 芝 外回り"},
                                      {56, "障害 芝 外→内回り"},
                                      {57, "障害 芝 内→外回り"},
                                      {58, "障害 内２周"},
                                      {59, "障害 外２周"}};
  // Indexed by the code's value; the values without a track stay empty.
  static const auto kNames = [] {
    std::array<std::string, 60> out;
    for (const Track& track : kTracks) out[static_cast<size_t>(track.code)] = sj(track.name);
    return out;
  }();
  const int value = toInt(code);
  if (value < 0 || value >= static_cast<int>(kNames.size())) return {};
  return kNames[static_cast<size_t>(value)];
}

std::string trackShortName(std::string_view code) {
  static const auto kNames =
      toCp932(std::array<std::string_view, 6>{"芝直", "芝左", "芝右", "ダ左", "ダ右", "ダ直"});
  static const std::string kJump = sj("障害");
  const int value = toInt(code);
  if (value == 10) return kNames[0];
  if (value >= 11 && value <= 16) return kNames[1];
  if (value >= 17 && value <= 22) return kNames[2];
  if (value == 23) return kNames[3];
  if (value == 24) return kNames[4];
  if (value == 29) return kNames[5];
  if (value >= 51 && value <= 59) return kJump;
  return {};
}

std::string goingName(std::string_view code, int selector) {
  static constexpr std::array<std::string_view, 4> kCodes = {"1", "2", "3", "4"};
  using Names = std::array<std::string, 5>;
  static const Names kPlain =
      toCp932(std::array<std::string_view, 5>{"良", "稍重", "重", "不良", ""});
  static const Names kTurf =
      toCp932(std::array<std::string_view, 5>{"芝:良", "芝:稍重", "芝:重", "芝:不良", ""});
  static const Names kDirt =
      toCp932(std::array<std::string_view, 5>{"ダ:良", "ダ:稍重", "ダ:重", "ダ:不良", ""});
  const size_t i = indexOf(kCodes, code);
  switch (selector) {
    case 0:
      return kPlain[i];
    case 1:
      return kTurf[i];
    case 2:
      return kDirt[i];
    default:
      return {};
  }
}

std::string weatherName(std::string_view code) {
  static constexpr std::array<std::string_view, 6> kCodes = {"1", "2", "3", "4", "5", "6"};
  static const auto kNames =
      toCp932(std::array<std::string_view, 7>{"晴", "曇", "雨", "小雨", "雪", "小雪", ""});
  return kNames[indexOf(kCodes, code)];
}

std::string sexName(std::string_view code) {
  static constexpr std::array<std::string_view, 3> kCodes = {"1", "2", "3"};
  static const auto kNames = toCp932(std::array<std::string_view, 4>{"牡", "牝", "ｾﾝ", ""});
  return kNames[indexOf(kCodes, code)];
}

std::string apprenticeName(std::string_view code) {
  static constexpr std::array<std::string_view, 3> kCodes = {"1", "2", "3"};
  static const auto kNames =
      toCp932(std::array<std::string_view, 4>{"1kg減", "2kg減", "3kg減", "　"});
  return kNames[indexOf(kCodes, code)];
}

std::string blinkersMark(std::string_view blinkers) {
  static const std::string kMark = sj("ﾌﾞﾘﾝ");
  return blinkers == "1" ? kMark : " ";
}

std::string blinkersColumnMark(std::string_view blinkers) {
  static const auto kMarks = toCp932(std::array<std::string_view, 2>{"○", "－"});
  return blinkers == "1" ? kMarks[0] : kMarks[1];
}

std::string circledNumber(int number) {
  static const auto kNames =
      toCp932(std::array<std::string_view, 19>{"－", "①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨",
                                               "⑩", "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱"});
  if (number < 1 || number > 18) return kNames[0];
  return kNames[static_cast<size_t>(number)];
}

std::string circledNumber(std::string_view number) { return circledNumber(toInt(number)); }

}  // namespace orvalle::store::codes
