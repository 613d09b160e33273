#include <memory>

#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `results DAY [--source DIR] [--json | --csv [--encoding E]]`: loads and analyses the day as
// `analyze` does, then runs the results command against the replay source:
// the day's real-time results are stored in the day files and the payouts
// imported and scored. Prints what `analyze` prints. A failed JV-Link call
// does not stop the import: the day is printed as imported, then the
// command fails with the call's message.
void registerResultsCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    std::string source;
    bool json = false;
    bool csv = false;
    CsvEncoding encoding = CsvEncoding::kUtf8;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "results", "開催日を比較したうえで成績と払戻を取り込み、買い目の的中を調べます");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  command->add_option("--source", arguments->source, kSourceOptionHelp)->type_name("DIR");
  CLI::Option* json = command->add_flag(
      "--json", arguments->json, "各レースの見出し・払戻・各馬の集計値・買い目をJSONで表示します");
  addCsvOptions(*command, arguments->csv, arguments->encoding,
                "全レースの出馬表をCSVで表示します（1行に1頭）");
  json->excludes("--csv");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      const app::CommandResult loaded = loadDayOrFail(*session, stem, app::AfterLoading::kCompare);
      acquire::ResultsFetchObserver observer;
      const app::ResultsOutcome outcome = session->fetchResults(arguments->source, observer);
      if (arguments->csv) {
        printAnalysisCsv(context, *session, arguments->encoding, loaded.notices);
      } else {
        printAnalysis(context, *session, arguments->json, loaded.notices);
      }
      failUnlessDone(outcome.result);
    };
  });
}

}  // namespace orvalle::cli
