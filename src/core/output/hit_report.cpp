#include "output/hit_report.h"

#include <set>

#include "output/results_panel.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"
#include "store/text_file.h"

namespace orvalle::output {
namespace {

using store::BetType;

// A bet type as the report reads it: the grid it reads its combinations
// from and the characters of a combination that count.
struct ReportedBetType {
  BetType type;
  size_t characters;
};
constexpr ReportedBetType kReportOrder[] = {
    {BetType::kTrio, 8},
    {BetType::kQuinella, 5},
    {BetType::kQuinellaPlace, 5},
    {BetType::kExacta, 5},
};

const std::string& betTypeTag(BetType type) {
  static const std::string kTrio = sj("R[３連複]:");
  static const std::string kQuinella = sj("R[馬連　]：　");
  static const std::string kQuinellaPlace = sj("R[ワイド]：　");
  static const std::string kExacta = sj("R[馬単　]：　");
  switch (type) {
    case BetType::kTrio:
      return kTrio;
    case BetType::kQuinella:
      return kQuinella;
    case BetType::kQuinellaPlace:
      return kQuinellaPlace;
    default:
      return kExacta;
  }
}

// The grid rows of a bet type: the combination texts of the block in row
// order (quinella place reads the quinella grid).
template <typename Visit>
void forEachGridRow(const model::CombinationBlock& block, BetType type, Visit visit) {
  auto visitAll = [&visit](const auto& texts) {
    for (int k = 0; k < static_cast<int>(texts.size()); ++k) visit(texts[k]);
  };
  switch (type) {
    case BetType::kTrio:
      visitAll(block.trio);
      break;
    case BetType::kQuinella:
    case BetType::kQuinellaPlace:
      visitAll(block.quinella);
      break;
    default:
      visitAll(block.exacta);
      break;
  }
}

std::string payoutText(int payout) {
  static const std::string kBefore = sj("/配当 ");
  static const std::string kAfter = sj("円");
  return kBefore + store::format("%7d", payout) + kAfter;
}

// The fragment line of one hit.
std::string fragmentLine(std::string_view race, BetType type, std::string_view combination,
                         int payout) {
  static const std::string kRedImage = R"(<img src="./image/lis1.gif">)";
  static const std::string kBlueImage = R"(<img src="./image/lis2.gif">)";
  static const std::string kRed = R"(<font color="red">)";
  static const std::string kBlue = R"(<font color="blue">)";
  static const std::string kFullWidthBlank = sj("　");
  const bool red = payout >= hitReportLimits(type).colourLimit;
  return (red ? kRedImage : kBlueImage) + (red ? kRed : kBlue) +
         std::string(store::trimRight(
             store::codes::racecourseName(store::head::kRacecourseCode.in(race), 2))) +
         store::format("%2d", store::head::kRaceNumber.numberIn(race)) + betTypeTag(type) +
         std::string(combination) + payoutText(payout) + kFullWidthBlank +
         std::string(store::ra::kSixCharacterRaceName.in(race)) + "</font>";
}

// The hit-list line of one hit.
std::string hitListLine(std::string_view race, BetType type, std::string_view combination,
                        int payout) {
  return std::string(store::head::kRaceDate.in(race)) +
         std::string(store::head::kRacecourseCode.in(race)) +
         std::string(store::head::kRaceNumber.in(race)) + betTypeTag(type) +
         std::string(combination) + payoutText(payout);
}

bool isEightDigits(std::string_view text) {
  if (text.size() != 8) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

HitReportLimits hitReportLimits(BetType type) {
  switch (type) {
    case BetType::kQuinellaPlace:
      return {5000, 3000};
    case BetType::kTrio:
    case BetType::kQuinella:
    case BetType::kExacta:
      return {10000, 5000};
    default:
      return {0, 0};
  }
}

std::string HitReport::text() const { return store::joinLines(fragment); }

const std::string& hitReportHeading() {
  static const std::string kHeading = sj(
      R"(<br /><img src="./image/balist.gif"><font color="black">【Orvalle for JRA-VAN Data Lab.】</font>)");
  return kHeading;
}

std::string fragmentFileName(std::string_view date) { return "TK" + std::string(date) + ".txt"; }

HitReport buildHitReport(const model::DayTables& tables,
                         const std::vector<model::RaceListEntry>& raceList, HitReportKind kind,
                         const HitReportRaceVisit& beforeRace) {
  HitReport report;
  report.fragment.push_back(hitReportHeading());
  report.date = std::string(store::head::kRaceDate.in(tables.race(0)));

  for (size_t line = 0; line < raceList.size(); ++line) {
    const model::RaceListEntry& entry = raceList[line];
    if (beforeRace) beforeRace(static_cast<int>(line), entry);
    const std::string_view race = tables.race(entry.raceSlot);
    const model::RaceAnalysis& analysis = tables.analysis(entry.raceSlot);
    for (const ReportedBetType& reported : kReportOrder) {
      const ResultsGroupTexts paid = resultsGroupTexts(analysis.result.payouts, reported.type);
      const int floor =
          kind == HitReportKind::kLongShot ? hitReportLimits(reported.type).longShotFloor : 0;
      forEachGridRow(analysis.combinations, reported.type, [&](const std::string& text) {
        // A blank combination is an empty grid row; it matches no shown entry.
        if (store::isBlank(text)) return;
        const std::string combination = text.substr(0, reported.characters);
        for (const ResultsEntryTexts& shown : paid.entries) {
          if (!shown.shown() || shown.result != combination) continue;
          const int payout = store::toInt(shown.payout);
          if (payout <= floor) continue;
          report.fragment.push_back(fragmentLine(race, reported.type, combination, payout));
          report.hitListLines.push_back(hitListLine(race, reported.type, combination, payout));
        }
      });
    }
  }
  return report;
}

std::vector<std::string> loadHitList(const std::filesystem::path& path) {
  std::optional<std::string> bytes = store::readFileBytes(path);
  if (!bytes) return {std::string(kHitListFirstLine)};
  std::set<std::string, store::CaseInsensitiveLess> sorted;
  for (std::string& line : store::splitLines(*bytes)) sorted.insert(std::move(line));
  return {sorted.begin(), sorted.end()};
}

HitReportFiles saveHitReport(const HitReport& report, const std::filesystem::path& folder) {
  HitReportFiles files;
  if (!report.worthWriting()) return files;
  // The date names a file: only digits may go into its name.
  if (!isEightDigits(report.date)) {
    throw Error("的中レポートの日付が正しくありません: " + cp932::toUtf8(report.date));
  }
  const std::filesystem::path hitListPath = folder / std::string(kHitListFileName);
  std::vector<std::string> loaded = loadHitList(hitListPath);
  std::set<std::string, store::CaseInsensitiveLess> hitList(loaded.begin(), loaded.end());
  hitList.insert(report.hitListLines.begin(), report.hitListLines.end());

  files.fragmentPath = folder / fragmentFileName(report.date);
  store::writeLines(files.fragmentPath, report.fragment);
  store::writeLines(hitListPath, {hitList.begin(), hitList.end()});
  files.hitListPath = hitListPath;
  files.written = true;
  return files;
}

}  // namespace orvalle::output
