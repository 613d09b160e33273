#include <memory>

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
      const app::CommandResult loaded = loadDayOrFail(*session, stem, app::AfterLoading::kCompare);
      printAnalysis(context, *session, arguments->json, loaded.notices);
    };
  });
}

}  // namespace orvalle::cli
