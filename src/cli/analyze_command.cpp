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
  CLI::App* command = app.add_subcommand(
      "analyze", "開催日を読み込んで全レースを比較し、各馬の集計と買い目を表示します");
  command->add_option("DAY", arguments->day, kDayOptionHelp)->required();
  CLI::Option* json = command->add_flag(
      "--json", arguments->json, "各レースの見出し・払戻・各馬の集計値・買い目をJSONで表示します");
  addCsvOptions(*command, arguments->csv, arguments->encoding,
                "全レースの出馬表をCSVで表示します（1行に1頭）");
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
