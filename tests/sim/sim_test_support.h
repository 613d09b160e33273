#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "store/record.h"

namespace orvalle::sim::test {

// The records of a replay source file, split by their kind's fixed length.
// An unknown kind or a short tail ends the split and is kept as it is, so
// the length checks see it.
inline std::vector<std::string> splitRecords(const std::string& bytes) {
  std::vector<std::string> records;
  size_t at = 0;
  while (at < bytes.size()) {
    const std::string kind = bytes.substr(at, 2);
    const size_t length = kind == "RA"   ? store::kRaRecordLength
                          : kind == "SE" ? store::kSeRecordLength
                          : kind == "HR" ? store::kHrRecordLength
                                         : bytes.size() - at;
    records.push_back(bytes.substr(at, length));
    at += length;
  }
  return records;
}

// The file names of a folder, sorted.
inline std::vector<std::string> fileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orvalle::sim::test
