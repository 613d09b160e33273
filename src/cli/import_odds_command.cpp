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
      "import-odds", "import a predicted-odds archive (JRDB OZ*.lzh or KOL j*.lzh)");
  command
      ->add_option("ARCHIVE", arguments->archive,
                   "the archive; a name that does not exist here is taken from the archive "
                   "folder (Dir yoso, default yLZH of the home)")
      ->required();
  command->add_option("--day", arguments->day,
                      "the loaded day whose year decides the KOL layout: yyyymmdd or "
                      "yyyy年mm月dd日");
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
