#include <memory>

#include "analysis_report.h"
#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `analyze DAY [--json]`: loads the day and runs the all-race comparison
// (which writes the prediction files unless "IgnoDate" is on); prints a
// summary or the JSON of the day.
void registerAnalyzeCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    bool json = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("analyze", "load a day and compare all its races");
  command->add_option("DAY", arguments->day, "the day: yyyymmdd or yyyy年mm月dd日")->required();
  command->add_flag("--json", arguments->json, "print the analysis as JSON");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      loadDayOrFail(context, *session, stem, app::AfterLoading::kCompare);
      if (arguments->json) {
        context.out << analysisJson(*session).dump(2) << "\n";
      } else {
        printAnalysisSummary(context.out, *session);
      }
    };
  });
}

}  // namespace orvalle::cli
