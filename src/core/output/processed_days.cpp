#include "output/processed_days.h"

#include <algorithm>
#include <set>

#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/text_file.h"

namespace orvalle::output {

std::filesystem::path processedDaysFilePath(const std::filesystem::path& homeFolder, int year) {
  return homeFolder / store::format("yosowriten%04d.txt", year);
}

std::vector<std::string> readProcessedDays(const std::filesystem::path& homeFolder, int year) {
  std::vector<std::string> days;
  for (const std::string& line : store::readLines(processedDaysFilePath(homeFolder, year))) {
    std::string_view stem = store::trim(line);
    if (!stem.empty()) days.push_back(cp932::toUtf8(stem));
  }
  return days;
}

void addProcessedDays(const std::filesystem::path& homeFolder, int year,
                      const std::vector<std::string>& dayStems) {
  std::set<std::string, store::CaseInsensitiveLess> days;
  for (const std::string& line : store::readLines(processedDaysFilePath(homeFolder, year))) {
    if (!store::trim(line).empty()) days.insert(std::string(store::trim(line)));
  }
  for (const std::string& stem : dayStems) days.insert(cp932::fromUtf8(stem));
  store::writeLines(processedDaysFilePath(homeFolder, year),
                    std::vector<std::string>(days.begin(), days.end()));
}

std::vector<std::string> unprocessedDays(const std::vector<std::string>& dateList, int year,
                                         const std::vector<std::string>& processedDays) {
  const std::string yearText = store::format("%04d", year);
  std::vector<std::string> days;
  for (const std::string& stem : dateList) {
    if (stem.compare(0, 4, yearText) != 0) continue;
    if (std::find(processedDays.begin(), processedDays.end(), stem) != processedDays.end()) {
      continue;
    }
    days.push_back(stem);
  }
  return days;
}

}  // namespace orvalle::output
