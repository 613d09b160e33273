#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "model/grid_view.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {
namespace {

void printLabel(std::ostream& out, const char* label, const std::string& cp932Text) {
  out << label << '\t' << cp932::toUtf8(cp932Text) << '\n';
}

}  // namespace

// `compare DAY RACE HORSE_A HORSE_B [--direct]`: the two-horse comparison
// (or with --direct the head-to-head comparison) of two runners of a race,
// picked by horse number as on the race card (app::DaySession::
// compareRunners). Prints the labels, one "name TAB value" line each, then
// StringGrid6 as TSV: the header row and one line per grid row.
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
      (void)loadDayOrFail(*session, stem, app::AfterLoading::kNothing);
      (void)selectRaceOfArgument(context, *session, arguments->race);
      const app::ComparisonOutcome outcome = session->compareRunners(
          arguments->direct ? app::ComparisonKind::kHeadToHead : app::ComparisonKind::kTwoHorses,
          arguments->horseA, arguments->horseB);
      finish(context, outcome.result);

      printLabel(context.out, "CtLabel", outcome.countLabel.value_or(""));
      if (outcome.pointLabels) {
        const char* const kNames[] = {"pt1Label", "pt2Label", "dpt1Label", "dpt2Label"};
        for (size_t i = 0; i < outcome.pointLabels->size(); ++i) {
          printLabel(context.out, kNames[i], (*outcome.pointLabels)[i]);
        }
      }
      printTsvRow(context.out, outcome.grid.headings);
      for (const auto& row : outcome.grid.rows) printTsvRow(context.out, row);
    };
  });
}

}  // namespace orvalle::cli
