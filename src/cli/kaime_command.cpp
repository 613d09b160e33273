#include <memory>

#include "app/startup.h"
#include "app/user_settings_commands.h"
#include "commands.h"
#include "session_support.h"
#include "store/cp932.h"

namespace orvalle::cli {
namespace {

// The home with its user combination settings file, as the program's
// start-up leaves it: a missing "UserSet.usd" gets the default setting.
app::Home kaimeHome(const CliContext& context) {
  app::Home home = homeOf(context);
  home.ensureRoot();
  (void)app::ensureDefaultUserSettings(home);
  return home;
}

// One line per setting: "*" for the active one (else a blank), the index
// (the "SetID" that selects it) and the stored line.
void printSettings(const CliContext& context, const app::UserSettingsCommands& commands) {
  const std::vector<std::string>& lines = commands.editor().lines();
  const int active = commands.activeIndex();
  for (size_t i = 0; i < lines.size(); ++i) {
    context.out << (static_cast<int>(i) == active ? "* " : "  ") << i << " "
                << cp932::toUtf8(lines[i]) << "\n";
  }
}

void requireIndex(const app::UserSettingsCommands& commands, int index) {
  if (Status status = commands.checkIndex(index); !status) throw CommandFailed{status.message()};
}

}  // namespace

// `kaime list|add|delete|select`: the user combination settings on
// "UserSet.usd" with the dialog's validation and messages. Each prints the
// settings afterwards, the active one marked "*".
void registerKaimeCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    std::string line;
    bool overwrite = false;
    int index = 0;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* kaime = app.add_subcommand(
      "kaime", "the user combination settings (UserSet.usd); INDEX is the 0-based line, as SetID");
  kaime->require_subcommand(1);

  CLI::App* list = kaime->add_subcommand("list", "print the settings, the active one marked *");
  list->callback([&context, &action] {
    action = [&context] {
      app::UserSettingsCommands commands(kaimeHome(context));
      printSettings(context, commands);
    };
  });

  CLI::App* add = kaime->add_subcommand(
      "add", "validate a whole setting line and save it; it becomes the active setting");
  add->add_option("LINE", arguments->line,
                  "name,axis1,rank,axis2,rank, then ten partner criteria and ranks, then the "
                  "popularity-trio flag 1/0 (a name with a comma, blank or quote in \"\")")
      ->required();
  add->add_flag("--overwrite", arguments->overwrite, "replace a setting of the same name");
  add->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      const std::string line = cp932Argument(arguments->line);
      app::UserSettingsCommands commands(kaimeHome(context));
      const bool overwrite = arguments->overwrite;
      finish(context,
             commands.saveLine(line, [overwrite](const std::string&) { return overwrite; }));
      printSettings(context, commands);
    };
  });

  CLI::App* remove = kaime->add_subcommand("delete", "delete a setting (no question asked)");
  remove->add_option("INDEX", arguments->index, "the setting's index")->required();
  remove->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      app::UserSettingsCommands commands(kaimeHome(context));
      if (!commands.editor().lines().empty()) requireIndex(commands, arguments->index);
      finish(context, commands.remove(arguments->index, [](const std::string&) { return true; }));
      printSettings(context, commands);
    };
  });

  CLI::App* select = kaime->add_subcommand("select", "make a setting the active one (SetID)");
  select->add_option("INDEX", arguments->index, "the setting's index")->required();
  select->callback([&context, &action, arguments] {
    action = [&context, arguments] {
      app::UserSettingsCommands commands(kaimeHome(context));
      requireIndex(commands, arguments->index);
      betting::UserSetting shown;
      finish(context, commands.select(arguments->index, shown));
      printSettings(context, commands);
    };
  });
}

}  // namespace orvalle::cli
