#include "model/race_card.h"

#include <algorithm>

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::model {
namespace {

namespace col = race_card_column;
using store::format;

// CP932 texts of the race card, converted once.
struct Texts {
  std::string fullWidthBlank = sj("　");
  std::string threeFullWidthBlanks = sj("　　　");
  std::string year = sj("年"), month = sj("月"), dayOpen = sj("日("), day = sj("日");
  std::string times = sj("回"), timesBlank = sj("回 "), raceStart = sj("発走"), nth = sj("第");
  std::string runners = sj("頭  "), metres = sj("ﾒｰﾄﾙ ");
  std::array<std::string, 4> agePrefixes = {sj("2歳:"), sj("3歳:"), sj("4歳:"), sj("5歳以上:")};
  std::string compared = sj("当レースの集計結果は下記の通りです。");
  std::string notCompared =
      sj("集計が未実行です。「全レース比較」ボタンをクリックして集計してください。");
};

const Texts& texts() {
  static const Texts kTexts;
  return kTexts;
}

// A count or rank "%<width>d"; `empty` when below 1.
std::string countText(int value, const char* fmt, const std::string& empty) {
  return value < 1 ? empty : format(fmt, value);
}

// A rate x 100 "%5.1f"; five blanks when there is no rate (below 0).
std::string rateText(double rate) {
  if (!(rate >= 0.0)) return std::string(5, ' ');
  return format("%5.1f", rate * 100.0);
}

// A race time "1234" as "1.23.4"; six blanks when blank or "0000".
std::string raceTimeText(std::string_view stored) {
  if (store::isBlank(stored) || store::toInt(stored) == 0) return std::string(6, ' ');
  std::string time = store::fitWidth(stored, 4);
  return time.substr(0, 1) + "." + time.substr(1, 2) + "." + time.substr(3, 1);
}

// Final odds in tenths "0123" as " 12.3"; five blanks when blank or 0.
std::string finalOddsText(std::string_view stored) {
  const int tenths = store::toInt(stored);
  if (tenths == 0) return std::string(5, ' ');
  return format("%5.1f", tenths / 10.0);
}

// Weight carried in tenths "570" as "57.0".
std::string weightCarriedText(std::string_view stored) {
  std::string weight = store::fitWidth(stored, 3);
  return weight.substr(0, 2) + "." + weight.substr(2, 1);
}

int compareCells(const RaceCardRow& a, const RaceCardRow& b, int column) {
  // std::string compares by unsigned byte value.
  return a.cells[static_cast<size_t>(column)].compare(b.cells[static_cast<size_t>(column)]);
}

Colour background(int column, std::string_view text) {
  switch (column) {
    case col::kBracket:
      return bracketColour(store::toInt(text));
    case col::kHorseNumber:
      return colours::kToolTipBackground;
    case col::kPredictedOdds:
    case col::kPredictedOddsRank:
      return colours::kLightYellow;
    case col::kFinishingPosition:
    case col::kRaceTime:
    case col::kFinalOdds:
      return colours::kLightCyan;
    default:
      return colours::kWhite;
  }
}

Colour textColour(int column, std::string_view text) {
  switch (column) {
    case col::kWinCountReverseRank:
    case col::kWinRateRank:
    case col::kWinPointsReverseRank:
    case col::kPointWinRateRank:
    case col::kPredictedOddsRank:
    case col::kFinishingPosition:
      return placeColour(store::toInt(text), colours::kGridFont);
    default:
      return colours::kGridFont;
  }
}

CellStyle raceCardCellStyle(int row, int column, std::string_view text) {
  if (row == 0) return {colours::kSilver, colours::kGridFont, false};
  return {background(column, text), textColour(column, text), column == col::kHorseName};
}

}  // namespace

const RaceCardCells& raceCardHeadings() {
  static const RaceCardCells kHeadings = [] {
    static constexpr std::array<std::string_view, kRaceCardColumns> kUtf8 = {
        "枠",   "馬",   "馬名", "性齢", "騎手", "斤量",   "見習", "調教師", "ﾌﾞﾘ",
        "勝数", "逆",   "負数", "勝率", "順",   "勝pt",   "逆",   "負pt",   "pt勝率",
        "順",   "ｵｯｽﾞ", "人気", "順当", "裏切", "裏切率", "着順", "ﾀｲﾑ",    "確ｵｯｽﾞ"};
    RaceCardCells headings;
    for (size_t i = 0; i < kUtf8.size(); ++i) headings[i] = sj(kUtf8[i]);
    return headings;
  }();
  return kHeadings;
}

const std::array<int, kRaceCardColumns>& raceCardColumnWidths() {
  static constexpr std::array<int, kRaceCardColumns> kWidths = {
      20, 20, 130, 30, 60, 35, 40, 60, 20, 27, 20, 27, 40, 20,
      30, 20, 30,  43, 20, 45, 30, 30, 30, 40, 30, 45, 40};
  return kWidths;
}

RaceCardRow raceCardRow(const DayTables& tables, int raceSlot, int runnerSlot) {
  namespace se = store::se;
  const Texts& t = texts();
  const std::string_view runner = tables.runner(raceSlot, runnerSlot);
  const RaceAnalysis& a = tables.analysis(raceSlot);
  const int k = runnerSlot;

  RaceCardRow row;
  row.runnerSlot = runnerSlot;
  auto& c = row.cells;
  c[col::kBracket] = format("%2d", se::kBracket.numberIn(runner));
  c[col::kHorseNumber] = format("%2d", se::kHorseNumber.numberIn(runner));
  c[col::kHorseName] = store::withoutFullWidthBlanks(store::trim(se::kHorseName.in(runner)));
  c[col::kSexAge] =
      store::codes::sexName(se::kSexCode.in(runner)) + store::numberInOwnWidth(se::kAge.in(runner));
  c[col::kJockey] = se::kJockeyShortName.in(runner);
  c[col::kWeightCarried] = weightCarriedText(se::kWeightCarried.in(runner));
  c[col::kApprentice] = store::codes::apprenticeName(se::kApprenticeCode.in(runner));
  c[col::kTrainer] = se::kTrainerShortName.in(runner);
  c[col::kBlinkers] = store::codes::blinkersColumnMark(se::kBlinkers.in(runner));

  c[col::kWinCount] = countText(a.winCount[k], "%2d", "  ");
  c[col::kWinCountReverseRank] = countText(a.winCountReverseRank[k], "%2d", t.fullWidthBlank);
  c[col::kLossCount] = countText(a.lossCount[k], "%2d", t.fullWidthBlank);
  c[col::kWinRate] = rateText(a.winRate[k]);
  c[col::kWinRateRank] = countText(a.winRateRank[k], "%2d", t.fullWidthBlank);
  c[col::kWinPoints] = countText(a.winPoints[k], "%4d", "  ");
  c[col::kWinPointsReverseRank] = countText(a.winPointsReverseRank[k], "%2d", t.fullWidthBlank);
  c[col::kLossPoints] = countText(a.lossPoints[k], "%4d", t.fullWidthBlank);
  c[col::kPointWinRate] = rateText(a.pointWinRate[k]);
  c[col::kPointWinRateRank] = countText(a.pointWinRateRank[k], "%2d", t.fullWidthBlank);
  c[col::kPredictedOdds] =
      a.predictedOdds[k] > 0.0 ? format("%6.1f", a.predictedOdds[k]) : t.threeFullWidthBlanks;
  c[col::kPredictedOddsRank] = countText(a.predictedOddsRank[k], "%2d", t.fullWidthBlank);
  c[col::kExpectedWins] = countText(a.expectedWinCount[k], "%3d", "   ");
  c[col::kUpsets] = countText(a.upsetCount[k], "%3d", "   ");
  c[col::kUpsetRate] = rateText(a.upsetRate[k]);
  c[col::kFinishingPosition] =
      countText(store::toInt(a.result.finishingPosition[k]), "%2d", t.fullWidthBlank);
  c[col::kRaceTime] = raceTimeText(a.result.raceTime[k]);
  c[col::kFinalOdds] = finalOddsText(a.result.finalOdds[k]);
  return row;
}

std::vector<RaceCardRow> raceCardRows(const DayTables& tables, int raceSlot) {
  const int runners = store::ra::kRegisteredRunners.numberIn(tables.race(raceSlot));
  std::vector<RaceCardRow> rows;
  for (int k = 0; k < runners; ++k) rows.push_back(raceCardRow(tables, raceSlot, k));
  return rows;
}

RaceCardSortKeys raceCardSortKeys(RaceCardSort sort) {
  switch (sort) {
    case RaceCardSort::kHorseNumber:
      return {col::kHorseNumber, false, col::kLossCount, false};
    case RaceCardSort::kWinCount:
      return {col::kWinCount, true, col::kLossCount, false};
    case RaceCardSort::kLossCount:
      return {col::kLossCount, false, col::kWinCount, true};
    case RaceCardSort::kWinRate:
      return {col::kWinRateRank, false, col::kWinCount, true};
    case RaceCardSort::kWinPoints:
      return {col::kWinPoints, true, col::kLossPoints, false};
    case RaceCardSort::kLossPoints:
      return {col::kLossPoints, false, col::kWinPoints, true};
    case RaceCardSort::kPointWinRate:
      return {col::kPointWinRateRank, false, col::kWinPoints, true};
    case RaceCardSort::kOddsRank:
      return {col::kPredictedOddsRank, false, col::kPointWinRateRank, false};
    case RaceCardSort::kFinishingPosition:
      return {col::kFinishingPosition, false, col::kHorseNumber, false};
  }
  return {col::kHorseNumber, false, col::kLossCount, false};
}

std::string raceCardSortCaption(RaceCardSort sort) {
  static const std::array<std::string, kRaceCardSorts.size()> kCaptions = {
      sj("馬番"),    sj("勝数"),   sj("負数"),     sj("勝率"), sj("勝ﾎﾟｲﾝﾄ"),
      sj("負ﾎﾟｲﾝﾄ"), sj("Pt勝率"), sj("ｵｯｽﾞ順位"), sj("着順")};
  return kCaptions.at(static_cast<size_t>(sort));
}

void sortRaceCard(std::vector<RaceCardRow>& rows, RaceCardSort sort) {
  const RaceCardSortKeys keys = raceCardSortKeys(sort);
  // Start from horse-number order, so rows equal in both keys keep it.
  std::stable_sort(rows.begin(), rows.end(), [](const RaceCardRow& a, const RaceCardRow& b) {
    return a.runnerSlot < b.runnerSlot;
  });
  std::stable_sort(rows.begin(), rows.end(), [&keys](const RaceCardRow& a, const RaceCardRow& b) {
    int primary = compareCells(a, b, keys.primaryColumn);
    if (primary != 0) return keys.primaryDescending ? primary > 0 : primary < 0;
    int secondary = compareCells(a, b, keys.secondaryColumn);
    return keys.secondaryDescending ? secondary > 0 : secondary < 0;
  });
}

std::array<std::string, kRaceHeaderLines> raceHeaderLines(std::string_view race) {
  namespace head = store::head;
  namespace ra = store::ra;
  namespace codes = store::codes;
  const Texts& t = texts();
  std::array<std::string, kRaceHeaderLines> lines;

  const std::string_view startTime = ra::kStartTime.in(race);
  lines[0] = std::string(head::kYear.in(race)) + t.year + std::string(head::kMonth.in(race)) +
             t.month + std::string(head::kDay.in(race)) + t.dayOpen +
             codes::weekdayName(ra::kWeekdayCode.in(race), 1) + ")" +
             codes::racecourseName(head::kRacecourseCode.in(race), 2) +
             std::string(head::kMeeting.in(race)) + t.times +
             std::string(head::kDayOfMeeting.in(race)) + t.day +
             std::string(head::kRaceNumber.in(race)) + "R   " +
             std::string(store::field(startTime, 1, 2)) + "." +
             std::string(store::field(startTime, 3, 2)) + t.raceStart;

  const int running = ra::kGradedRaceRunning.numberIn(race);
  if (running != 0) lines[1] = t.nth + std::to_string(running) + t.timesBlank;
  lines[1] += ra::kRaceName.in(race);

  lines[2] = format("%2d", ra::kRegisteredRunners.numberIn(race)) + t.runners +
             format("%4d", ra::kDistance.numberIn(race)) + t.metres +
             codes::trackName(ra::kTrackCode.in(race)) + " " +
             codes::gradeName(ra::kGradeCode.in(race), 1) + " " +
             codes::raceTypeName(ra::kRaceTypeCode.in(race), 6) + " " +
             codes::raceSymbolName(ra::kRaceSymbolCode.in(race));

  lines[3] = codes::weightTypeName(ra::kWeightTypeCode.in(race));
  const store::Field conditions[] = {ra::kConditionCode2yo, ra::kConditionCode3yo,
                                     ra::kConditionCode4yo, ra::kConditionCode5yoAndUp};
  for (size_t i = 0; i < 4; ++i) {
    std::string condition = codes::conditionName(conditions[i].in(race));
    lines[3] += " ";
    if (!store::isBlank(condition)) lines[3] += t.agePrefixes[i] + condition;
  }
  return lines;
}

std::string comparedMessage(bool compared) {
  return compared ? texts().compared : texts().notCompared;
}

RaceCard raceCard(const DayTables& tables, int raceSlot, RaceCardSort sort) {
  RaceCard card;
  card.raceSlot = raceSlot;
  card.header = raceHeaderLines(tables.race(raceSlot));
  card.rows = raceCardRows(tables, raceSlot);
  sortRaceCard(card.rows, sort);
  card.comparedMessage = comparedMessage(tables.analysis(raceSlot).compared);
  return card;
}

GridView raceCardGrid(std::span<const RaceCardRow> rows) {
  const RaceCardCells& headings = raceCardHeadings();
  const auto& widths = raceCardColumnWidths();
  GridView grid;
  grid.headings.assign(headings.begin(), headings.end());
  grid.columnWidths.assign(widths.begin(), widths.end());
  grid.rows.reserve(rows.size());
  for (const RaceCardRow& row : rows) grid.rows.emplace_back(row.cells.begin(), row.cells.end());
  grid.style = raceCardCellStyle;
  return grid;
}

std::string raceCardClipboardText(const RaceCard& card) {
  std::string heading;
  for (const std::string& line : card.header) heading += line + "\r\n";
  const GridView grid = raceCardGrid(card.rows);
  return gridCopyText(grid, wholeGrid(grid), heading);
}

void ComparisonPicker::pick(std::string_view horseName, std::string_view weightCarried,
                            std::string_view registrationNumber) {
  if (store::trim(m_edit1).empty()) {
    m_edit1 = horseName;
    m_weightA = weightCarried;
    m_horseA = registrationNumber;
  } else if (horseName != m_edit1) {
    m_edit2 = horseName;
    m_weightB = weightCarried;
    m_horseB = registrationNumber;
  }
}

void ComparisonPicker::clear() {
  m_edit1.clear();
  m_edit2.clear();
}

void pickFromRaceCard(ComparisonPicker& picker, const DayTables& tables, int raceSlot,
                      const RaceCardRow& row) {
  const int horseNumber = store::toInt(row.cells[col::kHorseNumber]);
  const std::string_view runner = tables.runner(raceSlot, horseNumber - 1);
  picker.pick(row.cells[col::kHorseName], row.cells[col::kWeightCarried],
              store::se::kRegistrationNumber.in(runner));
}

}  // namespace orvalle::model
