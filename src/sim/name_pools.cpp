#include "name_pools.h"

#include <array>
#include <set>
#include <sstream>

#include "rng.h"
#include "store/cp932.h"

namespace orvalle::sim {
namespace {

// Blank-separated UTF-8 words as CP932 texts.
std::vector<std::string> cp932Words(const char* utf8) {
  std::vector<std::string> words;
  std::istringstream in(utf8);
  std::string word;
  while (in >> word) words.push_back(sj(word));
  return words;
}

// A CP932 text padded with "　" to `chars` full-width characters.
std::string padFullWidth(std::string text, size_t chars) {
  while (text.size() < chars * 2) text += "\x81\x40";
  return text;
}

const char* const kSurnames =
    "佐藤 鈴木 高橋 田中 伊藤 渡辺 山本 中村 小林 加藤 吉田 山田 佐々木 山口 松本 井上 木村 "
    "斎藤 清水 山崎 池田 橋本 阿部 石川 山下 中島 石井 小川 前田 岡田 長谷川 藤田 後藤 近藤 "
    "村上 遠藤 青木 坂本 福田 太田 西村 藤井 金子 岡本 藤原 中野 三浦 原田 中川 松田 竹内 "
    "小野 田村 和田 石田 森田 上田 柴田 酒井 工藤 横山 宮崎 宮本 内田 高木 安藤 島田 谷口 "
    "大野 丸山 今井 河野 藤本 村田 武田 上野 杉山 増田 小山 大塚 平野 菅原 久保 松井 千葉 "
    "岩崎 桜井 木下 野口 松尾 菊地 野村 新井 荻野 浜中 古川 戸崎 菱田 秋山 國分 吉村 亀田";
const char* const kInitials =
    "大 翔 健 誠 隆 剛 拓 亮 勇 和 達 雄 一 浩 光 慎 裕 真 英 秀 武 修 豊 幸 智 直 優 蓮 颯 陽 "
    "悠 湊 樹 匠 航 駿 陸 海 涼 圭 博 正 義 功 聡 順 克 敏";
const char* const kGivenNames =
    "太郎 一郎 健一 正人 和夫 秀樹 浩二 誠司 博之 隆史 俊介 康弘 昭彦 達也 孝 茂 勝 進 "
    "幸子 洋子 恵美 美穂 由紀 真理";
const char* const kCompanyWords =
    "サンライズ グリーン ノースヒル ブルーム ミラクル オーシャン スターダム レイクサイド "
    "ヴェルデ アルバ シルバー ゴールデン ヒルトップ リバーサイド ホライズン ファーム";
const char* const kColours = "赤 青 黄 緑 紫 白 黒 桃 水色 橙 茶 薄紫 海老 鼠";
const char* const kPatterns =
    "襷 一本輪 二本輪 縦縞 山形 菱山形 元禄 鋸歯形 星散 大菱 格子 蛇目 一文字 帯 袖輪";

// Names of `count` people: surname + initial, each once, from a fixed
// generator so the pools never change.
std::vector<std::string> personNames(int count, uint64_t salt) {
  static const auto surnames = cp932Words(kSurnames);
  static const auto initials = cp932Words(kInitials);
  Rng rng(0x0A11CE ^ salt);
  std::set<std::string> used;
  std::vector<std::string> names;
  while (static_cast<int>(names.size()) < count) {
    std::string name = surnames[static_cast<size_t>(rng.below(static_cast<int>(surnames.size())))] +
                       initials[static_cast<size_t>(rng.below(static_cast<int>(initials.size())))];
    if (name.size() > 8) continue;
    name = padFullWidth(name, 4);
    if (used.insert(name).second) names.push_back(name);
  }
  return names;
}

const GradedRace kGradedRaces[] = {
    // January: Nakayama, Kyoto, Kokura.
    {0, 0, 1, 6, "中山金杯", 'C', 14, 0, 2000, false, '1', 1952},
    {0, 0, 1, 8, "京都金杯", 'C', 14, 0, 1600, false, '1', 1963},
    {0, 1, 0, 6, "フェアリーステークス", 'C', 12, 0, 1600, true, '3', 1984},
    {0, 1, 1, 8, "シンザン記念", 'C', 12, 0, 1600, false, '2', 1967},
    {0, 2, 1, 8, "日経新春杯", 'B', 14, 0, 2400, false, '1', 1954},
    {0, 2, 0, 6, "京成杯", 'C', 12, 0, 2000, false, '3', 1961},
    {0, 3, 1, 6, "アメリカジョッキークラブカップ", 'B', 14, 0, 2200, false, '2', 1960},
    {0, 3, 1, 8, "東海ステークス", 'B', 14, 1, 1800, false, '2', 1984},
    // February: Tokyo, Kyoto, Kokura.
    {1, 0, 1, 5, "根岸ステークス", 'C', 14, 1, 1400, false, '2', 1987},
    {1, 0, 1, 8, "シルクロードステークス", 'C', 14, 0, 1200, false, '1', 1996},
    {1, 1, 1, 5, "東京新聞杯", 'C', 14, 0, 1600, false, '2', 1951},
    {1, 1, 1, 8, "きさらぎ賞", 'C', 12, 0, 1800, false, '2', 1961},
    {1, 2, 1, 5, "共同通信杯", 'C', 12, 0, 1800, false, '2', 1967},
    {1, 2, 1, 8, "京都記念", 'B', 14, 0, 2200, false, '2', 1942},
    {1, 2, 0, 5, "ダイヤモンドステークス", 'C', 14, 0, 3400, false, '1', 1951},
    {1, 3, 1, 5, "フェブラリーステークス", 'A', 14, 1, 1600, false, '4', 1984},
    {1, 3, 1, 10, "小倉大賞典", 'C', 14, 0, 1800, false, '1', 1967},
    // March: Nakayama, Hanshin, Chukyo.
    {2, 0, 1, 6, "弥生賞", 'B', 12, 0, 2000, false, '2', 1964},
    {2, 0, 0, 9, "チューリップ賞", 'B', 12, 0, 1600, true, '2', 1984},
    {2, 1, 1, 7, "金鯱賞", 'B', 14, 0, 2000, false, '2', 1965},
    {2, 1, 0, 6, "中山牝馬ステークス", 'C', 14, 0, 1800, true, '1', 1983},
    {2, 2, 1, 6, "スプリングステークス", 'B', 12, 0, 1800, false, '2', 1952},
    {2, 2, 1, 9, "阪神大賞典", 'B', 14, 0, 3000, false, '2', 1953},
    {2, 3, 1, 7, "高松宮記念", 'A', 14, 0, 1200, false, '4', 1971},
    {2, 3, 0, 6, "日経賞", 'B', 14, 0, 2500, false, '2', 1953},
    // April: Nakayama, Hanshin, Fukushima.
    {3, 0, 1, 9, "大阪杯", 'A', 14, 0, 2000, false, '4', 1957},
    {3, 0, 0, 6, "ダービー卿チャレンジトロフィー", 'C', 14, 0, 1600, false, '1', 1969},
    {3, 1, 1, 9, "桜花賞", 'A', 12, 0, 1600, true, '4', 1939},
    {3, 1, 0, 6, "ニュージーランドトロフィー", 'B', 12, 0, 1600, false, '2', 1983},
    {3, 2, 1, 6, "皐月賞", 'A', 12, 0, 2000, false, '4', 1939},
    {3, 2, 0, 9, "アンタレスステークス", 'C', 14, 1, 1800, false, '2', 1996},
    {3, 3, 0, 3, "福島牝馬ステークス", 'C', 14, 0, 1800, true, '2', 2004},
    {3, 3, 1, 9, "マイラーズカップ", 'B', 14, 0, 1600, false, '2', 1970},
    // May: Tokyo, Kyoto, Niigata.
    {4, 0, 1, 8, "天皇賞（春）", 'A', 14, 0, 3200, false, '4', 1938},
    {4, 1, 1, 5, "ＮＨＫマイルカップ", 'A', 12, 0, 1600, false, '4', 1996},
    {4, 1, 1, 4, "新潟大賞典", 'C', 14, 0, 2000, false, '1', 1979},
    {4, 2, 1, 5, "ヴィクトリアマイル", 'A', 14, 0, 1600, true, '4', 2006},
    {4, 2, 0, 5, "京王杯スプリングカップ", 'B', 14, 0, 1400, false, '2', 1956},
    {4, 3, 1, 5, "優駿牝馬", 'A', 12, 0, 2400, true, '4', 1938},
    {4, 3, 0, 8, "平安ステークス", 'C', 14, 1, 1900, false, '2', 1994},
    {4, 4, 1, 5, "東京優駿", 'A', 12, 0, 2400, false, '4', 1932},
    {4, 4, 0, 5, "目黒記念", 'B', 14, 0, 2500, false, '1', 1932},
    // June: Tokyo, Hanshin, Hakodate.
    {5, 0, 1, 5, "安田記念", 'A', 13, 0, 1600, false, '4', 1951},
    {5, 0, 0, 9, "鳴尾記念", 'C', 13, 0, 2000, false, '2', 1948},
    {5, 1, 1, 5, "エプソムカップ", 'C', 13, 0, 1800, false, '2', 1984},
    {5, 1, 1, 2, "函館スプリントステークス", 'C', 13, 0, 1200, false, '2', 1994},
    {5, 2, 1, 9, "マーメイドステークス", 'C', 13, 0, 2000, true, '1', 1996},
    {5, 2, 0, 5, "ユニコーンステークス", 'C', 12, 1, 1600, false, '2', 1996},
    {5, 3, 1, 9, "宝塚記念", 'A', 13, 0, 2200, false, '4', 1960},
    // July: Fukushima, Chukyo, Hakodate.
    {6, 0, 1, 3, "ラジオＮＩＫＫＥＩ賞", 'C', 12, 0, 1800, false, '1', 1952},
    {6, 0, 1, 7, "ＣＢＣ賞", 'C', 13, 0, 1200, false, '1', 1965},
    {6, 1, 1, 3, "七夕賞", 'C', 13, 0, 2000, false, '1', 1965},
    {6, 1, 1, 7, "プロキオンステークス", 'C', 13, 1, 1400, false, '2', 1996},
    {6, 2, 1, 2, "函館記念", 'C', 13, 0, 2000, false, '1', 1965},
    {6, 3, 1, 7, "中京記念", 'C', 13, 0, 1600, false, '1', 1953},
    {6, 3, 0, 2, "函館２歳ステークス", 'C', 11, 0, 1200, false, '3', 1969},
    // August: Niigata, Kokura, Sapporo.
    {7, 0, 1, 4, "アイビスサマーダッシュ", 'C', 13, 0, 1000, false, '2', 2001},
    {7, 0, 1, 1, "クイーンステークス", 'C', 13, 0, 1800, true, '2', 1953},
    {7, 1, 1, 10, "小倉記念", 'C', 13, 0, 2000, false, '1', 1965},
    {7, 1, 1, 1, "エルムステークス", 'C', 13, 1, 1700, false, '2', 1996},
    {7, 2, 1, 4, "関屋記念", 'C', 13, 0, 1600, false, '2', 1966},
    {7, 3, 1, 1, "札幌記念", 'B', 13, 0, 2000, false, '4', 1965},
    {7, 3, 1, 10, "北九州記念", 'C', 13, 0, 1200, false, '1', 1966},
    // September: Nakayama, Hanshin.
    {8, 0, 1, 6, "京成杯オータムハンデキャップ", 'C', 13, 0, 1600, false, '1', 1956},
    {8, 1, 1, 9, "ローズステークス", 'B', 12, 0, 1800, true, '2', 1983},
    {8, 2, 1, 6, "オールカマー", 'B', 13, 0, 2200, false, '2', 1955},
    {8, 3, 1, 6, "スプリンターズステークス", 'A', 13, 0, 1200, false, '4', 1967},
    // October: Tokyo, Kyoto, Niigata.
    {9, 0, 1, 5, "毎日王冠", 'B', 13, 0, 1800, false, '2', 1950},
    {9, 1, 1, 8, "秋華賞", 'A', 12, 0, 2000, true, '4', 1996},
    {9, 2, 1, 8, "菊花賞", 'A', 12, 0, 3000, false, '4', 1938},
    {9, 3, 1, 5, "天皇賞（秋）", 'A', 13, 0, 2000, false, '4', 1938},
    // November and December.
    {10, 2, 1, 5, "ジャパンカップ", 'A', 13, 0, 2400, false, '4', 1981},
    {10, 0, 1, 8, "エリザベス女王杯", 'A', 13, 0, 2200, true, '4', 1976},
    {10, 1, 1, 8, "マイルチャンピオンシップ", 'A', 13, 0, 1600, false, '4', 1984},
    {10, 1, 0, 5, "東京スポーツ杯２歳ステークス", 'B', 11, 0, 1800, false, '3', 1996},
    {10, 3, 1, 8, "チャンピオンズカップ", 'A', 13, 1, 1800, false, '4', 2000},
    {11, 0, 1, 9, "阪神ジュベナイルフィリーズ", 'A', 11, 0, 1600, true, '3', 1949},
    {11, 1, 1, 9, "朝日杯フューチュリティステークス", 'A', 11, 0, 1600, false, '3', 1949},
    {11, 2, 1, 6, "有馬記念", 'A', 13, 0, 2500, false, '4', 1956},
    {11, 3, 0, 6, "ホープフルステークス", 'A', 11, 0, 2000, false, '3', 1984},
};

// Words of special race names: per racecourse (index = code) and for any.
const char* const kCourseWords[11] = {
    "",
    "大雪 羊蹄山 藻岩山 支笏湖 洞爺湖 すずらん 富良野 石狩 定山渓 ポプラ",
    "函館山 五稜郭 大沼 湯の川 駒ヶ岳 津軽海峡 恵山 松前 北斗 潮騒",
    "磐梯山 猪苗代 安達太良 吾妻 阿武隈 飯盛山 檜原湖 信夫山 会津 白河",
    "佐渡 弥彦 信濃川 阿賀野川 越後 魚沼 妙高 日本海 瀬波 岩室",
    "府中 多摩川 稲城 秩父 高尾 奥多摩 武蔵野 八王子 立川 青梅",
    "習志野 房総 銚子 館山 犬吠埼 九十九里 船橋 市川 鎌ケ谷 幕張",
    "熱田 名古屋城 伊勢 鈴鹿 長良川 木曽川 岡崎 知多 三河湾 犬山",
    "醍醐 嵯峨野 嵐山 大原 鞍馬 桂川 宇治川 比叡 鴨川 北山",
    "鳴尾 甲南 御影 六甲 武庫川 須磨 舞子 摂津 甲東 仁川",
    "玄海 関門橋 響灘 由布院 筑後川 阿蘇 桜島 門司 皿倉山 英彦山",
};
const char* const kSeasonWords[12] = {
    "初春 寒椿 若潮 冬桜 初茜",   "紅梅 白梅 春菜 梅花 雪割",     "早春 弥生 春興 菜の花 桜草",
    "卯月 陽春 春光 花見 若草",   "青葉 薫風 皐月 新緑 初夏",     "水無月 清流 紫陽花 麦秋 夏至",
    "文月 天の川 織姫 夏空 朝顔", "葉月 納涼 花火 向日葵 晩夏",   "長月 秋桜 初秋 名月 鈴虫",
    "神無月 錦秋 紅葉 秋嶺 菊花", "霜月 晩秋 木枯らし 初霜 銀杏", "師走 初冬 冬至 雪見 寒菊",
};

}  // namespace

const std::vector<Person>& jockeys() {
  static const std::vector<Person> kJockeys = [] {
    std::vector<Person> people;
    Rng rng(0x10C4E7);
    const auto names = personNames(130, 1);
    for (size_t i = 0; i < names.size(); ++i) {
      Person p;
      p.shortName = names[i];
      p.code = 1001 + static_cast<int>(i) * 7;
      p.region = i % 2 == 0 ? 1 : 2;
      p.skill = rng.normal() * 0.12;
      p.jumps = i >= 110;  // the last twenty ride in jump races
      if (!p.jumps && rng.chance(0.15)) p.apprenticeCode = rng.between(1, 3);
      if (p.apprenticeCode > 0) p.skill -= 0.1;
      people.push_back(p);
    }
    return people;
  }();
  return kJockeys;
}

const std::vector<Person>& trainers() {
  static const std::vector<Person> kTrainers = [] {
    std::vector<Person> people;
    const auto names = personNames(160, 2);
    for (size_t i = 0; i < names.size(); ++i) {
      Person p;
      p.shortName = names[i];
      p.code = 1003 + static_cast<int>(i) * 5;
      p.region = i % 2 == 0 ? 1 : 2;
      people.push_back(p);
    }
    return people;
  }();
  return kTrainers;
}

const std::vector<Owner>& owners() {
  static const std::vector<Owner> kOwners = [] {
    static const auto surnames = cp932Words(kSurnames);
    static const auto given = cp932Words(kGivenNames);
    static const auto companies = cp932Words(kCompanyWords);
    static const auto colours = cp932Words(kColours);
    static const auto patterns = cp932Words(kPatterns);
    const std::string comma = sj("，");
    Rng rng(0x0BE7E5);
    std::set<std::string> used;
    std::vector<Owner> list;
    while (list.size() < 120) {
      Owner owner;
      auto pick = [&rng](const std::vector<std::string>& words) {
        return words[static_cast<size_t>(rng.below(static_cast<int>(words.size())))];
      };
      owner.name = rng.chance(0.3) ? sj("（株）") + pick(companies)
                                   : pick(surnames) + "\x81\x40" + pick(given);
      if (!used.insert(owner.name).second) continue;
      const std::string base = pick(colours);
      owner.colours = base + comma + pick(colours) + pick(patterns);
      if (rng.chance(0.5)) owner.colours += comma + pick(colours) + sj("袖");
      owner.code = 100001 + static_cast<int>(list.size()) * 37;
      list.push_back(owner);
    }
    return list;
  }();
  return kOwners;
}

const GradedRace* gradedRaceAt(int period, int weekend, int day, int course) {
  for (const GradedRace& race : kGradedRaces) {
    if (race.period == period && race.weekend == weekend && race.day == day &&
        race.course == course) {
      return &race;
    }
  }
  return nullptr;
}

const std::string& gradedRaceName(const GradedRace& race) {
  // Keyed by the table entry's address: the tables never move.
  static const auto kNames = [] {
    std::vector<std::pair<const GradedRace*, std::string>> names;
    for (const auto& r : kGradedRaces) names.emplace_back(&r, sj(r.name));
    return names;
  }();
  for (const auto& [entry, name] : kNames) {
    if (entry == &race) return name;
  }
  static const std::string kEmpty;
  return kEmpty;
}

std::string specialRaceName(int course, int period, int weekend, int day, int raceNumber,
                            bool openClass) {
  static const auto kWords = [] {
    std::vector<std::vector<std::string>> words;
    for (const char* list : kCourseWords) words.push_back(cp932Words(list));
    return words;
  }();
  static const auto kSeasons = [] {
    std::vector<std::vector<std::string>> words;
    for (const char* list : kSeasonWords) words.push_back(cp932Words(list));
    return words;
  }();
  static const auto kSuffixes = cp932Words("特別 賞 ステークス カップ");
  const uint64_t h =
      mixHash(static_cast<uint64_t>(course), static_cast<uint64_t>(period),
              static_cast<uint64_t>(weekend * 3 + day), static_cast<uint64_t>(raceNumber));
  const auto& courseWords = kWords.at(static_cast<size_t>(course));
  const auto& seasonWords = kSeasons.at(static_cast<size_t>(period));
  const bool seasonal = (h & 3) == 0 || courseWords.empty();
  const auto& words = seasonal ? seasonWords : courseWords;
  const std::string& word = words[(h >> 8) % words.size()];
  const size_t suffix = openClass ? 2 + ((h >> 20) & 1) : (h >> 20) % 2;
  return word + kSuffixes[suffix];
}

const std::vector<std::string>& horseNamePrefixes() {
  static const auto kPrefixes = cp932Words(
      "オルヴァ ミラク シャイン トウカイ サクラ マイネ アドマイヤ キタノ ゴールド シルバー "
      "ダノン エア メイ ヒシ ナリタ タニノ ニシノ スマート ハッピー ブルー レッド グラン "
      "ロイヤル ノーブル ワンダー ドリーム ビッグ ミスター ミス ヴィクトリー フジ コスモ "
      "ウイン エイシン タイキ カシノ シゲル ケイアイ スズカ トーセン");
  return kPrefixes;
}

const std::vector<std::string>& horseNameWords() {
  static const auto kWords = cp932Words(
      "ダイヤ スター ブレイブ ロード ウインド フラワー キング クイーン ハート ソング ドリーム "
      "サンライズ ミラージュ グローリー フォルテ リアン アロー ボルト ヴェール ルミエール "
      "エトワール カノン ソレイユ ルナ ステラ アステル オーロラ ブリーズ ストーム サンダー "
      "フェニックス ペガサス ドラゴン タイガー ライオン イーグル ファルコン ホーク スワン "
      "ローズ リリー カメリア サクラ モミジ カエデ ツバキ アオバ ワカバ ハヤテ イカヅチ "
      "カグラ ミヤビ ヒカリ ホマレ ツバサ シズカ アカツキ ユウヒ アサヒ ミナト カケル "
      "マーチ ワルツ ソナタ ラプソディ セレナーデ ノクターン ボレロ タンゴ サンバ ルンバ "
      "ジュエル ルビー サファイア エメラルド パール オパール トパーズ ガーネット アンバー "
      "クラウン ティアラ ナイト プリンス プリンセス エース ジョーカー キャプテン マスター "
      "レジェンド ヒーロー スピリット ソウル マジック ミステリー ファンタジー メモリー "
      "ブライト シャープ スウィフト ラピッド マッハ ジェット ロケット コメット ギャラクシー "
      "オーシャン マリン リバー レイク フォレスト マウンテン ヴァレー メドウ ガーデン "
      "バロン デューク カウント レディ マダム シチー ウェーブ リズム ハーモニー メロディ");
  return kWords;
}

const std::vector<std::string>& katakanaSyllables() {
  static const auto kSyllables = cp932Words(
      "ア イ ウ エ オ カ キ ク ケ コ サ シ ス セ ソ タ チ ツ テ ト ナ ニ ヌ ネ ノ ハ ヒ フ ヘ ホ "
      "マ ミ ム メ モ ヤ ユ ヨ ラ リ ル レ ロ ワ ガ ギ グ ゲ ゴ ザ ジ ズ ゼ ゾ ダ デ ド バ ビ ブ "
      "ベ ボ パ ピ プ ペ ポ");
  return kSyllables;
}

}  // namespace orvalle::sim
