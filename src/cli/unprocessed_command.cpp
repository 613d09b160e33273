#include <memory>

#include "commands.h"
#include "interrupt_cancel.h"
#include "session_support.h"
#include "terminal_progress.h"

namespace orvalle::cli {

// `unprocessed YEAR [--run] [--quiet]`: the race days of a year whose
// predictions were never written, newest first; with --run each is loaded in
// turn (the last first) with the all-race comparison, as the batch dialog's
// Start does. On a terminal a progress line counts the days processed;
// Ctrl+C stops at the next race or runner, the days done staying.
void registerUnprocessedCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    int year = 0;
    bool run = false;
    bool quiet = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command =
      app.add_subcommand("unprocessed", "その年のまだ比較していない開催日を表示します");
  command->add_option("YEAR", arguments->year, "年（西暦）")
      ->required()
      ->check(CLI::Range(1990, 9999));
  command->add_flag("--run", arguments->run, "それらの日を古い順に読み込んで比較します");
  addQuietFlag(*command, arguments->quiet);
  command->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      auto session = openSession(context);
      std::vector<std::string> days;
      finish(context, session->unprocessedDays(arguments->year, days));
      for (const std::string& day : days) context.out << day << "\n";
      if (!arguments->run) return;
      app::CommandResult result;
      {
        TerminalProgress bar(context, arguments->quiet);
        CancelFlag cancel;
        InterruptCancel interrupt(cancel);
        Progress day;
        // The line counts days; the reports within a day keep it drawn.
        const ProgressCallback dayProgress = [&bar, &day](const Progress& progress) {
          day = progress;
          bar.update(day.position, day.maximum, day.upperLine);
        };
        const ProgressCallback withinDay = [&bar, &day](const Progress&) {
          bar.update(day.position, day.maximum, day.upperLine);
        };
        // The day list goes out before the line is drawn below it.
        context.out.flush();
        result = session->processDays(days, withinDay, &cancel, dayProgress);
      }
      finish(context, result);
    };
  });
}

}  // namespace orvalle::cli
