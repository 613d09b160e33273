#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "acquire/acquisition.h"
#include "acquire/replay_jv_link.h"
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

// The data and past-run folders of simulatedSource(days) acquired with the
// setup option, made once beside the source (a marker file tells a complete
// one). Empty when the acquisition does not complete.
inline std::filesystem::path acquiredSetupHome(int days) {
  namespace fs = std::filesystem;
  const fs::path source = simulatedSource(days);
  const fs::path home = source.parent_path() / ("home-" + std::to_string(days));
  if (fs::exists(home / "complete")) return home;
  fs::remove_all(home);
  fs::create_directories(home / "DATA");
  fs::create_directories(home / "SEI");
  acquire::ReplayJvLink link(source);
  if (!acquire::initialiseJvLink(link)) return {};
  acquire::Acquisition acquisition(link, home / "DATA", home / "SEI", {});
  acquire::AcquisitionObserver quiet;
  auto result = acquisition.run({"20000101000000", acquire::kOptionSetup}, quiet);
  if (result.outcome != acquire::AcquisitionOutcome::kCompleted) return {};
  std::ofstream(home / "complete") << "acquired\n";
  return home;
}

}  // namespace orvalle::bench
