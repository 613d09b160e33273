#include "cli_app.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <sstream>

#include "cli_context.h"
#include "commands.h"
#include "store/error.h"

namespace orvalle::cli {

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CliContext context{"", out, err};
  CLI::App app{"orvalle-cli: race-day analysis of JRA races from JV-Data day files", "orvalle-cli"};
  app.require_subcommand(1);
  app.add_option("--home", context.homeOption,
                 "home folder (default: $ORVALLE_HOME, else $XDG_DATA_HOME/orvalle)");

  // Each command registers itself and leaves its work in `action`, run after
  // parsing so that a failure is not mistaken for a usage error.
  std::function<void()> action;
  registerCommands(app, context, action);

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp& e) {
    out << app.help();
    return kExitSuccess;
  } catch (const CLI::CallForAllHelp& e) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitSuccess;
  } catch (const CLI::ParseError& e) {
    std::ostringstream message;
    app.exit(e, message, message);
    err << message.str();
    return kExitUsage;
  }

  try {
    if (action) action();
    return kExitSuccess;
  } catch (const CommandFailed& failure) {
    err << failure.message << "\n";
  } catch (const Error& error) {
    err << error.what() << "\n";
  } catch (const std::exception& error) {
    err << error.what() << "\n";
  }
  return kExitFailure;
}

}  // namespace orvalle::cli
