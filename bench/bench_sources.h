#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sim/simulator.h"

namespace orvalle::bench {

// A simulated replay source of `days` race days, made once and kept under
// $ORVALLE_BENCH_DATA (default: bench-data in the working folder) so later
// runs reuse it.
inline std::filesystem::path simulatedSource(int days) {
  const char* root = std::getenv("ORVALLE_BENCH_DATA");
  std::filesystem::path folder = std::filesystem::path(root != nullptr ? root : "bench-data") /
                                 ("sim-" + std::to_string(days));
  if (!std::filesystem::exists(folder / "RACEDIFF")) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    sim::simulate({folder, days, 1});
  }
  return folder;
}

}  // namespace orvalle::bench
