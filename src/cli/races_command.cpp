#include <memory>

#include "commands.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {

// `races DAY`: loads the day and prints its race list, one race per line,
// numbered from 1: "1 中山  01回 01日 1R".
void registerRacesCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  auto day = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("races", "load a day and list its races");
  command->add_option("DAY", *day, "the day: yyyymmdd or yyyy年mm月dd日")->required();
  command->callback([&context, &action, day] {
    action = [&context, stem = dayArgument(*day)] {
      auto session = openSession(context);
      (void)loadDayOrFail(*session, stem, app::AfterLoading::kNothing);
      int number = 1;
      for (const model::RaceListEntry& entry : session->raceList()) {
        context.out << number++ << " " << cp932::toUtf8(entry.line) << "\n";
      }
    };
  });
}

}  // namespace orvalle::cli
