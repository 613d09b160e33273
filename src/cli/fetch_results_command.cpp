#include <memory>
#include <string>

#include "app/acquire_command.h"
#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `fetch-results DAY --source DIR`: the JV-Link half of the results command
// (real-time results "0B12" of the day stored into the day files); prints
// the number of stored records, then fails when a JV-Link call failed
// (acquire::ResultsFetchResult::status; no results for the day is none).
void registerFetchResultsCommand(CLI::App& app, CliContext& context,
                                 std::function<void()>& action) {
  struct Arguments {
    std::string day;
    std::string source;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("fetch-results", "開催日の成績と払戻を取得して保存します");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  command->add_option("--source", arguments->source, kSourceOptionHelp)->type_name("DIR");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      acquire::ResultsFetchObserver observer;
      acquire::ResultsFetchResult result =
          app::runFetchResultsCommand(homeOf(context), stem, arguments->source, observer);
      context.out << result.storedRecords << "\n";
      if (Status status = result.status(); !status) throw CommandFailed{status.message()};
    };
  });
}

}  // namespace orvalle::cli
