#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"

namespace orvalle::cli {

// The outcome of one orvalle-cli run.
struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun runCliForTest(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = runCli(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace orvalle::cli
