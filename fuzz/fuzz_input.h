#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/day_tables.h"
#include "store/memory_file_system.h"

// Helpers shared by the fuzz targets: every target runs its reader on a
// fresh in-memory home, so one input never sees the files of another and a
// crash replays from its input alone.
namespace orvalle::fuzz {

// Separates the files of one input that holds several ("RA day file, then
// SE day file, ..."). Chosen to be rare in CP932 text yet easy for the
// fuzzer to produce (it is in every target's dictionary).
inline constexpr std::string_view kFileSeparator = "\n%%\n";

// The input as text.
inline std::string_view inputText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The parts of `input` between separators; always at least `minimumParts`
// (missing ones empty), never more than `maximumParts` (the last part then
// keeps the rest, separators included).
std::vector<std::string_view> splitFiles(std::string_view input, size_t minimumParts,
                                         size_t maximumParts);

// A MemoryFileSystem installed for the process while the object lives, with
// the folders of a home at /home (DATA, SEI, yLZH).
class MemoryHome {
 public:
  MemoryHome();

  store::MemoryFileSystem& files() { return m_files; }

 private:
  store::MemoryFileSystem m_files;
  store::ScopedFileSystem m_installed{m_files};
};

// Day tables holding one race (2024-01-06, Nakayama, race 11) with one
// registered runner, horse 1 of registration number kOneRunnerNumber, whose
// past runs the past-run target loads.
inline constexpr std::string_view kOneRunnerRaceKey = "2024010606010111";
inline constexpr int kOneRunnerRaceDate = 20240106;
inline constexpr std::string_view kOneRunnerNumber = "2019104321";
std::unique_ptr<model::DayTables> oneRunnerDay();

}  // namespace orvalle::fuzz
