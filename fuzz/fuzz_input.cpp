#include "fuzz_input.h"

#include "store/record.h"

namespace orvalle::fuzz {

std::vector<std::string_view> splitFiles(std::string_view input, size_t minimumParts,
                                         size_t maximumParts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maximumParts) {
    const size_t at = input.find(kFileSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kFileSeparator.size());
  }
  parts.push_back(input);
  while (parts.size() < minimumParts) parts.emplace_back();
  return parts;
}

namespace {

std::string recordImage(std::string_view kind, size_t length) {
  std::string image(length - 2, ' ');
  image.replace(0, 2, kind);
  image[2] = '7';
  image.replace(3, 8, "20240105");
  image.replace(11, kOneRunnerRaceKey.size(), kOneRunnerRaceKey);
  return image + "\r\n";
}

void put(std::string& record, store::Field field, std::string_view text) {
  record.replace(static_cast<size_t>(field.position - 1), text.size(), text);
}

}  // namespace

std::unique_ptr<model::DayTables> oneRunnerDay() {
  auto tables = std::make_unique<model::DayTables>();
  std::string ra = recordImage("RA", store::kRaRecordLength);
  put(ra, store::ra::kRegisteredRunners, "01");
  tables->setRace(0, ra);
  std::string se = recordImage("SE", store::kSeRecordLength);
  put(se, store::se::kBracket, "1");
  put(se, store::se::kHorseNumber, "01");
  put(se, store::se::kRegistrationNumber, kOneRunnerNumber);
  tables->setRunner(0, 0, se);
  return tables;
}

MemoryHome::MemoryHome() {
  for (const char* folder : {"/home", "/home/DATA", "/home/SEI", "/home/yLZH"}) {
    m_files.createFolder(folder);
  }
}

}  // namespace orvalle::fuzz
