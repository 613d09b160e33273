#include "output/analysis_sheet.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "model/race_card.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::output {
namespace {

using store::format;
namespace codes = store::codes;

// CP932 texts of the sheet, converted once.
struct Texts {
  std::string title = sj("Orvalle分析結果　印刷");
  std::string blank = sj("　");
  std::string race = sj("ﾚｰｽ");
  std::string year = sj("年"), month = sj("月"), dayOpen = sj("日("), day = sj("日");
  std::string times = sj("回"), hours = sj("時"), minutesStart = sj("分発走　");
  std::string runners = sj("頭  "), metres = sj("ﾒｰﾄﾙ ");
  std::string unit = sj("　　　　　　単位（千円）");
  std::string prizeHeading = sj("　　本賞金　　　付加賞金");

  std::array<std::string, 7> payoutLabels = {sj("【単勝】"),  sj("【複勝】"), sj("【枠連】"),
                                             sj("【馬連】"),  sj("【ﾜｲﾄﾞ】"), sj("【馬単】"),
                                             sj("【三連複】")};

  std::array<std::string, 8> bracketColours = {sj("白"), sj("黒"), sj("赤"), sj("青"),
                                               sj("黄"), sj("緑"), sj("橙"), sj("桃")};
  std::string thousandYen = sj("千円"), blinkers = sj("ﾌﾞﾘﾝｶ");
  std::string countBlank = sj("　 "), pointsBlank = sj("　　"), countsDash = sj(" － ");
  std::string rateDash = sj("　－　 "), rankDash = sj(" － "), reverseRankDash = sj("( － )");
  std::string place = sj("位"), oddsDash = sj("　－　"), finish = sj("着");
  std::string timeDash = sj("　－　"), finalOddsDash = sj("　－ "), popularity = sj("人)");
  std::string combinationHeading = sj("【買い目】(設定名→"), hit = sj("的中");
};

const Texts& texts() {
  static const Texts kTexts;
  return kTexts;
}

// A header caption of the runner table.
struct Caption {
  int x;
  int y;
  std::string_view utf8;
  int points;
};

// The captions of the header band, in drawing order. Everything after
// "馬名" is set in 6 points: the longest caption of a column,
// "Pt勝率順位(Pt勝数逆順位)", fills its column at that size.
const std::vector<std::pair<Caption, std::string>>& captions() {
  static const std::vector<std::pair<Caption, std::string>> kCaptions = [] {
    static constexpr Caption kUtf8[] = {
        {55, 615, "枠", 11},
        {105, 615, "馬", 11},
        {55, 655, "番", 11},
        {105, 655, "番", 11},
        {155, 605, "馬名", 10},
        {155, 635, "性齢・賞金・ﾌﾞﾘﾝｶ", 6},
        {155, 660, "騎手名・斤量・見習区分", 6},
        {155, 680, "調教師名", 6},
        {435, 605, "勝数－負数", 6},
        {435, 640, "勝率", 6},
        {435, 675, "勝率順位(勝数逆順位)", 6},
        {675, 605, "Pt勝数－Pt負数", 6},
        {675, 640, "Pt勝率", 6},
        {675, 675, "Pt勝率順位(Pt勝数逆順位)", 6},
        {945, 605, "当日ｵｯｽﾞ", 6},
        {945, 650, "人気順位", 6},
        {1065, 605, "順当勝－裏切数", 6},
        {1065, 650, "裏切率", 6},
        {1235, 605, "確定着順", 6},
        {1235, 640, "走破ﾀｲﾑ", 6},
        {1235, 675, "確定ｵｯｽﾞ(人気順位)", 6},
    };
    std::vector<std::pair<Caption, std::string>> out;
    for (const Caption& c : kUtf8) out.emplace_back(c, sj(c.utf8));
    return out;
  }();
  return kCaptions;
}

// Runner table geometry.
constexpr int kTableLeft = 50;
constexpr int kTableRight = 1450;
constexpr int kBandTop = 600;
constexpr int kBandBottom = 705;
constexpr int kRowHeight = 105;
constexpr int kBracketCellRight = 100;
constexpr std::array<int, 7> kFullLines = {100, 150, 430, 670, 940, 1060, 1230};
constexpr int kShortLineTop = 700;
constexpr std::array<int, 2> kShortLines = {600, 740};

// Collects the items of a page.
class Painter {
 public:
  explicit Painter(SheetPage& page) : m_items(page.items) {}

