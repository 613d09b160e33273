#include "output/prediction_writer.h"

#include <set>

#include "output/processed_days.h"
#include "store/day_file_names.h"
#include "store/durable_batch.h"
#include "store/horse_files.h"
#include "store/prediction_file.h"
#include "store/record.h"

namespace orvalle::output {
namespace {

store::PredictionFigures figuresOf(const model::RaceAnalysis& analysis, int runnerSlot) {
  store::PredictionFigures figures;
  figures.winCount = analysis.winCount[runnerSlot];
  figures.lossCount = analysis.lossCount[runnerSlot];
  figures.winRate = analysis.winRate[runnerSlot];
  figures.winRateRank = analysis.winRateRank[runnerSlot];
  figures.winPoints = analysis.winPoints[runnerSlot];
  figures.lossPoints = analysis.lossPoints[runnerSlot];
  figures.pointWinRate = analysis.pointWinRate[runnerSlot];
  figures.pointWinRateRank = analysis.pointWinRateRank[runnerSlot];
  return figures;
}

// The day stem "yyyy年mm月dd日" (UTF-8) of an RA record.
std::string dayStemOf(std::string_view race) {
  return std::string(store::head::kYear.in(race)) + "年" +
         std::string(store::head::kMonth.in(race)) + "月" +
         std::string(store::head::kDay.in(race)) + "日";
}

}  // namespace

PredictionWriteResult writePredictions(const model::DayTables& tables,
                                       const std::filesystem::path& homeFolder,
                                       const std::filesystem::path& seiFolder, int raceListCount) {
  PredictionWriteResult result;
  std::set<std::string> stems;
  int year = 0;
  // The prediction files of the day are one durable batch, committed before
  // the day is recorded as processed.
  store::DurableBatch batch;
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    std::string_view race = tables.race(slot);
    if (store::isBlank(store::head::kYear.in(race))) continue;
    // Only a real date names a day; a damaged year field adds no stem.
    if (std::string stem = dayStemOf(race); store::dateOfDayStem(stem)) stems.insert(stem);
    year = store::head::kYear.numberIn(race);

    int runners = store::ra::kRegisteredRunners.numberIn(race);
    if (runners < 5 || runners > model::kRunnerSlots) continue;
    const model::RaceAnalysis& analysis = tables.analysis(slot);
    for (int runner = 0; runner < runners; ++runner) {
      std::string_view se = tables.runner(slot, runner);
      std::string_view number = store::se::kRegistrationNumber.in(se);
      if (store::isBlank(number)) continue;
      auto file = store::predictionFilePath(seiFolder, number);
      if (!file) continue;  // a damaged number names no file
      store::writePredictionLine(
          *file, store::predictionLine(store::raceKey(race), figuresOf(analysis, runner)));
      ++result.filesWritten;
    }
  }

  batch.commit();

  result.dayStems.assign(stems.begin(), stems.end());
  if (!result.dayStems.empty() && raceListCount > 6 && year > 0) {
    addProcessedDays(homeFolder, year, result.dayStems);
    result.recordedAsProcessed = true;
  }
  return result;
}

}  // namespace orvalle::output
