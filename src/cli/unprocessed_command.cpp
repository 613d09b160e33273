#include <memory>

#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `unprocessed YEAR [--run]`: the race days of a year whose predictions were
// never written, newest first; with --run each is loaded in turn (the last
// first) with the all-race comparison, as the batch dialog's Start does.
void registerUnprocessedCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    int year = 0;
    bool run = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("unprocessed", "the race days of a year not yet compared");
  command->add_option("YEAR", arguments->year, "the year")
      ->required()
      ->check(CLI::Range(1990, 9999));
  command->add_flag("--run", arguments->run, "load and compare each of them, the oldest first");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      auto session = openSession(context);
      std::vector<std::string> days;
      finish(context, session->unprocessedDays(arguments->year, days));
      for (const std::string& day : days) context.out << day << "\n";
      if (!arguments->run) return;
      finish(context, session->processDays(days));
    };
  });
}

}  // namespace orvalle::cli
