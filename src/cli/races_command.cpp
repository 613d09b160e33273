#include <memory>

#include "app/settings.h"
#include "commands.h"
#include "model/day_loader.h"
#include "model/day_tables.h"
#include "store/cp932.h"
#include "store/day_file_names.h"

namespace orvalle::cli {

// `races DAY`: loads the day and prints its race list, one race per line,
// numbered from 1: "1 中山  01回 01日 1R".
void registerRacesCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  auto day = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("races", "load a day and list its races");
  command->add_option("DAY", *day, "the day: yyyymmdd or yyyy年mm月dd日")->required();
  command->callback([&context, &action, day] {
    std::optional<std::string> stem = store::parseDay(*day);
    if (!stem)
      throw CLI::ValidationError("DAY",
                                 "日付は yyyymmdd か yyyy年mm月dd日 で指定してください: " + *day);
    action = [&context, stem = *stem] {
      app::Home home = homeOf(context);
      app::Settings settings(home.iniPath());
      model::DayLoadRequest request;
      request.dataFolder = home.dataFolder();
      request.seiFolder = home.seiFolder();
      request.stem = stem;
      request.pastRunPeriodDays = settings.integer(app::settings::kPastRunPeriod);
      request.ignorePastRunDates = settings.boolean(app::settings::kIgnorePastRunDates);

      auto tables = std::make_unique<model::DayTables>();
      model::DayLoadResult result = model::loadDay(*tables, request);
      if (!result) throw CommandFailed{result.message()};
      int number = 1;
      for (const model::RaceListEntry& entry : result.raceList()) {
        context.out << number++ << " " << cp932::toUtf8(entry.line) << "\n";
      }
    };
  });
}

}  // namespace orvalle::cli
