#include "support/simulated_home.h"

#include <algorithm>
#include <map>
#include <set>

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/day_file_store.h"
#include "store/error.h"
#include "store/fixed_record_file.h"
#include "store/horse_files.h"
#include "store/past_run_record.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/temp_dir.h"

namespace orvalle::test {
namespace {

namespace fs = std::filesystem;

fs::path seDayFile(const fs::path& dataFolder, std::string_view stem, std::string_view raRecord) {
  const std::string racecourse =
      cp932::toUtf8(store::codes::racecourseName(store::head::kRacecourseCode.in(raRecord), 2));
  return store::dayFilePath(dataFolder, stem, racecourse, store::kSeExtension);
}

// The RA records of a day and the SE slots of each race's registered runners.
struct DayRecords {
  std::vector<std::string> races;
  std::vector<std::vector<std::string>> runners;
};

DayRecords readDay(const fs::path& dataFolder, std::string_view stem) {
  const fs::path raPath = store::dayFilePath(dataFolder, stem, "", store::kRaExtension);
  auto races = store::readFixedRecords(raPath, store::kRaRecordLength, 36);
  if (!races) throw Error("no RA day file: " + raPath.string());
  DayRecords day;
  day.races = std::move(*races);
  for (const std::string& race : day.races) {
    const fs::path sePath = seDayFile(dataFolder, stem, race);
    auto file = store::FixedRecordFile::open(sePath, store::kSeRecordLength);
    if (!file) throw Error("no SE day file: " + sePath.string());
    const int raceNumber = store::head::kRaceNumber.numberIn(race);
    const int runners = std::clamp(store::ra::kRegisteredRunners.numberIn(race), 0, 18);
    std::vector<std::string> slots;
    for (int k = 0; k < runners; ++k) {
      slots.push_back(file->read(static_cast<size_t>((raceNumber - 1) * 18 + k)));
    }
    day.runners.push_back(std::move(slots));
  }
  return day;
}

}  // namespace

std::vector<std::string> buildHomeFromReplaySource(const fs::path& source,
                                                   const fs::path& dataFolder,
                                                   const fs::path& seiFolder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(source / "RACEDIFF")) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());

  fs::create_directories(dataFolder);
  fs::create_directories(seiFolder);
  std::set<std::string> resultDays;
  {
    store::DayFileStore dayFiles(dataFolder, store::WriterRules::acquisition(0),
                                 store::WritePolicy::kDeferred);
    for (const fs::path& file : files) {
      for (const std::string& record : store::readLines(file)) {
        auto stored = dayFiles.store(record + "\r\n");
        if (stored && stored->finalResultsRace) {
          resultDays.insert(*store::dayStemOfDate(store::head::kRaceDate.in(record)));
        }
      }
    }
    dayFiles.flush();
  }

  std::map<fs::path, std::vector<std::string>> linesByFile;
  for (const std::string& stem : resultDays) {
    const DayRecords day = readDay(dataFolder, stem);
    for (size_t r = 0; r < day.races.size(); ++r) {
      const std::string& race = day.races[r];
      if (store::dataKind(race) != "7") continue;
      for (const std::string& runner : day.runners[r]) {
        if (store::dataKind(runner) != "7") continue;
        auto path = store::pastRunFilePath(seiFolder, store::se::kRegistrationNumber.in(runner));
        if (!path) continue;
        linesByFile[*path].push_back(store::composePastRunLine(race, runner, day.runners[r]));
      }
    }
  }
  // Every horse's file is new, with one line per race: it holds its lines
  // sorted, as the merging writer leaves them. Written plainly, since
  // thousands of synced atomic rewrites would only slow the tests down.
  for (auto& [path, lines] : linesByFile) {
    std::stable_sort(lines.begin(), lines.end(), store::CaseInsensitiveLess());
    writeFile(path, store::joinLines(lines));
  }
  return {resultDays.begin(), resultDays.end()};
}

void fillRaceAndRunnerTables(model::DayTables& tables, const fs::path& dataFolder,
                             std::string_view stem) {
  tables.blankFill();
  const DayRecords day = readDay(dataFolder, stem);
  for (size_t r = 0; r < day.races.size(); ++r) {
    const int slot = static_cast<int>(r);
    tables.setRace(slot, day.races[r]);
    for (size_t k = 0; k < day.runners[r].size(); ++k) {
      tables.setRunner(slot, static_cast<int>(k), day.runners[r][k]);
    }
  }
}

}  // namespace orvalle::test
