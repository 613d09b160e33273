#include <memory>
#include <string>
#include <vector>

#include "analysis/head_to_head_comparison.h"
#include "analysis/two_horse_comparison.h"
#include "commands.h"
#include "model/grid_view.h"
#include "model/race_card.h"
#include "session_support.h"
#include "store/cp932.h"
#include "store/record.h"

namespace orvalle::cli {
namespace {

void printGrid(std::ostream& out, const model::GridView& grid) {
  printTsvRow(out, grid.headings);
  for (const auto& row : grid.rows) printTsvRow(out, row);
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
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      loadDayOrFail(context, *session, stem, app::AfterLoading::kNothing);
      const model::DayTables& tables = session->tables();
      const int raceSlot = raceSlotOfArgument(*session, arguments->race);
      const std::string_view race = tables.race(raceSlot);
      const int runners = store::ra::kRegisteredRunners.numberIn(race);
      for (int horse : {arguments->horseA, arguments->horseB}) {
        if (horse > runners) throw CommandFailed{"馬番がありません: " + std::to_string(horse)};
      }

      // The two horses as clicks on their race-card rows pick them.
      model::ComparisonPicker picker;
      model::pickFromRaceCard(picker, tables, raceSlot,
                              model::raceCardRow(tables, raceSlot, arguments->horseA - 1));
      model::pickFromRaceCard(picker, tables, raceSlot,
                              model::raceCardRow(tables, raceSlot, arguments->horseB - 1));
      analysis::ComparisonRequest request;
      request.nameA = picker.edit1();
      request.nameB = picker.edit2();
      request.weightA = picker.weightA();
      request.weightB = picker.weightB();
      request.registrationA = picker.horseA();
      request.registrationB = picker.horseB();
      request.raceDate = store::raceDate(race);
      request.periodDays = session->settings().integer(app::settings::kPastRunPeriod);
      request.seiFolder = session->home().seiFolder();

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
