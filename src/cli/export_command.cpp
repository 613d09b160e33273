#include <unistd.h>

#include <memory>

#include "app/sqlite_export.h"
#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `export --sqlite FILE [--from DAY] [--to DAY]`: the races, runners and
// payouts of the home's days, and the figures and combinations of the days
// compared, into an SQLite database; reads the home only. Progress goes to
// standard error, one line rewritten per day, when that is a terminal.
void registerExportCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string sqlite;
    std::string from;
    std::string to;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command =
      app.add_subcommand("export", "export the days' records and figures into a database");
  command->add_option("--sqlite", arguments->sqlite, "the SQLite database file to write")
      ->required();
  command->add_option("--from", arguments->from, "first day: yyyymmdd or yyyy年mm月dd日");
  command->add_option("--to", arguments->to, "last day: yyyymmdd or yyyy年mm月dd日");
  command->callback([&context, &action, arguments] {
    app::SqliteExportRequest request;
    request.database = arguments->sqlite;
    if (!arguments->from.empty()) request.fromDay = dayArgument(arguments->from);
    if (!arguments->to.empty()) request.toDay = dayArgument(arguments->to);
    action = [&context, request]() mutable {
      const bool terminal = ::isatty(STDERR_FILENO) == 1;
      if (terminal) {
        request.progress = [&context](const Progress& progress) {
          context.err << "\r" << progress.position << "/" << progress.maximum << " "
                      << progress.upperLine << std::flush;
        };
      }
      app::SqliteExportReport report;
      const app::CommandResult result = app::exportToSqlite(homeOf(context), request, report);
      if (terminal && !report.days.empty()) context.err << "\n";
      finish(context, result);
    };
  });
}

}  // namespace orvalle::cli
