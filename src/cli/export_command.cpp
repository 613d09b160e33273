#include <memory>

#include "app/sqlite_export.h"
#include "commands.h"
#include "interrupt_cancel.h"
#include "session_support.h"
#include "terminal_progress.h"

namespace orvalle::cli {

// `export --sqlite FILE [--from DAY] [--to DAY] [--quiet]`: the races,
// runners and payouts of the home's days, and the figures and combinations
// of the days compared, into an SQLite database; reads the home only. On a
// terminal a progress line counts the days written; Ctrl+C stops before the
// next day, the days written staying.
void registerExportCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string sqlite;
    std::string from;
    std::string to;
    bool quiet = false;
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
  addQuietFlag(*command, arguments->quiet);
  command->callback([&context, &action, arguments] {
    app::SqliteExportRequest request;
    request.database = arguments->sqlite;
    if (!arguments->from.empty()) request.fromDay = dayArgument(arguments->from);
    if (!arguments->to.empty()) request.toDay = dayArgument(arguments->to);
    action = [&context, arguments, request] {
      app::SqliteExportReport report;
      app::CommandResult result;
      {
        // The line is erased before the result is printed or a failure
        // thrown out of here is.
        TerminalProgress bar(context, arguments->quiet);
        CancelFlag cancel;
        InterruptCancel interrupt(cancel);
        app::SqliteExportRequest running = request;
        running.progress = [&bar](const Progress& progress) {
          bar.update(progress.position, progress.maximum, progress.upperLine);
        };
        running.cancel = &cancel;
        result = app::exportToSqlite(homeOf(context), running, report);
      }
      finish(context, result);
    };
  });
}

}  // namespace orvalle::cli
