#include "commands.h"

namespace orvalle::cli {

void registerCommands(CLI::App& app, CliContext& context, std::function<void()>& action) {
  (void)app;
  (void)context;
  (void)action;
}

}  // namespace orvalle::cli
