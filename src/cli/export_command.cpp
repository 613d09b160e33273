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
  CLI::App* command = app.add_subcommand(
      "export",
      "開催日のレース・出走馬・払戻と、比較した日の集計値・買い目をデータベースに書き出します");
  command->add_option("--sqlite", arguments->sqlite, "書き出す SQLite データベースのファイル")
      ->type_name("FILE")
      ->required();
  command->add_option("--from", arguments->from, "最初の日: yyyymmdd または yyyy年mm月dd日")
      ->type_name("DAY");
  command->add_option("--to", arguments->to, "最後の日: yyyymmdd または yyyy年mm月dd日")
      ->type_name("DAY");
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
