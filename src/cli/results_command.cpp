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
  CLI::App* command =
      app.add_subcommand("results", "analyse a day, fetch its results and score its races");
  command->add_option("DAY", arguments->day, "the day: yyyymmdd or yyyy年mm月dd日")->required();
  command->add_option("--source", arguments->source,
                      "replay source folder (default: JvLink source of orvalle.ini)");
  CLI::Option* json = command->add_flag("--json", arguments->json, "print the analysis as JSON");
  addCsvOptions(*command, arguments->csv, arguments->encoding,
                "print one CSV row per runner: the race card of every race");
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
