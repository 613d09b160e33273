#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace orvalle::cli {

// What every subcommand gets: the global options and the output streams.
// A command prints results (UTF-8) to `out`; it reports failure by throwing
// orvalle::Error (exit 1) or CommandFailed, never by printing to `err` itself;
// only warnings that leave the command successful (a record skipped) are
// printed to `err` directly.
struct CliContext {
  std::string homeOption;  // --home, empty when not given
  std::ostream& out;
  std::ostream& err;
  // Standard error is a terminal on which the long commands redraw a
  // progress line (see TerminalProgress). False when not set, so that a run
  // into string streams prints no progress.
  bool progressTerminal = false;
  // The width of that terminal in columns, asked at each redraw; empty: 80.
  std::function<int()> terminalColumns;
};

// A command's failure with one of the program's messages (UTF-8): printed to
// standard error, exit status 1.
struct CommandFailed {
  std::string message;
};

}  // namespace orvalle::cli
