#include "support/replay_source.h"

#include "store/fixed_width.h"
#include "store/record.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::test {

std::string RaceDay::raceKey(int race) const {
  return date + racecourse + "0101" + store::format("%02d", race);
}

std::string RaceDay::registrationNumber(int race, int horse) const {
  return "20" + racecourse + "00" + store::format("%02d%02d", race, horse);
}

std::string RaceDay::raRecord(int race) const {
  return RecordBuilder::ra(raceKey(race), dataKind)
      .setNumber(store::ra::kRegisteredRunners, runners)
      .setNumber(store::ra::kDistance, 1600)
      .record();
}

std::string RaceDay::seRecord(int race, int horse) const {
  return RecordBuilder::se(raceKey(race), horse, dataKind)
      .setRaw(store::se::kRegistrationNumber, registrationNumber(race, horse))
      .set(store::se::kHorseName, "テスト" + std::to_string(horse))
      .setNumber(store::se::kFinishingPosition, dataKind == '7' ? runners + 1 - horse : 0)
      .setNumber(store::se::kRaceTime, 1350 + horse)
      .setNumber(store::se::kWeightCarried, 550)
      .record();
}

std::string RaceDay::hrRecord(int race) const { return RecordBuilder::hr(raceKey(race)).record(); }

std::vector<std::string> RaceDay::records() const {
  std::vector<std::string> result;
  for (int race = 1; race <= races; ++race) {
    result.push_back(raRecord(race));
    for (int horse = 1; horse <= runners; ++horse) result.push_back(seRecord(race, horse));
    if (dataKind == '7') result.push_back(hrRecord(race));
  }
  return result;
}

std::filesystem::path writeDataFile(const std::filesystem::path& folder, std::string_view timestamp,
                                    std::string_view name,
                                    const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& record : records) bytes += record;
  std::filesystem::path path = folder / (std::string(timestamp) + "_" + std::string(name));
  writeFile(path, bytes);
  return path;
}

std::map<std::string, std::string> snapshotFiles(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[std::filesystem::relative(entry.path(), folder).string()] = readFile(entry.path());
  }
  return files;
}

}  // namespace orvalle::test
