#include "model/day_loader.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "model/past_run_loader.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/day_file_lines.h"
#include "store/day_file_names.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/payout_block.h"
#include "store/predicted_odds_file.h"
#include "store/record.h"
#include "store/se_day_files.h"

namespace orvalle::model {
namespace {

namespace head = store::head;

constexpr std::string_view kLoadingLine = "レースデータを読み込んでいます。";
constexpr int kRacesPerRacecourse = 12;

// Sends progress reports when the caller wants them.
class ProgressReporter {
 public:
  explicit ProgressReporter(const ProgressCallback& callback) : m_callback(callback) {}

  void report(int position, int maximum, std::string upperLine) const {
    if (!m_callback) return;
    m_callback(Progress{position, maximum, std::move(upperLine), std::string(kLoadingLine)});
  }

 private:
  const ProgressCallback& m_callback;
};

// Reads the registered runners of a race slot from the SE day file of its
// racecourse; false when the race's data is incomplete.
bool readRunners(store::SeDayFiles& seFiles, DayTables& tables, int slot) {
  std::string_view race = tables.race(slot);
  const store::FixedRecordFile* file = seFiles.of(head::kRacecourseCode.in(race));
  if (file == nullptr) return false;

  const int raceNumber = head::kRaceNumber.numberIn(race);
  const int runners = store::ra::kRegisteredRunners.numberIn(race);
  // A race that cannot be placed in the SE file's slots, or that has more
  // runners than a race can hold, is data of an unfinished acquisition.
  if (raceNumber < 1 || raceNumber > kRacesPerRacecourse || runners < 1 || runners > kRunnerSlots) {
    return false;
  }
  for (int k = 0; k < runners; ++k) {
    std::string record = file->read(store::seSlot(raceNumber, k + 1));
    if (store::se::kBracket.numberIn(record) < 1) return false;
    tables.setRunner(slot, k, record);
  }
  return true;
}

// The HR fields that match a payout record to its race: year, month-day,
// racecourse and race number (meeting and day of meeting are not compared).
std::string payoutMatchKey(std::string_view record) {
  std::string key;
  for (store::Field field :
       {head::kYear, head::kMonthDay, head::kRacecourseCode, head::kRaceNumber}) {
    key += field.in(record);
  }
  return key;
}

void attachPayouts(DayTables& tables, const std::filesystem::path& dataFolder,
                   std::string_view stem) {
  auto records =
      store::readFixedRecords(store::dayFilePath(dataFolder, stem, "", store::kHrExtension),
                              store::kHrRecordLength, kRaceSlots);
  if (!records) return;
  for (const std::string& record : *records) {
    const std::string key = payoutMatchKey(record);
    if (store::isBlank(key)) continue;
    for (int slot = 0; slot < kRaceSlots; ++slot) {
      if (!tables.isRaceEmpty(slot) && payoutMatchKey(tables.race(slot)) == key) {
        tables.setPayout(slot, record);
        break;
      }
    }
  }
}

// The racecourse name a predicted-odds line names: through the JV-Data code
// on "J" lines and the KOL code on "K" lines; nullopt for another mark.
std::optional<std::string> predictedOddsRacecourse(const store::PredictedOddsLine& line) {
  switch (line.sourceMark()) {
    case 'J':
      return store::codes::racecourseName(line.racecourseCode(), 2);
    case 'K':
      return store::codes::racecourseNameByIndex(line.racecourseCode());
    default:
      return std::nullopt;
  }
}

// Ranks the runners with predicted odds: by the text "%6.1f" of the odds and
// "%2d" of the horse number, so equal odds rank by horse number.
void rankPredictedOdds(RaceAnalysis& analysis) {
  std::vector<std::pair<std::string, int>> keys;
  for (int slot = 0; slot < kRunnerSlots; ++slot) {
    if (analysis.predictedOdds[slot] > 0.0) {
      keys.emplace_back(
          store::format("%6.1f", analysis.predictedOdds[slot]) + store::format("%2d", slot + 1),
          slot);
    }
  }
  std::sort(keys.begin(), keys.end());
  for (size_t i = 0; i < keys.size(); ++i) {
    analysis.predictedOddsRank[keys[i].second] = static_cast<int32_t>(i + 1);
  }
}

void attachPredictedOdds(DayTables& tables, const std::filesystem::path& dataFolder,
                         std::string_view stem) {
  std::vector<store::PredictedOddsLine> lines =
      store::readPredictedOddsFile(store::predictedOddsFilePath(dataFolder, stem));
  if (lines.size() > static_cast<size_t>(kRaceSlots))
    lines.erase(lines.begin() + kRaceSlots, lines.end());
  for (const store::PredictedOddsLine& line : lines) {
    std::optional<std::string> racecourse = predictedOddsRacecourse(line);
    if (!racecourse) continue;
    for (int slot = 0; slot < kRaceSlots; ++slot) {
      if (tables.isRaceEmpty(slot)) continue;
      std::string_view race = tables.race(slot);
      if (head::kRaceDate.in(race) != line.date() ||
          head::kRaceNumber.numberIn(race) != line.raceNumber() ||
          store::codes::racecourseName(head::kRacecourseCode.in(race), 2) != *racecourse) {
        continue;
      }
      RaceAnalysis& analysis = tables.analysis(slot);
      for (int horse = 1; horse <= kRunnerSlots; ++horse) {
        if (auto odds = line.winOdds(horse)) analysis.predictedOdds[horse - 1] = *odds;
      }
      rankPredictedOdds(analysis);
      break;
    }
  }
}

void copyResults(DayTables& tables, int slot) {
  RaceAnalysis& analysis = tables.analysis(slot);
  analysis.result.payouts = store::parsePayoutBlock(tables.payout(slot));
  const int runners = store::ra::kRegisteredRunners.numberIn(tables.race(slot));
  for (int k = 0; k < runners; ++k) {
    std::string_view runner = tables.runner(slot, k);
    analysis.result.raceTime[k] = store::se::kRaceTime.in(runner);
    analysis.result.finishingPosition[k] = store::se::kFinishingPosition.in(runner);
    analysis.result.popularityRank[k] = store::se::kPopularityRank.in(runner);
    analysis.result.finalOdds[k] = store::se::kWinOdds.in(runner);
  }
}

// The progress line of a runner whose past runs are read: racecourse, race
// number, "R/", circled horse number and the first 18 bytes of its name.
std::string runnerProgressLine(std::string_view race, std::string_view runner) {
  return cp932::toUtf8(store::codes::racecourseName(head::kRacecourseCode.in(race), 2) +
                       store::format("%2d", head::kRaceNumber.numberIn(race)) + "R/" +
                       store::codes::circledNumber(store::se::kHorseNumber.in(runner)) +
                       store::fitWidth(store::se::kHorseName.in(runner), 18));
}

}  // namespace

DayLoadResult DayLoadResult::success(std::vector<RaceListEntry> raceList) {
  DayLoadResult result;
  result.m_ok = true;
  result.m_raceList = std::move(raceList);
  return result;
}

DayLoadResult DayLoadResult::failure(std::string message) {
  DayLoadResult result;
  result.m_message = std::move(message);
  return result;
}

DayLoadResult DayLoadResult::cancel() {
  DayLoadResult result;
  result.m_cancelled = true;
  return result;
}

std::string dayNotCreatedMessage(std::string_view stem) {
  return std::string(stem) + "のデータ作成は未完了のようです。";
}

std::string dayIncompleteMessage(std::string_view stem) {
  return std::string(stem) +
         "のデータ作成は未完了です。少し時間をおいてデータを再取得してください。";
}

std::string raceListLine(std::string_view raRecord) {
  static const std::string kTimes = sj("回 ");
  static const std::string kDay = sj("日");
  return store::codes::racecourseName(head::kRacecourseCode.in(raRecord), 0) +
         std::string(head::kMeeting.in(raRecord)) + kTimes +
         std::string(head::kDayOfMeeting.in(raRecord)) + kDay +
         store::format("%2d", head::kRaceNumber.numberIn(raRecord)) + "R";
}

DayLoadResult loadDay(DayTables& tables, const DayLoadRequest& request) {
  const std::string& stem = request.stem;
  const ProgressReporter progress(request.progress);

  tables.newFormat = isNewFormatDay(stem);
  tables.resetAnalysesForDayLoad();

  // A failed load leaves no race loaded, neither of this day nor of the day
  // before, so no command can work on a day that is not there.
  auto fail = [&tables](std::string message) {
    tables.blankFill();
    return DayLoadResult::failure(std::move(message));
  };
  auto cancelled = [&request] { return request.cancel != nullptr && request.cancel->cancelled(); };
  auto stop = [&tables] {
    tables.blankFill();
    return DayLoadResult::cancel();
  };

  // The stem names files: only a well-formed day is looked for.
  const bool stemIsDay = store::dateOfDayStem(stem).has_value();
  auto raPath = store::dayFilePath(request.dataFolder, stem, "", store::kRaExtension);
  std::optional<std::vector<std::string>> races;
  if (stemIsDay) races = store::readFixedRecords(raPath, store::kRaRecordLength, kRaceSlots);
  if (!races) return fail(dayNotCreatedMessage(stem));

  const int raceCount = static_cast<int>(races->size());
  progress.report(0, raceCount, stem);
  tables.blankFill();

  store::SeDayFiles seFiles(request.dataFolder, stem);
  for (int slot = 0; slot < raceCount; ++slot) {
    if (cancelled()) return stop();
    tables.setRace(slot, (*races)[static_cast<size_t>(slot)]);
    if (!readRunners(seFiles, tables, slot)) {
      return fail(dayIncompleteMessage(stem));
    }
    progress.report(slot + 1, raceCount, stem);
  }

  attachPayouts(tables, request.dataFolder, stem);
  attachPredictedOdds(tables, request.dataFolder, stem);

  std::vector<RaceListEntry> raceList;
  for (int slot = 0; slot < kRaceSlots; ++slot) {
    if (!tables.isRaceEmpty(slot)) raceList.push_back({slot, raceListLine(tables.race(slot))});
  }

  for (const RaceListEntry& entry : raceList) copyResults(tables, entry.raceSlot);

  for (const RaceListEntry& entry : raceList) {
    const int slot = entry.raceSlot;
    std::string_view race = tables.race(slot);
    const PastRunPeriod period = PastRunPeriod::of(store::raceDate(race), request.pastRunPeriodDays,
                                                   request.ignorePastRunDates);
    const int runners = store::ra::kRegisteredRunners.numberIn(race);
    for (int k = 0; k < runners; ++k) {
      if (cancelled()) return stop();
      progress.report(slot, raceCount, runnerProgressLine(race, tables.runner(slot, k)));
      loadPastRuns(tables, slot, k, request.seiFolder, period);
    }
    tables.analysis(slot).resetComparison();
  }
  return DayLoadResult::success(std::move(raceList));
}

}  // namespace orvalle::model
