#include "store/day_file_names.h"

#include <algorithm>

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/file_system.h"
#include "store/fixed_width.h"
#include "store/race_date.h"
#include "store/text_file.h"

namespace orvalle::store {
namespace {

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool endsWithCaseInsensitive(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         compareCaseInsensitive(text.substr(text.size() - suffix.size()), suffix) == 0;
}

}  // namespace

std::optional<std::string> dayStemOfDate(std::string_view yyyymmdd) {
  if (yyyymmdd.size() != 8 || !allDigits(yyyymmdd)) return std::nullopt;
  if (!codes::isValidDate(toInt(yyyymmdd))) return std::nullopt;
  return std::string(yyyymmdd.substr(0, 4)) + "年" + std::string(yyyymmdd.substr(4, 2)) + "月" +
         std::string(yyyymmdd.substr(6, 2)) + "日";
}

std::optional<std::string> dateOfDayStem(std::string_view stem) {
  // "yyyy年mm月dd日" in UTF-8: 4 + 3 + 2 + 3 + 2 + 3 bytes.
  if (stem.size() != 17) return std::nullopt;
  std::string_view year = stem.substr(0, 4), month = stem.substr(7, 2), day = stem.substr(12, 2);
  if (stem.substr(4, 3) != "年" || stem.substr(9, 3) != "月" || stem.substr(14, 3) != "日") {
    return std::nullopt;
  }
  if (!allDigits(year) || !allDigits(month) || !allDigits(day)) return std::nullopt;
  return std::string(year) + std::string(month) + std::string(day);
}

std::optional<std::string> parseDay(std::string_view dayArgument) {
  std::optional<std::string> stem = dayStemOfDate(dayArgument);
  if (!stem && dateOfDayStem(dayArgument)) stem = std::string(dayArgument);
  if (!stem || !codes::isValidDate(toInt(*dateOfDayStem(*stem)))) return std::nullopt;
  return stem;
}

std::filesystem::path dayFilePath(const std::filesystem::path& dataFolder, std::string_view stem,
                                  std::string_view middle, std::string_view extension) {
  std::string name = std::string(stem) + std::string(middle) + std::string(extension);
  std::filesystem::path utf8Path = dataFolder / name;
  if (pathExists(utf8Path)) return utf8Path;
  std::filesystem::path cp932Path = dataFolder / cp932::fromUtf8(name);
  if (pathExists(cp932Path)) return cp932Path;
  return utf8Path;
}

std::string seFileRacecourseName(std::string_view racecourseCode) {
  std::string name = cp932::toUtf8(trim(codes::racecourseName(racecourseCode, 2)));
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos || name == "." ||
      name == "..") {
    name.clear();
  }
  return name;
}

std::optional<std::filesystem::path> seDayFilePath(const std::filesystem::path& dataFolder,
                                                   std::string_view stem,
                                                   std::string_view racecourseCode) {
  const std::string name = seFileRacecourseName(racecourseCode);
  if (name.empty()) return std::nullopt;
  return dayFilePath(dataFolder, stem, name, kSeExtension);
}

std::vector<std::string> listDays(const std::filesystem::path& dataFolder) {
  std::vector<std::string> stems;
  std::vector<FolderEntry> entries;
  try {
    entries = listFolder(dataFolder);
  } catch (const Error&) {
    return stems;
  }
  for (const FolderEntry& entry : entries) {
    std::string name = entry.name;
    if (!endsWithCaseInsensitive(name, kRaExtension)) continue;
    // A name in CP932 (copied from Windows) is read as such.
    if (!cp932::isValidUtf8(name)) name = cp932::toUtf8(name);
    if (name.size() < 17) continue;
    std::string stem = name.substr(0, 17);
    // Only a calendar date is a race day (a file named by a record of an
    // impossible date is not listed).
    const std::optional<std::string> date = dateOfDayStem(stem);
    if (!date || !codes::isValidDate(toInt(*date))) continue;
    stems.push_back(std::move(stem));
  }
  std::sort(stems.begin(), stems.end(), std::greater<>());
  stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
  return stems;
}

}  // namespace orvalle::store
