#include <memory>
#include <string>

#include "app/acquire_command.h"
#include "commands.h"
#include "store/day_file_names.h"
#include "store/jvlink_messages.h"

namespace orvalle::cli {

// `fetch-results DAY --source DIR`: the JV-Link half of the results command
// (real-time results "0B12" of the day stored into the day files); prints
// the number of stored records.
void registerFetchResultsCommand(CLI::App& app, CliContext& context,
                                 std::function<void()>& action) {
  struct Arguments {
    std::string day;
    std::string source;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("fetch-results",
                                         "store the results of a day from a replay JV-Link source");
  command->add_option("DAY", arguments->day, "day: yyyy年mm月dd日 or yyyymmdd")->required();
  command->add_option("--source", arguments->source,
                      "replay source folder (default: JvLink source of orvalle.ini)");
  command->callback([&context, &action, arguments] {
    if (!store::parseDay(arguments->day)) {
      throw CLI::ValidationError(
          "DAY", "日付は yyyy年mm月dd日 か yyyymmdd で指定してください: " + arguments->day);
    }
    action = [&context, arguments] {
      acquire::ResultsFetchObserver observer;
      acquire::ResultsFetchResult result =
          app::runFetchResultsCommand(homeOf(context), arguments->day, arguments->source, observer);
      using store::codes::JvLinkOperation;
      if (result.openCode != acquire::jv::kOk && result.openCode != acquire::jv::kNoData) {
        throw CommandFailed{
            store::codes::jvLinkErrorMessage(JvLinkOperation::kJVRTOpen, result.openCode)};
      }
      context.out << result.storedRecords << "\n";
      if (result.readCode < acquire::jv::kDownloading) {
        throw CommandFailed{
            store::codes::jvLinkErrorMessage(JvLinkOperation::kJVRead, result.readCode)};
      }
    };
  });
}

}  // namespace orvalle::cli
