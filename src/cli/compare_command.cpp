#include <memory>
#include <string>
#include <vector>

#include "analysis/head_to_head_comparison.h"
#include "analysis/two_horse_comparison.h"
#include "commands.h"
#include "model/day_tables.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

// Reads the race and runner tables of a day: the RA records of the day file
// into race slots 0, 1, ... (at most 36) and each race's registered runners
// from its racecourse's SE day file (slot (race number - 1) x 18 + k). Only
// what the comparisons need; the day loading with its checks and past runs
// will take its place.
void loadRaceAndRunnerTables(model::DayTables& tables, const fs::path& dataFolder,
                             const std::string& stem) {
  tables.blankFill();
  const fs::path raPath = store::dayFilePath(dataFolder, stem, "", store::kRaExtension);
  auto races = store::readFixedRecords(raPath, store::kRaRecordLength, model::kRaceSlots);
  if (!races) throw CommandFailed{stem + "のデータ作成は未完了のようです。"};
  for (size_t r = 0; r < races->size(); ++r) {
    const std::string& race = (*races)[r];
    const int slot = static_cast<int>(r);
    tables.setRace(slot, race);
    const std::string racecourse =
        cp932::toUtf8(store::codes::racecourseName(store::head::kRacecourseCode.in(race), 2));
    auto runners = store::FixedRecordFile::open(
        store::dayFilePath(dataFolder, stem, racecourse, store::kSeExtension),
        store::kSeRecordLength);
    if (!runners) {
      throw CommandFailed{stem +
                          "のデータ作成は未完了です。少し時間をおいてデータを再取得してください。"};
    }
    const int raceNumber = store::head::kRaceNumber.numberIn(race);
    const int count = store::ra::kRegisteredRunners.numberIn(race);
    for (int k = 0; k < count && raceNumber >= 1; ++k) {
      tables.setRunner(slot, k, runners->read(static_cast<size_t>((raceNumber - 1) * 18 + k)));
    }
  }
}

// A horse as a click on its race-card row takes it: the name trimmed and
// without full-width blanks, the weight carried shown "55.0" and the
// registration number.
struct PickedHorse {
  std::string name;
  std::string weight;
  std::string registration;
};

PickedHorse pick(const model::DayTables& tables, int raceSlot, int horseNumber) {
  const std::string_view runner = tables.runner(raceSlot, horseNumber - 1);
  const std::string weight = store::fitWidth(store::se::kWeightCarried.in(runner), 3);
  return {std::string(store::trim(store::withoutFullWidthBlanks(store::se::kHorseName.in(runner)))),
          weight.substr(0, 2) + "." + weight.substr(2, 1),
          std::string(store::se::kRegistrationNumber.in(runner))};
}

void printRow(std::ostream& out, const std::vector<std::string>& cells) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << '\t';
    out << cp932::toUtf8(cells[i]);
  }
  out << '\n';
}

void printGrid(std::ostream& out, const analysis::TextGrid& grid) {
  printRow(out, grid.header);
  for (const auto& row : grid.rows) printRow(out, row);
}

void printLabel(std::ostream& out, const char* label, const std::string& cp932Text) {
  out << label << '\t' << cp932::toUtf8(cp932Text) << '\n';
}

}  // namespace

// `compare DAY RACE HORSE_A HORSE_B [--direct]`: the two-horse comparison
// (or with --direct the head-to-head comparison) of two runners of a race,
// picked by horse number as on the race card. Prints the labels, one
// "name TAB value" line each, then StringGrid6 as TSV: the header row and
// one line per grid row.
void registerCompareCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    int race = 0;
    int horseA = 0;
    int horseB = 0;
    bool direct = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command =
      app.add_subcommand("compare", "compare two runners of a race (StringGrid6 as TSV)");
  command->add_option("DAY", arguments->day, "day stem (2024年01月06日) or yyyymmdd")->required();
  command->add_option("RACE", arguments->race, "race: line number of the race list, from 1")
      ->required()
      ->check(CLI::PositiveNumber);
  command->add_option("HORSE_A", arguments->horseA, "horse number of horse A")
      ->required()
      ->check(CLI::Range(1, 18));
  command->add_option("HORSE_B", arguments->horseB, "horse number of horse B")
      ->required()
      ->check(CLI::Range(1, 18));
  command->add_flag("--direct", arguments->direct, "the head-to-head comparison (直接対決)");
  command->callback([&context, &action, arguments] {
    const std::optional<std::string> stem = store::parseDay(arguments->day);
    if (!stem)
      throw CLI::ValidationError("DAY", "日付は yyyymmdd か yyyy年mm月dd日 で指定してください");
    action = [&context, arguments, stem] {
      const app::Home home = homeOf(context);
      auto tables = std::make_unique<model::DayTables>();
      loadRaceAndRunnerTables(*tables, home.dataFolder(), *stem);

      std::vector<int> raceList;
      for (int slot = 0; slot < model::kRaceSlots; ++slot) {
        if (!tables->isRaceEmpty(slot)) raceList.push_back(slot);
      }
      if (arguments->race > static_cast<int>(raceList.size())) {
        throw CommandFailed{"レースがありません: " + std::to_string(arguments->race)};
      }
      const int raceSlot = raceList[static_cast<size_t>(arguments->race - 1)];
      const std::string_view race = tables->race(raceSlot);
      const int runners = store::ra::kRegisteredRunners.numberIn(race);
      for (int horse : {arguments->horseA, arguments->horseB}) {
        if (horse > runners) throw CommandFailed{"馬番がありません: " + std::to_string(horse)};
      }

      const PickedHorse a = pick(*tables, raceSlot, arguments->horseA);
      const PickedHorse b = pick(*tables, raceSlot, arguments->horseB);
      analysis::ComparisonRequest request;
      request.nameA = a.name;
      request.nameB = b.name;
      request.weightA = a.weight;
      request.weightB = b.weight;
      request.registrationA = a.registration;
      request.registrationB = b.registration;
      request.raceDate = store::raceDate(race);
      request.periodDays = app::Settings(home.iniPath()).integer(app::settings::kPastRunPeriod);
      request.seiFolder = home.seiFolder();

      if (arguments->direct) {
        const analysis::HeadToHeadResult result = analysis::compareHeadToHead(request);
        if (!result.status) throw CommandFailed{result.status.message()};
        printLabel(context.out, "CtLabel", result.countLabel().value_or(""));
        printGrid(context.out, result.grid);
        return;
      }
      const analysis::TwoHorseResult result = analysis::compareTwoHorses(request);
      if (!result.status) throw CommandFailed{result.status.message()};
      printLabel(context.out, "CtLabel", result.countLabel().value_or(""));
      printLabel(context.out, "pt1Label", result.pt1Label());
      printLabel(context.out, "pt2Label", result.pt2Label());
      printLabel(context.out, "dpt1Label", result.dpt1Label());
      printLabel(context.out, "dpt2Label", result.dpt2Label());
      printGrid(context.out, result.grid);
    };
  });
}

}  // namespace orvalle::cli
