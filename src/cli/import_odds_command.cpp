#include <memory>

#include "app/odds_import_command.h"
#include "commands.h"
#include "session_support.h"

namespace orvalle::cli {

// `import-odds ARCHIVE [--day DAY]`: the predicted-odds import of one JRDB
// or KOL archive into the home's data folder. The year of DAY stands for the
// day loaded in the main window (it decides the KOL quinella layout);
// without it the data's own date decides. Prints the final message.
void registerImportOddsCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string archive;
    std::string day;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "import-odds", "予想オッズの書庫（JRDB の OZ*.lzh または KOL の j*.lzh）を取り込みます");
  command
      ->add_option("ARCHIVE", arguments->archive,
                   "書庫のファイル。ここに無い名前は予想オッズのフォルダ（既定はホームの "
                   "yLZH）から探します")
      ->required();
  command
      ->add_option("--day", arguments->day,
                   "読み込んでいる開催日（KOL の書式をその年で決めます）: yyyymmdd または "
                   "yyyy年mm月dd日")
      ->type_name("DAY");
  command->callback([&context, &action, arguments] {
    const std::string day = arguments->day.empty() ? "" : dayArgument(arguments->day);
    action = [&context, arguments, day] {
      app::Home home = homeOf(context);
      app::Settings settings(home.iniPath());
      finish(context,
             app::importPredictedOdds(
                 home, app::predictedOddsArchive(home, settings, arguments->archive), day));
    };
  });
}

}  // namespace orvalle::cli
