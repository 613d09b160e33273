#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalle::test {

// One entry of the field of a past race, in finishing order: a UTF-8 name
// (kept as its 18-byte form), the race time as stored (1345 = 1:34.5; 0 for
// none) and the weight carried in 0.1 kg.
struct FieldEntry {
  std::string name;
  int time = 0;
  int weight = 550;
};

// A past race as a horse's past-run file records it.
struct PastRace {
  int date = 20240106;
  std::string racecourse = "06";
  int raceNumber = 1;
  int distance = 1600;
  std::string trackCode = "17";
  std::vector<FieldEntry> field;  // finishing order, at most 18
  int own = 1;                    // the file's horse: its entry number in the field
  std::optional<int> position;    // its finishing position; default `own`
  std::optional<int> runners;     // registered runners; default the field's size
};

// The 824-byte past-run line of the race: race key, distance, track code,
// registered runners, the own horse's name, weight, time and finishing
// position (from its entry) and the field in finishing order.
std::string pastRunLine(const PastRace& race);

// Writes the past-run file of a registration number under `seiFolder`, the
// lines as given, each ended by CR LF.
void writePastRunFile(const std::filesystem::path& seiFolder, std::string_view registration,
                      const std::vector<std::string>& lines);

// The 36-byte SE horse name field of a UTF-8 name, padded with "　"; blanks
// for an empty name.
std::string seHorseName(std::string_view utf8Name);

}  // namespace orvalle::test