  void text(int x, int y, std::string text, int points, bool bold = false,
            SheetFont font = SheetFont::kGothic, SheetColour colour = kSheetBlack) {
    m_items.emplace_back(SheetText{x, y, std::move(text), font, points, bold, colour});
  }
  void line(int x1, int y1, int x2, int y2, SheetPen pen = SheetPen::kNormal) {
    m_items.emplace_back(SheetLine{x1, y1, x2, y2, pen});
  }
  void box(int left, int top, int right, int bottom, SheetPen pen) {
    m_items.emplace_back(SheetBox{left, top, right, bottom, pen, false, kSheetWhite});
  }
  void filledBox(int left, int top, int right, int bottom, SheetPen pen, SheetColour fill) {
    m_items.emplace_back(SheetBox{left, top, right, bottom, pen, true, fill});
  }

 private:
  std::vector<SheetItem>& m_items;
};

// A count "%<fmt>", or the blank form when below 1.
std::string countText(int value, const char* fmt, const std::string& empty) {
  return value < 1 ? empty : format(fmt, value);
}

// Two counts " 12 －   3", each "%<fmt>" or the blank form when below 1.
std::string countPairText(int first, int second, const char* fmt, const std::string& empty) {
  return countText(first, fmt, empty) + texts().countsDash + countText(second, fmt, empty);
}

// A rate x 100 as "%5.1f %", or the dash form when there is no rate.
std::string rateText(double rate) {
  if (!(rate >= 0.0)) return texts().rateDash;
  return format("%5.1f %%", rate * 100.0);
}

// A rank "%2d位" and a reverse rank "(%2d位)", each with its dash form.
std::string rankPairText(int rank, int reverseRank) {
  const Texts& t = texts();
  std::string text = rank < 1 ? t.rankDash : format("%2d", rank) + t.place;
  text += reverseRank < 1 ? t.reverseRankDash : "(" + format("%2d", reverseRank) + t.place + ")";
  return text;
}

// "=>" (or "<=") for the first, "->" (or "<-") for second and third.
std::string arrow(int place, bool pointingLeft) {
  if (place == 1) return pointingLeft ? "<=" : "=>";
  if (place == 2 || place == 3) return pointingLeft ? "<-" : "->";
  return texts().blank;
}

// Number `index` (0-based) of a combination text " 1- 2- 3": its two places.
int combinationNumber(std::string_view combination, int index) {
  return store::fieldInt(combination, 1 + 3 * index, 2);
}

void drawHeading(Painter& p, std::string_view race) {
  namespace head = store::head;
  namespace ra = store::ra;
  const Texts& t = texts();
  const auto header = model::raceHeaderLines(race);

  p.text(160, 320, t.race, 10, true);
  const std::string racecourse = codes::racecourseName(head::kRacecourseCode.in(race), 2);
  p.text(50, 195, racecourse, 20, true);
  p.filledBox(50, 270, 130, 350, SheetPen::kNone, kSheetBlack);
  const int raceNumber = head::kRaceNumber.numberIn(race);
  p.text(raceNumber >= 10 ? 55 : 70, 275, std::to_string(raceNumber), 20, true, SheetFont::kGothic,
         kSheetWhite);

  const std::string date =
      std::string(head::kYear.in(race)) + t.year + std::string(head::kMonth.in(race)) + t.month +
      std::string(head::kDay.in(race)) + t.dayOpen +
      codes::weekdayName(ra::kWeekdayCode.in(race), 1) + ")" + racecourse + " " +
      std::string(head::kMeeting.in(race)) + t.times + std::string(head::kDayOfMeeting.in(race)) +
      t.day + std::string(head::kRaceNumber.in(race)) + "R";
  p.text(250, 190, date, 11, true);
  p.text(980, 190,
         std::string(ra::kStartHours.in(race)) + t.hours + std::string(ra::kStartMinutes.in(race)) +
             t.minutesStart,
         11, true);

  p.text(250, 245, header[1], 10);
  p.text(250, 280,
         format("%2d", ra::kRegisteredRunners.numberIn(race)) + t.runners +
             format("%4d", ra::kDistance.numberIn(race)) + t.metres +
             codes::trackName(ra::kTrackCode.in(race)) + " " +
             codes::gradeName(ra::kGradeCode.in(race), 1) + " " +
             codes::raceTypePrintName(ra::kRaceTypeCode.in(race)) + " " +
             codes::raceSymbolName(ra::kRaceSymbolCode.in(race)),
         10);
  p.text(250, 315, header[3], 10);
  p.line(250, 235, 1600, 235);

  p.text(1650, 190, t.unit, 6);
  p.text(1650, 210, t.prizeHeading, 6);
  for (int k = 0; k < ra::kPrizePlaces; ++k) {
    p.text(1650, 230 + 20 * k,
           codes::circledNumber(k + 1) + format("%8d", ra::prizeMoney(k + 1).numberIn(race)), 6);
  }
  for (int k = 0; k < ra::kAddedPrizePlaces; ++k) {
    p.text(1800, 230 + 20 * k,
           codes::circledNumber(k + 1) + format("%8d", ra::addedPrizeMoney(k + 1).numberIn(race)),
           6);
  }
}

// The text of a paid payout entry, or the empty text for an unpaid one.
std::string payoutEntryText(store::BetType type, const store::PayoutEntry& entry) {
  using store::BetType;
  const std::string payout = format("[%8d]", entry.payout);
  if (type == BetType::kWin || type == BetType::kPlace) {
    if (entry.horseNumber < 1) return {};
    return texts().blank + codes::circledNumber(entry.horseNumber) + " " + payout;
  }
  const std::string& combination = entry.combination;
  if (store::isBlank(combination) || combinationNumber(combination, 0) < 1) return {};
  const int numbers = type == BetType::kTrio ? 3 : 2;
  std::string text;
  for (int i = 0; i < numbers; ++i) {
    if (i > 0) text += "-";
    text += codes::circledNumber(combinationNumber(combination, i));
  }
  return text + payout;
}

void drawPayouts(Painter& p, const store::PayoutBlock& payouts) {
  using store::BetType;
  static constexpr std::array<BetType, 7> kRows = {
      BetType::kWin,      BetType::kPlace,         BetType::kBracketQuinella,
      BetType::kQuinella, BetType::kQuinellaPlace, BetType::kExacta,
      BetType::kTrio};
  p.line(50, 375, 1990, 375);
  for (size_t row = 0; row < kRows.size(); ++row) {
    const int y = 380 + 30 * static_cast<int>(row);
    p.text(50, y, texts().payoutLabels[row], 8);
    const BetType type = kRows[row];
    for (int k = 1; k <= store::PayoutBlock::count(type); ++k) {
      std::string text = payoutEntryText(type, payouts.at(type, k - 1));
      if (!text.empty()) p.text(240 * k - 50, y, std::move(text), 8);
    }
  }
}

std::string raceTimeText(std::string_view stored) {
  if (store::isBlank(stored) || store::toInt(stored) == 0) return texts().timeDash;
  const std::string time = store::fitWidth(stored, 4);
  return time.substr(0, 1) + "." + time.substr(1, 2) + "." + time.substr(3, 1);
}

std::string finalOddsText(std::string_view odds, std::string_view popularity) {
  const Texts& t = texts();
  const int tenths = store::toInt(odds);
  std::string text = tenths == 0 ? t.finalOddsDash : format("%5.1f", tenths / 10.0);
  const int rank = store::toInt(popularity);
  text += rank == 0 ? t.reverseRankDash : "(" + format("%2d", rank) + t.popularity;
  return text;
}

void drawRunner(Painter& p, const model::DayTables& tables, int raceSlot, int runnerSlot,
                int previousBracket) {
  namespace se = store::se;
  const Texts& t = texts();
  const std::string_view runner = tables.runner(raceSlot, runnerSlot);
  const model::RaceAnalysis& a = tables.analysis(raceSlot);
  const int k = runnerSlot;
  const int top = kBandTop + kRowHeight * (runnerSlot + 1);

  const int bracket = se::kBracket.numberIn(runner);
  if (bracket != previousBracket) {
    p.line(kTableLeft, top, kTableRight, top);
    if (bracket >= 1 && bracket <= 8) {
      p.text(60, top + 10, t.bracketColours[static_cast<size_t>(bracket - 1)], 9);
    }
    p.text(65, top + 55, std::string(se::kBracket.in(runner)), 11);
    p.box(60, top + 45, 90, top + 95, SheetPen::kNormal);
  } else {
    p.line(kBracketCellRight, top, kTableRight, top, SheetPen::kThin);
  }

  p.text(107, top + 30, codes::circledNumber(se::kHorseNumber.in(runner)), 11);
  p.text(155, top + 5, std::string(se::kHorseName.in(runner)), 9, false,
         SheetFont::kProportionalGothic);
  p.text(155, top + 35, codes::sexName(se::kSexCode.in(runner)) + std::string(se::kAge.in(runner)),
         6, false, SheetFont::kProportionalGothic);
  p.text(230, top + 35, format("%7d", a.periodEarnings[k]) + t.thousandYen, 6);
  if (se::kBlinkers.in(runner) == "1") p.text(360, top + 35, t.blinkers, 6);
  p.text(155, top + 60,
         std::string(se::kJockeyShortName.in(runner)) + t.blank +
             format("%4.1fkg", se::kWeightCarried.numberIn(runner) / 10.0) + t.blank +
             codes::apprenticeName(se::kApprenticeCode.in(runner)),
         6);
  p.text(155, top + 80, std::string(se::kTrainerShortName.in(runner)), 6);

  p.text(435, top + 5, countPairText(a.winCount[k], a.lossCount[k], "%3d", t.countBlank), 8);
  p.text(490, top + 40, rateText(a.winRate[k]), 8);
  p.text(460, top + 75, rankPairText(a.winRateRank[k], a.winCountReverseRank[k]), 8);
  p.text(620, top + 40, arrow(a.winRateRank[k], true), 8);

  p.text(745, top + 5, countPairText(a.winPoints[k], a.lossPoints[k], "%4d", t.pointsBlank), 8);
  p.text(800, top + 40, rateText(a.pointWinRate[k]), 8);
  p.text(770, top + 75, rankPairText(a.pointWinRateRank[k], a.winPointsReverseRank[k]), 8);
  p.text(690, top + 40, arrow(a.pointWinRateRank[k], false), 8);

  p.text(950, top + 10, a.predictedOdds[k] > 0.0 ? format("%6.1f", a.predictedOdds[k]) : t.oddsDash,
         8);
  p.text(970, top + 60,
         a.predictedOddsRank[k] < 1 ? t.rankDash : format("%2d", a.predictedOddsRank[k]) + t.place,
         8);
  p.text(1070, top + 10, countPairText(a.expectedWinCount[k], a.upsetCount[k], "%3d", t.countBlank),
         8);
  p.text(1100, top + 60, rateText(a.upsetRate[k]), 8);

  const int finish = store::toInt(a.result.finishingPosition[k]);
  p.text(1360, top + 5, finish < 1 ? t.rankDash : format("%2d", finish) + t.finish, 8);
  p.text(1250, top + 5, arrow(finish, false), 8);
  p.text(1320, top + 40, raceTimeText(a.result.raceTime[k]), 8);
  p.text(1280, top + 75, finalOddsText(a.result.finalOdds[k], a.result.popularityRank[k]), 8);
}

void drawRunnerTable(Painter& p, const model::DayTables& tables, int raceSlot) {
  const int runners =
      std::clamp(store::ra::kRegisteredRunners.numberIn(tables.race(raceSlot)), 0, 18);
  const int bottom = kBandBottom + kRowHeight * runners;

  p.filledBox(kTableLeft, kBandTop, kTableRight, kBandBottom, SheetPen::kThick, kSheetLightGrey);
  p.box(kTableLeft, kBandBottom, kTableRight, bottom, SheetPen::kNormal);
  for (int x : kFullLines) p.line(x, kBandTop, x, bottom);
  for (int x : kShortLines) p.line(x, kShortLineTop, x, bottom);
  for (const auto& [caption, text] : captions()) p.text(caption.x, caption.y, text, caption.points);

  int previousBracket = -1;
  for (int slot = 0; slot < runners; ++slot) {
    drawRunner(p, tables, raceSlot, slot, previousBracket);
    previousBracket = store::se::kBracket.numberIn(tables.runner(raceSlot, slot));
  }
}

void drawCombinations(Painter& p, const model::CombinationBlock& combinations,
                      std::string_view settingName) {
  const Texts& t = texts();
  p.text(1500, 605, t.combinationHeading + std::string(settingName) + ")", 9);
  for (int k = 1; k <= model::CombinationBlock::kTrioCount; ++k) {
    const int y = 605 + 35 * k;
    const std::string& trio = combinations.trio[k - 1];
    if (!trio.empty()) p.text(1520, y, trio, 9);
    if (combinations.trioScores.hit[k - 1] != 0) p.text(1690, y, t.hit, 9);
    const int payout = combinations.trioScores.payout[k - 1];
    if (payout > 0) p.text(1780, y, format("%8d", payout), 9);
  }
}

}  // namespace

std::vector<const SheetText*> SheetPage::texts() const {
  std::vector<const SheetText*> out;
  for (const SheetItem& item : items) {
    if (const auto* text = std::get_if<SheetText>(&item)) out.push_back(text);
  }
  return out;
}

const std::string& analysisSheetTitle() { return texts().title; }

SheetPage analysisSheet(const model::DayTables& tables, int raceSlot,
                        std::string_view settingName) {
  // The race table checks the slot and throws before anything is drawn.
  const std::string_view race = tables.race(raceSlot);
  const model::RaceAnalysis& analysis = tables.analysis(raceSlot);
  SheetPage page;
  Painter painter(page);
  drawHeading(painter, race);
  drawPayouts(painter, analysis.result.payouts);
  drawRunnerTable(painter, tables, raceSlot);
  drawCombinations(painter, analysis.combinations, settingName);
  return page;
}

}  // namespace orvalle::output
