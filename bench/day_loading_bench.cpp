// Loading a full race day: 36 races of 18 runners, every horse with a
// past-run file and a prediction file of 120 lines (so 100 of each are read).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/day_loader.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/past_run_record.h"
#include "store/prediction_file.h"
#include "store/record.h"

namespace {

namespace fs = std::filesystem;
using namespace orvalle;

constexpr const char* kDate = "20240106";
constexpr const char* kStem = "2024年01月06日";
constexpr const char* kRacecourses[] = {"06", "08", "07"};
constexpr int kLinesPerHorse = 120;

void set(std::string& record, store::Field field, std::string_view value) {
  std::string fitted = store::fitWidth(value, static_cast<size_t>(field.length));
  record.replace(static_cast<size_t>(field.position - 1), fitted.size(), fitted);
}

void setNumber(std::string& record, store::Field field, int value) {
  set(record, field, store::format("%0*d", field.length, value));
}

void writeLines(const fs::path& path, const std::vector<std::string>& lines) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

std::string registrationNumber(int race, int horse) {
  return store::format("2019%03d%03d", race, horse);
}

// A date some days before the race day, stepping back through the years.
std::string pastDate(int index) {
  int year = 2023 - index / 40;
  int month = 1 + (index / 3) % 12;
  int day = 1 + (index * 7) % 28;
  return store::format("%04d%02d%02d", year, month, day);
}

// Writes the day files and every horse's past-run and prediction files.
void writeHome(const fs::path& home) {
  std::vector<std::string> raLines;
  for (int c = 0; c < 3; ++c) {
    std::vector<std::string> seSlots(216, std::string(store::kSeLineLength, ' '));
    for (int r = 1; r <= 12; ++r) {
      const int race = c * 12 + r - 1;
      const std::string key =
          std::string(kDate) + kRacecourses[c] + "0101" + store::format("%02d", r);
      std::string ra(store::kRaLineLength, ' ');
      set(ra, store::head::kRecordKind, "RA");
      set(ra, store::head::kRaceKey, key);
      setNumber(ra, store::ra::kRegisteredRunners, 18);
      raLines.push_back(ra);
      for (int h = 1; h <= 18; ++h) {
        std::string se(store::kSeLineLength, ' ');
        set(se, store::head::kRecordKind, "SE");
        set(se, store::head::kRaceKey, key);
        setNumber(se, store::se::kBracket, (h + 1) / 2 > 8 ? 8 : (h + 1) / 2);
        setNumber(se, store::se::kHorseNumber, h);
        set(se, store::se::kRegistrationNumber, registrationNumber(race, h));
        set(se, store::se::kHorseName, sj("ベンチマークホース"));
        seSlots[static_cast<size_t>((r - 1) * 18 + h - 1)] = se;

        std::vector<std::string> pastRuns, predictions;
        for (int i = kLinesPerHorse - 1; i >= 0; --i) {
          std::string runKey =
              pastDate(i) + kRacecourses[i % 3] + "0101" + store::format("%02d", 1 + i % 12);
          std::string run(store::kPastRunLineLength, ' ');
          set(run, store::past_run::kRaceKey, runKey);
          setNumber(run, store::past_run::kDistance, 1200 + 200 * (i % 8));
          set(run, store::past_run::kTrackCode, i % 2 ? "17" : "24");
          set(run, store::past_run::kTurfGoingCode, i % 2 ? "3" : "0");
          set(run, store::past_run::kDirtGoingCode, i % 2 ? "0" : "1");
          setNumber(run, store::past_run::kFinishingPosition, 1 + i % 14);
          setNumber(run, store::past_run::kPrizeMoney, 1000 * (i % 5));
          pastRuns.push_back(run);
          store::PredictionFigures figures;
          figures.pointWinRateRank = 1 + i % 5;
          predictions.push_back(store::predictionLine(runKey, figures));
        }
        const std::string number = registrationNumber(race, h);
        const fs::path folder = home / "SEI" / number.substr(0, 4);
        writeLines(folder / (number + ".kak"), pastRuns);
        writeLines(folder / (number + ".yos"), predictions);
      }
    }
    writeLines(home / "DATA" /
                   (std::string(kStem) +
                    cp932::toUtf8(store::codes::racecourseName(kRacecourses[c], 2)) + ".jvSEr"),
               seSlots);
  }
  writeLines(home / "DATA" / (std::string(kStem) + ".jvRA"), raLines);
}

void BM_LoadFullDay(benchmark::State& state) {
  const fs::path home =
      fs::temp_directory_path() / ("orvalle_day_bench_" + std::to_string(::getpid()));
  writeHome(home);
  model::DayTables tables;
  model::DayLoadRequest request{home / "DATA", home / "SEI", kStem, 7300, false, nullptr};
  for (auto _ : state) {
    model::DayLoadResult result = model::loadDay(tables, request);
    if (!result || result.raceList().size() != 36) state.SkipWithError("the day did not load");
    benchmark::DoNotOptimize(tables.analysis(35).overallCounts[17]);
  }
  fs::remove_all(home);
}
BENCHMARK(BM_LoadFullDay)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
