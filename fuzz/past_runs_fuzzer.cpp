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
#include "store/record.h"

namespace {

using namespace orvalle;

constexpr std::string_view kRaceKey = "2024010606010111";
constexpr int kRaceDate = 20240106;
constexpr std::string_view kRegistrationNumber = "2019104321";

std::string recordImage(std::string_view kind, size_t length) {
  std::string image(length - 2, ' ');
  image.replace(0, 2, kind);
  image[2] = '7';
  image.replace(3, 8, "20240105");
  image.replace(11, kRaceKey.size(), kRaceKey);
  return image + "\r\n";
}

void put(std::string& record, store::Field field, std::string_view text) {
  record.replace(static_cast<size_t>(field.position - 1), text.size(), text);
}

// One race with one registered runner, horse 1 of bracket 1.
std::unique_ptr<model::DayTables> dayWithOneRunner() {
  auto tables = std::make_unique<model::DayTables>();
  std::string ra = recordImage("RA", store::kRaRecordLength);
  put(ra, store::ra::kRegisteredRunners, "01");
  tables->setRace(0, ra);
  std::string se = recordImage("SE", store::kSeRecordLength);
  put(se, store::se::kBracket, "1");
  put(se, store::se::kHorseNumber, "01");
  put(se, store::se::kRegistrationNumber, kRegistrationNumber);
  tables->setRunner(0, 0, se);
  return tables;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::unique_ptr<model::DayTables> tables = dayWithOneRunner();

  fuzz::MemoryHome home;
  const auto parts = fuzz::splitFiles(fuzz::inputText(data, size), 2, 2);
  const std::filesystem::path kak = "/home/SEI/2019/2019104321.kak";
  const std::filesystem::path yos = "/home/SEI/2019/2019104321.yos";
  home.files().putFile(kak, std::string(parts[0]));
  home.files().putFile(yos, std::string(parts[1]));

  for (bool ignoreDates : {false, true}) {
    try {
      const int taken = model::loadPastRuns(*tables, 0, 0, "/home/SEI",
                                            model::PastRunPeriod::of(kRaceDate, 1826, ignoreDates));
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
    line.replace(0, kRaceKey.size(), kRaceKey);
    store::mergePastRunLine(kak, line);
  } catch (const Error&) {
  }
  try {
    store::PredictionFigures figures;
    figures.winCount = 3;
    figures.pointWinRate = 0.5;
    figures.pointWinRateRank = 1;
    store::writePredictionLine(yos, store::predictionLine(kRaceKey, figures));
  } catch (const Error&) {
  }
  return 0;
}
