#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvalle::test {

// A race day of records for tests: one racecourse, `races` races of
// `runners` runners each, RA and SE of data kind `dataKind`, HR of kind "2"
// when the day is final ("7"). Runner h of race r has registration number
// "20" + racecourse + "00" + "%02d%02d" (race, horse), so every runner is
// another horse unless the caller changes it.
struct RaceDay {
  std::string date = "20240106";  // yyyymmdd
  std::string racecourse = "06";  // 06 = 中山
  int races = 2;
  int runners = 3;
  char dataKind = '7';

  std::string raceKey(int race) const;
  std::string registrationNumber(int race, int horse) const;
  std::string raRecord(int race) const;
  std::string seRecord(int race, int horse) const;
  std::string hrRecord(int race) const;
  // RA, SE and (for a final day) HR records of every race, race by race.
  std::vector<std::string> records() const;
};

// Writes a data file of a replay source: `folder` / timestamp "_" name, the
// records one after the other. Returns its path.
std::filesystem::path writeDataFile(const std::filesystem::path& folder, std::string_view timestamp,
                                    std::string_view name, const std::vector<std::string>& records);

// Every file under a folder (recursively) by relative path, with its bytes.
std::map<std::string, std::string> snapshotFiles(const std::filesystem::path& folder);

}  // namespace orvalle::test
