#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace orvalle::test {

// The real RA, SE and HR records (2546 bytes) of the realdata folder beside
// the project, or of $ORVALLE_REALDATA_DIR when the project is built
// elsewhere; empty when neither has them (the tests then skip).
inline std::string realRaSeHrRecords() {
  const std::string name =
      "urasandesu_JVLinkToSQLite__DataBridgeIntegrationTest.RA_SE_HR.cp932.dat";
  std::filesystem::path folder = ORVALLE_REALDATA_DIR;
  if (const char* dir = std::getenv("ORVALLE_REALDATA_DIR");
      dir != nullptr && !std::filesystem::exists(folder / name)) {
    folder = dir;
  }
  return readFile(folder / name);
}

}  // namespace orvalle::test
