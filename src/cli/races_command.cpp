#include <memory>

#include "analysis_report.h"
#include "app/day_report.h"
#include "commands.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {

// `races DAY [--json]`: loads the day and prints its race list, one race per
// line, numbered from 1: "1 中山  01回 01日 1R"; with --json every race with
// its number, key, list line, runner count, header and payout block.
void registerRacesCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    bool json = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("races", "開催日を読み込み、レースの一覧を表示します");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  command->add_flag("--json", arguments->json,
                    "各レースのレース名・距離・コース・発走時刻と払戻をJSONで表示します");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      const app::CommandResult loaded = loadDayOrFail(*session, stem, app::AfterLoading::kNothing);
      if (!arguments->json) {
        int number = 1;
        for (const model::RaceListEntry& entry : session->raceList()) {
          context.out << number++ << " " << cp932::toUtf8(entry.line) << "\n";
        }
        return;
      }
      const app::DayReport report = app::dayReport(*session);
      nlohmann::json races = nlohmann::json::array();
      int number = 1;
      for (const app::RaceReport& race : report.races) {
        races.push_back(nlohmann::json{
            {"number", number++},
            {"slot", race.slot},
            {"key", race.key},
            {"line", race.line},
            {"racecourse", race.racecourse},
            {"raceNumber", race.raceNumber},
            {"runners", race.runners},
            {"header", raceHeaderJson(race.header)},
            {"payouts", payoutsJson(race.payouts)},
        });
      }
      nlohmann::json day{{"day", report.day}, {"races", std::move(races)}};
      addNotices(day, loaded.notices);
      context.out << day.dump(2) << "\n";
    };
  });
}

}  // namespace orvalle::cli
