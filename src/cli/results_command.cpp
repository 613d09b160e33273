#include <memory>

#include "analysis_report.h"
#include "commands.h"
#include "session_support.h"
#include "store/jvlink_messages.h"

namespace orvalle::cli {

// `results DAY [--source DIR] [--json]`: loads and analyses the day as
// `analyze` does, then runs the results command against the replay source:
// the day's real-time results are stored in the day files and the payouts
// imported and scored. Prints what `analyze` prints. A JV-Link failure does
// not stop the import; it is reported on standard error.
void registerResultsCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    std::string source;
    bool json = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command =
      app.add_subcommand("results", "analyse a day, fetch its results and score its races");
  command->add_option("DAY", arguments->day, "the day: yyyymmdd or yyyy年mm月dd日")->required();
  command->add_option("--source", arguments->source,
                      "replay source folder (default: JvLink source of orvalle.ini)");
  command->add_flag("--json", arguments->json, "print the analysis as JSON");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      loadDayOrFail(context, *session, stem, app::AfterLoading::kCompare);
      acquire::ResultsFetchObserver observer;
      app::ResultsOutcome outcome = session->fetchResults(arguments->source, observer);
      using store::codes::JvLinkOperation;
      if (outcome.fetched && outcome.fetch.openCode != acquire::jv::kOk) {
        context.err << store::codes::jvLinkErrorMessage(JvLinkOperation::kJVRTOpen,
                                                        outcome.fetch.openCode)
                    << "\n";
      }
      if (outcome.fetched && outcome.fetch.readCode < acquire::jv::kDownloading) {
        context.err << store::codes::jvLinkErrorMessage(JvLinkOperation::kJVRead,
                                                        outcome.fetch.readCode)
                    << "\n";
      }
      if (arguments->json) {
        context.out << analysisJson(*session).dump(2) << "\n";
      } else {
        printAnalysisSummary(context.out, *session);
      }
    };
  });
}

}  // namespace orvalle::cli
