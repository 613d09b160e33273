#include <iostream>
#include <string>
#include <vector>

#include "cli_app.h"
#include "terminal_progress.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  orvalle::cli::CliTerminal terminal;
  terminal.progress = orvalle::cli::standardErrorIsProgressTerminal();
  terminal.columns = orvalle::cli::standardErrorColumns;
  return orvalle::cli::runCli(args, std::cout, std::cerr, terminal);
}
