#include "output/payout_import.h"

#include <algorithm>
#include <optional>
#include <string>

#include "betting/race_scoring.h"
#include "store/day_file_lines.h"
#include "store/day_file_names.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/payout_block.h"
#include "store/record.h"
#include "store/se_day_files.h"

namespace orvalle::output {
namespace {

namespace fs = std::filesystem;
namespace head = store::head;

constexpr int kRacesPerRacecourse = 12;

// Racecourse code and race number: what names the displayed race across the
// reload.
std::string courseAndRace(std::string_view race) {
  return std::string(head::kRacecourseCode.in(race)) + std::string(head::kRaceNumber.in(race));
}

// The registered runners of a race, within the slots a race has.
int registeredRunners(std::string_view race) {
  return std::clamp(store::ra::kRegisteredRunners.numberIn(race), 0, model::kRunnerSlots);
}

void reloadRacesAndRunners(model::DayTables& tables, const fs::path& dataFolder,
                           std::string_view stem) {
  std::optional<std::vector<std::string>> races =
      store::readFixedRecords(store::dayFilePath(dataFolder, stem, "", store::kRaExtension),
                              store::kRaRecordLength, model::kRaceSlots);
  if (!races) return;
  store::SeDayFiles runnerFiles(dataFolder, std::string(stem));
  for (size_t n = 0; n < races->size(); ++n) {
    const int slot = static_cast<int>(n);
    const std::string& race = (*races)[n];
    tables.setRace(slot, race);
    if (store::isBlank(head::kYear.in(race))) continue;

    const int raceNumber = head::kRaceNumber.numberIn(race);
    const int runners = store::ra::kRegisteredRunners.numberIn(race);
    // A race that cannot be placed in the SE file's slots would read another
    // race's runners.
    if (raceNumber < 1 || raceNumber > kRacesPerRacecourse || runners < 0 ||
        runners > model::kRunnerSlots) {
      continue;
    }
    const store::FixedRecordFile* file = runnerFiles.of(head::kRacecourseCode.in(race));
    if (file == nullptr) continue;
    for (int k = 0; k < runners; ++k) {
      tables.setRunner(slot, k, file->read(store::seSlot(raceNumber, k + 1)));
    }
  }
}

void copyRunnerResults(model::DayTables& tables, int slot) {
  model::ResultSection& result = tables.analysis(slot).result;
  const int runners = registeredRunners(tables.race(slot));
  for (int k = 0; k < runners; ++k) {
    std::string_view runner = tables.runner(slot, k);
    result.raceTime[k] = store::se::kRaceTime.in(runner);
    result.finishingPosition[k] = store::se::kFinishingPosition.in(runner);
    result.popularityRank[k] = store::se::kPopularityRank.in(runner);
    result.finalOdds[k] = store::se::kWinOdds.in(runner);
  }
}

}  // namespace

PayoutImportResult importPayouts(model::DayTables& tables, const fs::path& dataFolder,
                                 std::string_view stem, int currentRace) {
  PayoutImportResult result;
  std::optional<std::string> current;
  if (currentRace >= 0) current = courseAndRace(tables.race(currentRace));

  reloadRacesAndRunners(tables, dataFolder, stem);

  std::optional<std::vector<std::string>> payouts =
      store::readFixedRecords(store::dayFilePath(dataFolder, stem, "", store::kHrExtension),
                              store::kHrRecordLength, model::kRaceSlots);
  if (!payouts) return result;
  result.payoutFileRead = true;

  for (int slot = 0; slot < model::kRaceSlots; ++slot) tables.setPayout(slot, "");
  for (const std::string& record : *payouts) {
    const std::string_view key = store::raceKey(record);
    const int slot = store::isBlank(key) ? -1 : tables.raceSlotOfKey(key);
    if (slot < 0) {
      ++result.payoutsDropped;
      continue;
    }
    tables.setPayout(slot, record);
    ++result.payoutsAttached;
    if (current && courseAndRace(tables.race(slot)) == *current) {
      result.currentRaceReceivedPayouts = true;
    }
  }

  betting::clearScores(tables, false);
  tables.zeroTallies();
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (tables.isRaceEmpty(slot)) continue;
    tables.analysis(slot).result.payouts = store::parsePayoutBlock(tables.payout(slot));
    copyRunnerResults(tables, slot);
    betting::scoreRace(tables, slot);
    ++result.racesScored;
  }
  return result;
}

}  // namespace orvalle::output
