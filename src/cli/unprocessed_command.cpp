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
  CLI::App* command =
      app.add_subcommand("unprocessed", "その年のまだ比較していない開催日を表示します");
  command->add_option("YEAR", arguments->year, "年（西暦）")
      ->required()
      ->check(CLI::Range(1990, 9999));
  command->add_flag("--run", arguments->run, "それらの日を古い順に読み込んで比較します");
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
