#include "model/detailed_race_card.h"

#include <algorithm>

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/early_pace.h"
#include "store/fixed_width.h"
#include "store/past_run_record.h"
#include "store/record.h"

namespace orvalle::model {
namespace {

namespace pr = store::past_run;
namespace codes = store::codes;
using store::format;

// CP932 texts of the detailed race card, converted once.
struct Texts {
  std::string thousandYen = sj("千円");
  std::string jockey = sj("騎　手:");
  std::string trainer = sj("調教師:");
  std::string runners = sj("頭");
  std::string popularity = sj("人");
  std::string early = sj(" 前:");
  std::string late = sj(" 後:");
  std::string under = sj("下");
  std::string hundredMillion = sj("1億下");
  std::string newcomers = sj("新馬");
  std::string unraced = sj("未出走");
  std::string maiden = sj("未勝利");
  std::string open = sj("ｵｰﾌﾟﾝ");
  std::string expectedWin = sj("順当");
  std::string upset = sj("裏切");
  std::string fullWidthBlank = sj("　");
  std::string numbered = sj("走前");
  std::array<std::string, 4> distanceLabels = {sj("全:"), sj("短:"), sj("中:"), sj("長:")};
  std::array<std::string, 4> goingLabels = {sj("芝全:"), sj("芝重:"), sj("ダ全:"), sj("ダ重:")};
};

const Texts& texts() {
  static const Texts kTexts;
  return kTexts;
}

std::string countsText(const FinishCounts& counts) {
  return format("%2d-%2d-%2d-%2d", counts.places[0], counts.places[1], counts.places[2],
                counts.places[3]);
}

std::string earningsText(long long hundreds) {
  return format("%7lld", hundreds) + texts().thousandYen;
}

bool isFilled(std::string_view pastRun) { return !store::isBlank(pr::kYear.in(pastRun)); }

}  // namespace

const std::array<std::string, kDetailedFixedColumns>& detailedFixedHeadings() {
  static const std::array<std::string, kDetailedFixedColumns> kHeadings = {
      sj("枠"), sj("馬"), sj("馬名"), sj("全・距離別成績"), sj("馬場別成績")};
  return kHeadings;
}

std::vector<std::string> pastRunNumbering(const DayTables& tables, int raceSlot) {
  const int runners = store::ra::kRegisteredRunners.numberIn(tables.race(raceSlot));
  int most = 0;
  for (int k = 0; k < runners; ++k) {
    int count = 0;
    while (count < kMaxNumberedPastRuns && isFilled(tables.pastRun(raceSlot, k, count))) ++count;
    most = std::max(most, count);
  }
  std::vector<std::string> headings;
  for (int n = 1; n <= most; ++n) headings.push_back(format("%3d", n) + texts().numbered);
  return headings;
}

std::vector<std::string> detailedCardHeadings(const DayTables& tables, int raceSlot) {
  const auto& fixed = detailedFixedHeadings();
  std::vector<std::string> headings(fixed.begin(), fixed.end());
  std::vector<std::string> numbering = pastRunNumbering(tables, raceSlot);
  headings.insert(headings.end(), numbering.begin(), numbering.end());
  headings.resize(kDetailedColumns);
  return headings;
}

const std::array<int, kDetailedColumns>& detailedCardColumnWidths() {
  static const std::array<int, kDetailedColumns> kWidths = [] {
    std::array<int, kDetailedColumns> widths{};
    widths.fill(145);
    const int fixed[kDetailedFixedColumns] = {20, 20, 140, 90, 100};
    std::copy(std::begin(fixed), std::end(fixed), widths.begin());
    return widths;
  }();
  return kWidths;
}

DetailedRunnerInfo detailedRunnerInfo(const DayTables& tables, int raceSlot, int runnerSlot) {
  namespace se = store::se;
  const Texts& t = texts();
  const std::string_view runner = tables.runner(raceSlot, runnerSlot);
  const RaceAnalysis& a = tables.analysis(raceSlot);
  const int k = runnerSlot;

  DetailedRunnerInfo info;
  const int bracket = se::kBracket.numberIn(runner);
  info.bracket = format("%1d", bracket);
  info.bracketBackground = bracketColour(bracket);
  info.bracketDigit = bracketDigitColour(bracket);
  info.horseNumber = format("%2d", se::kHorseNumber.numberIn(runner));
  info.horseName = store::fitWidth(se::kHorseName.in(runner), 18);
  info.sexAge =
      codes::sexName(se::kSexCode.in(runner)) + store::numberInOwnWidth(se::kAge.in(runner));
  info.earnings = earningsText(a.periodEarnings[k]);
  info.blinkers = codes::blinkersMark(se::kBlinkers.in(runner));
  info.jockey = t.jockey + std::string(se::kJockeyShortName.in(runner));
  info.weightCarried = format("%4.1fkg", se::kWeightCarried.numberIn(runner) / 10.0);
  info.apprentice = codes::apprenticeName(se::kApprenticeCode.in(runner));
  info.trainer = t.trainer + std::string(se::kTrainerShortName.in(runner));

  const FinishCounts* distances[] = {&a.overallCounts[k], &a.shortDistanceCounts[k],
                                     &a.middleDistanceCounts[k], &a.longDistanceCounts[k]};
  const FinishCounts* goings[] = {&a.turfCounts[k], &a.turfHeavyCounts[k], &a.dirtCounts[k],
                                  &a.dirtHeavyCounts[k]};
  for (size_t i = 0; i < 4; ++i) {
    info.distanceRecord[i] = t.distanceLabels[i] + countsText(*distances[i]);
    info.goingRecord[i] = t.goingLabels[i] + countsText(*goings[i]);
  }
  return info;
}

std::string pastRunRaceLabel(std::string_view pastRun) {
  const Texts& t = texts();
  std::string name = store::withoutFullWidthBlanks(store::trim(pr::kShortRaceName.in(pastRun)));
  if (!name.empty()) return name;
  const int condition = pr::kConditionCode.numberIn(pastRun);
  if (condition >= 1 && condition <= 99) return std::to_string(condition * 100) + t.under;
  switch (condition) {
    case 100:
      return t.hundredMillion;
    case 701:
      return t.newcomers;
    case 702:
      return t.unraced;
    case 703:
      return t.maiden;
    case 999:
      return t.open;
    default:
      return " ";
  }
}

PastRunCell pastRunCell(const DayTables& tables, int raceSlot, int runnerSlot, int pastRunSlot) {
  const Texts& t = texts();
  const std::string_view run = tables.pastRun(raceSlot, runnerSlot, pastRunSlot);
  const int mark = tables.pastRunMark(raceSlot, runnerSlot, pastRunSlot);

  PastRunCell cell;
  if (!isFilled(run)) return cell;
  cell.empty = false;
  cell.background = colours::kWhite;

  cell.lines[0] = std::string(pr::kMeeting.in(run).substr(1)) +
                  store::fitWidth(codes::racecourseName(pr::kRacecourseCode.in(run), 2), 4) +
                  std::string(pr::kMonth.in(run)) + "." + std::string(pr::kDay.in(run)) +
                  std::string(store::trim(codes::gradeName(pr::kGradeCode.in(run), 1))) + " " +
                  pastRunRaceLabel(run);

  cell.lines[1] = format("%2d", pr::kRegisteredRunners.numberIn(run)) + t.runners +
                  format("%4d", pr::kDistance.numberIn(run)) + "m" +
                  codes::trackShortName(pr::kTrackCode.in(run)) +
                  codes::weatherName(pr::kWeatherCode.in(run)) +
                  codes::goingName(pr::kTurfGoingCode.in(run), 0);

  const std::string weight = store::fitWidth(pr::kWeightCarried.in(run), 3);
  cell.lines[2] = std::string(pr::kJockeyShortName.in(run)) + weight.substr(0, 2) + "." +
                  weight.substr(2, 1) + "kg" + codes::circledNumber(pr::kHorseNumber.in(run)) +
                  store::numberInOwnWidth(pr::kPopularityRank.in(run)) + t.popularity;
  const int position = pr::kFinishingPosition.numberIn(run);
  cell.finishingPosition = position == 0 ? " " : format("%2d", position);
  cell.finishingPositionColour = placeColour(position, colours::kBlack);

  const int time = pr::kRaceTime.numberIn(run);
  const int last3Furlongs = pr::kLast3Furlongs.numberIn(run);
  cell.lines[3] = (time >= 1 && time <= 9998 ? format("%4d", time) : std::string(4, ' ')) +
                  t.early +
                  codes::earlyPaceFigure(pr::kRaceTime.in(run), pr::kLast3Furlongs.in(run),
                                         pr::kDistance.in(run)) +
                  t.late +
                  (last3Furlongs >= 1 && last3Furlongs <= 998 ? format("%3d", last3Furlongs)
                                                              : std::string(3, ' '));

  for (store::Field corner :
       {pr::kCorner1Position, pr::kCorner2Position, pr::kCorner3Position, pr::kCorner4Position}) {
    cell.lines[4] += codes::circledNumber(corner.numberIn(run));
  }
  cell.lines[4] += pr::kHorseWeight.numberIn(run) >= 1
                       ? std::string(pr::kHorseWeight.in(run)) + "kg"
                       : std::string(5, ' ');
  cell.lines[4] += earningsText(static_cast<long long>(pr::kPrizeMoney.numberIn(run)) +
                                pr::kAddedPrizeMoney.numberIn(run));

  switch (mark) {
    case 1:
      cell.mark = t.expectedWin;
      cell.markColour = colours::kBlue;
      break;
    case 2:
      cell.mark = t.upset;
      cell.markColour = colours::kDarkRed;
      break;
    default:
      cell.mark = t.fullWidthBlank;
      cell.markColour = colours::kBlack;
      break;
  }
  return cell;
}

}  // namespace orvalle::model
