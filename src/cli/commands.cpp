#include "commands.h"

namespace orvalle::cli {

// Each command's registration lives in its own file (command_*.cpp).
void registerSimulateCommand(CLI::App& app, CliContext& context, std::function<void()>& action);

void registerCommands(CLI::App& app, CliContext& context, std::function<void()>& action) {
  registerSimulateCommand(app, context, action);
}

}  // namespace orvalle::cli
