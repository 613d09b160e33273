#include <memory>

#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `analyze DAY [--json | --csv [--encoding E]]`: loads the day and runs the all-race comparison
// (which writes the prediction files unless "IgnoDate" is on); prints a
// summary, the JSON of the day or the CSV of its race cards.
void registerAnalyzeCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string day;
    bool json = false;
    bool csv = false;
    CsvEncoding encoding = CsvEncoding::kUtf8;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("analyze", "load a day and compare all its races");
  command->add_option("DAY", arguments->day, "the day: yyyymmdd or yyyy年mm月dd日")->required();
  CLI::Option* json = command->add_flag("--json", arguments->json, "print the analysis as JSON");
  addCsvOptions(*command, arguments->csv, arguments->encoding,
                "print one CSV row per runner: the race card of every race");
  json->excludes("--csv");
  command->callback([&context, &action, arguments] {
    action = [&context, arguments, stem = dayArgument(arguments->day)] {
      auto session = openSession(context);
      const app::CommandResult loaded = loadDayOrFail(*session, stem, app::AfterLoading::kCompare);
      if (arguments->csv) {
        printAnalysisCsv(context, *session, arguments->encoding, loaded.notices);
      } else {
        printAnalysis(context, *session, arguments->json, loaded.notices);
      }
    };
  });
}

}  // namespace orvalle::cli
