#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analysis_report.h"
#include "app/day_report.h"
#include "commands.h"
#include "model/grid_view.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {
namespace {

void printLabel(std::ostream& out, const char* label, const std::string& cp932Text) {
  out << label << '\t' << cp932::toUtf8(cp932Text) << '\n';
}

// The number of a point label ("%3d").
int pointOf(const std::string& label) {
  return static_cast<int>(std::strtol(label.c_str(), nullptr, 10));
}

// A compared horse: its number and name, the name null when the race has
// no runner of that number.
nlohmann::json horseOf(const app::DayReport& report, int raceSlot, int number) {
  for (const app::RaceReport& race : report.races) {
    if (race.slot != raceSlot) continue;
    for (const app::HorseReport& horse : race.horses) {
      if (horse.number == number) return {{"number", number}, {"name", horse.name}};
    }
  }
  return {{"number", number}, {"name", nullptr}};
}

// The comparison as JSON: the two horses, the number of comparison rows,
// the points (two-horse comparison only) and the rows under the grid's
// headings, cells without their padding blanks.
nlohmann::json comparisonJson(const app::DaySession& session, int raceSlot, int raceNumber,
                              int horseA, int horseB, bool direct,
                              const app::ComparisonOutcome& outcome) {
  const app::DayReport report = app::dayReport(session);
  const auto cells = [](const std::vector<std::string>& row) {
    nlohmann::json out = nlohmann::json::array();
    for (const std::string& cell : row) out.push_back(cp932::toUtf8(trimmedCell(cell)));
    return out;
  };
  nlohmann::json rows = nlohmann::json::array();
  // Without a comparison row the grid shows one row reading "該当ナシ".
  if (outcome.countLabel) {
    for (const auto& row : outcome.grid.rows) rows.push_back(cells(row));
  }
  nlohmann::json points = nullptr;
  if (outcome.pointLabels) {
    const auto& labels = *outcome.pointLabels;
    points = {{"aAhead", pointOf(labels[0])},
              {"bAhead", pointOf(labels[1])},
              {"aOwnMinus", pointOf(labels[2])},
              {"bOwnMinus", pointOf(labels[3])}};
  }
  return nlohmann::json{
      {"day", report.day},
      {"race", raceNumber},
      {"kind", direct ? "headToHead" : "twoHorses"},
      {"horseA", horseOf(report, raceSlot, horseA)},
      {"horseB", horseOf(report, raceSlot, horseB)},
      {"count", rows.size()},
      {"points", std::move(points)},
      {"columns", cells(outcome.grid.headings)},
      {"rows", std::move(rows)},
  };
}

}  // namespace

// `compare DAY RACE HORSE_A HORSE_B [--direct]`: the two-horse comparison
// (or with --direct the head-to-head comparison) of two runners of a race,
// picked by horse number as on the race card (app::DaySession::
// compareRunners). Prints the labels, one "name TAB value" line each, then
// the comparison grid as TSV: the header row and one line per grid row;
// with --json the comparison as JSON.
void registerCompareCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    int race = 0;
    int horseA = 0;
    int horseB = 0;
    bool direct = false;
    bool json = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "compare", "レースの2頭を共通の対戦相手を通して比較し、比較表をタブ区切りで表示します");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  command->add_option("RACE", arguments->race, kRaceOptionHelp)->required()->check(kPositiveNumber);
  command->add_option("HORSE_A", arguments->horseA, "1頭目（A）の馬番")
      ->required()
      ->check(CLI::Range(1, 18));
  command->add_option("HORSE_B", arguments->horseB, "2頭目（B）の馬番")
      ->required()
      ->check(CLI::Range(1, 18));
  command->add_flag("--direct", arguments->direct, "2頭の直接対決を表示します");
  command->add_flag("--json", arguments->json, kJsonOptionHelp);
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      (void)loadDayOrFail(*session, stem, app::AfterLoading::kNothing);
      const int raceSlot = selectRaceOfArgument(context, *session, arguments->race);
      const app::ComparisonOutcome outcome = session->compareRunners(
          arguments->direct ? app::ComparisonKind::kHeadToHead : app::ComparisonKind::kTwoHorses,
          arguments->horseA, arguments->horseB);
      if (arguments->json) {
        failUnlessDone(outcome.result);
        nlohmann::json out = comparisonJson(*session, raceSlot, arguments->race, arguments->horseA,
                                            arguments->horseB, arguments->direct, outcome);
        addNotices(out, outcome.result.notices);
        context.out << out.dump(2) << "\n";
        return;
      }
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
