#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The processed-days file of a year ("yosowriten" + year + ".txt" in the home
// folder): the race days whose prediction files the all-race comparison has
// written, one day stem "yyyy年mm月dd日" (CP932) per line, each once,
// ascending.
namespace orvalle::output {

std::filesystem::path processedDaysFilePath(const std::filesystem::path& homeFolder, int year);

// The day stems of the file (UTF-8), ascending; a missing file gives none.
// Throws orvalle::Error when the file exists but cannot be read.
std::vector<std::string> readProcessedDays(const std::filesystem::path& homeFolder, int year);

// Adds day stems (UTF-8) to the file of `year`: existing and new stems are
// sorted ascending with duplicates dropped, and the file is rewritten
// atomically. Throws orvalle::Error on failure; the old file then stays.
void addProcessedDays(const std::filesystem::path& homeFolder, int year,
                      const std::vector<std::string>& dayStems);

// The days of `year` among `dateList` (the date list, newest first) that are
// not in `processedDays`, in date-list order.
std::vector<std::string> unprocessedDays(const std::vector<std::string>& dateList, int year,
                                         const std::vector<std::string>& processedDays);

}  // namespace orvalle::output
