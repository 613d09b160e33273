#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace orvalle::cli {

// Exit statuses of orvalle-cli.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the command failed with one of the program's messages
inline constexpr int kExitUsage = 2;    // the arguments were wrong

// Runs orvalle-cli with `args` (without the program name), printing UTF-8 to
// `out` and messages to `err`. Returns the exit status. Never throws.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvalle::cli
