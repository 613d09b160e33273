#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "acquire/acquisition_observer.h"

namespace orvalle::acquire {

// A runner of a final race that got no past-run line because its
// registration number cannot name a file.
struct SkippedRunner {
  std::string raceKey;             // the race's 16-character key
  std::string horseNumber;         // two characters, as in the record
  std::string registrationNumber;  // CP932 bytes, as in the record
};

// How a past-run construction ended.
enum class ConstructionOutcome {
  kBuilt,           // every result day done
  kIncompleteData,  // a race's SE day file is missing; later days not built
  kCancelled,       // stopped between two days by the cancel flag
};

struct ConstructionResult {
  ConstructionOutcome outcome = ConstructionOutcome::kBuilt;
  int daysBuilt = 0;  // days whose lines were composed (and written)
  int lines = 0;      // past-run lines composed and merged into their files
  std::vector<SkippedRunner> skippedRunners;
};

// The text of a missing SE day file during the construction.
inline constexpr std::string_view kIncompleteDataMessage =
    "サーバーにデータが揃っていないようです。時間をおいて再度データを取り込んでください。";
// Label9's text when the construction has ended.
inline constexpr std::string_view kConstructionDoneText = "過去走データを構築しました。";

// Builds the past-run files of every runner of the result days: for each RA
// day file name of `resultDays` (UTF-8, "yyyy年mm月dd日.jvRA"), taken in
// ascending order, the races of the RA day file (at most 36) and, for each,
// runner slots 0 to registered runners - 1 read from the SE day file of the
// day and the race's racecourse at (race number - 1) x 18 + slot. A runner
// gets a past-run line when its race and its own record both have data kind
// "7"; the line is merged into SEI / first four / number ".kak" (replacing
// the line of the same race, sorted, one line per race). A runner whose
// registration number is not ten ASCII letters or digits gets no line and is
// reported as a warning and in the result.
//
// Lines are gathered per horse over several days and each file is rewritten
// once per batch (at most `batchBytes` of lines in memory), which gives the
// same files as merging day by day.
//
// On a day that has an RA day file but lacks a race's SE day file, the
// construction beeps, reports kIncompleteDataMessage as an error and stops;
// the days before keep their lines. `cancel` is tested between days. Reports
// progress (bar kPastRuns), the day's stem and at the end
// kConstructionDoneText and a beep through `observer`. Throws orvalle::Error
// when a file cannot be read or written; the lines of earlier batches stay.
ConstructionResult constructPastRuns(const std::filesystem::path& dataFolder,
                                     const std::filesystem::path& seiFolder,
                                     std::span<const std::string> resultDays,
                                     AcquisitionObserver& observer, const std::atomic<bool>& cancel,
                                     size_t batchBytes = size_t{64} << 20);

}  // namespace orvalle::acquire
