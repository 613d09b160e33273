// The day files of one race day as day loading reads them: the race list
// (RA), the runners (SE day file of the first race's racecourse), the
// payouts (HR) and the predicted odds (.yoz).
// Input: RA file, SE file, HR file and .yoz file, separated by
// kFileSeparator. The day is the date of the first RA line when that names
// a day, else 2024-01-06.

#include <memory>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "model/day_loader.h"
#include "model/day_tables.h"
#include "store/day_file_names.h"
#include "store/error.h"
#include "store/predicted_odds_file.h"
#include "store/record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvalle;
  // The tables of a day are large; one set serves every input, as one
  // window serves every day it loads.
  static const std::unique_ptr<model::DayTables> tables = std::make_unique<model::DayTables>();

  fuzz::MemoryHome home;
  const auto parts = fuzz::splitFiles(fuzz::inputText(data, size), 4, 4);
  const std::string_view ra = parts[0];
  const std::string stem =
      store::dayStemOfDate(store::head::kRaceDate.in(ra)).value_or(std::string("2024年01月06日"));
  const std::filesystem::path dataFolder = "/home/DATA";
  try {
    home.files().putFile(store::dayFilePath(dataFolder, stem, "", store::kRaExtension),
                         std::string(ra));
    if (auto se = store::seDayFilePath(dataFolder, stem, store::head::kRacecourseCode.in(ra))) {
      home.files().putFile(*se, std::string(parts[1]));
    }
    home.files().putFile(store::dayFilePath(dataFolder, stem, "", store::kHrExtension),
                         std::string(parts[2]));
    home.files().putFile(store::predictedOddsFilePath(dataFolder, stem), std::string(parts[3]));
  } catch (const Error&) {
    // A stem or racecourse name the memory file system cannot hold: there is
    // nothing to load.
    return 0;
  }

  try {
    (void)store::listDays(dataFolder);
    model::DayLoadRequest request;
    request.dataFolder = dataFolder;
    request.seiFolder = "/home/SEI";
    request.stem = stem;
    const model::DayLoadResult result = model::loadDay(*tables, request);
    for (const model::RaceListEntry& entry : result.raceList()) {
      (void)model::raceListLine(tables->race(entry.raceSlot));
    }
  } catch (const Error&) {
  }
  return 0;
}
