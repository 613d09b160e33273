// A horse's past-run file (.kak) and prediction file (.yos) as day loading
// reads them for a runner, the detailed race card that shows the runs taken,
// and the merging writers that read the files before rewriting them.
// Input: .kak file, then .yos file, separated by kFileSeparator.

#include <memory>
#include <string>

#include "fuzz_input.h"
#include "model/day_tables.h"
#include "model/detailed_race_card.h"
#include "model/past_run_loader.h"
#include "store/error.h"
#include "store/past_run_file.h"
#include "store/past_run_record.h"
#include "store/prediction_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvalle;
  static const std::unique_ptr<model::DayTables> tables = fuzz::oneRunnerDay();

  fuzz::MemoryHome home;
  const auto parts = fuzz::splitFiles(fuzz::inputText(data, size), 2, 2);
  const std::filesystem::path kak = "/home/SEI/2019/2019104321.kak";
  const std::filesystem::path yos = "/home/SEI/2019/2019104321.yos";
  home.files().putFile(kak, std::string(parts[0]));
  home.files().putFile(yos, std::string(parts[1]));

  for (bool ignoreDates : {false, true}) {
    try {
      const int taken = model::loadPastRuns(
          *tables, 0, 0, "/home/SEI",
          model::PastRunPeriod::of(fuzz::kOneRunnerRaceDate, 1826, ignoreDates));
      (void)model::detailedRunnerInfo(*tables, 0, 0);
      for (int slot = 0; slot < taken; ++slot) {
        (void)model::pastRunCell(*tables, 0, 0, slot);
        (void)model::pastRunRaceLabel(tables->pastRun(0, 0, slot));
      }
    } catch (const Error&) {
    }
  }

  // The writers read the old lines back before they rewrite a file.
  try {
    std::string line(store::kPastRunRecordLength - 2, ' ');
    line.replace(0, fuzz::kOneRunnerRaceKey.size(), fuzz::kOneRunnerRaceKey);
    store::mergePastRunLine(kak, line);
  } catch (const Error&) {
  }
  try {
    store::PredictionFigures figures;
    figures.winCount = 3;
    figures.pointWinRate = 0.5;
    figures.pointWinRateRank = 1;
    store::writePredictionLine(yos, store::predictionLine(fuzz::kOneRunnerRaceKey, figures));
  } catch (const Error&) {
  }
  return 0;
}
