#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace orvalle::cli {

// Exit statuses of orvalle-cli.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the command failed with one of the program's messages
inline constexpr int kExitUsage = 2;    // the arguments were wrong

// What orvalle-cli knows of the terminal on standard error.
struct CliTerminal {
  bool progress = false;         // a progress line can be redrawn on it
  std::function<int()> columns;  // its width, asked at each redraw; empty: 80
};

// Runs orvalle-cli with `args` (without the program name), printing UTF-8 to
// `out` and messages to `err`; the long commands show their progress on
// `err` when `terminal.progress`. Returns the exit status. Never throws.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliTerminal& terminal = {});

}  // namespace orvalle::cli
