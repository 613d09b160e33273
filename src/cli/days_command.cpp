#include "app/day_session.h"
#include "commands.h"

namespace orvalle::cli {

// `days`: the date list, one day stem per line, newest first.
void registerDaysCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  CLI::App* command = app.add_subcommand("days", "データのある開催日を新しい順に表示します");
  command->callback([&context, &action] {
    action = [&context] {
      for (const std::string& stem : app::dateList(homeOf(context))) {
        context.out << stem << "\n";
      }
    };
  });
}

}  // namespace orvalle::cli
