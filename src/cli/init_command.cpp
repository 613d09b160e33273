#include "app/startup.h"
#include "commands.h"

namespace orvalle::cli {

// `init`: the program's start-up (home folder, DATA, SEI, yLZH, default
// UserSet.usd); prints the home folder.
void registerInitCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  CLI::App* command =
      app.add_subcommand("init", "ホームフォルダとその中のフォルダ、ユーザー買い目設定を作ります");
  command->callback([&context, &action] {
    action = [&context] {
      app::Home home = app::startUp(context.homeOption);
      context.out << home.root().string() << "\n";
    };
  });
}

}  // namespace orvalle::cli
