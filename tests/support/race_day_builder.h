#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"
#include "support/record_builder.h"

namespace orvalle::test {

// A fixed-width line of blanks whose fields are set by their descriptors, for
// the lines of the per-horse files (past runs, predictions). Texts given to
// set() are UTF-8 and stored as CP932, padded or cut to the field's width;
// setNumber() writes zero-padded digits.
class LineBuilder {
 public:
  explicit LineBuilder(size_t length) : m_line(length, ' ') {}

  LineBuilder& set(store::Field field, std::string_view utf8Text);
  LineBuilder& setRaw(store::Field field, std::string_view cp932Bytes);
  LineBuilder& setNumber(store::Field field, int value);

  const std::string& line() const { return m_line; }

 private:
  std::string m_line;
};

// A past-run line (824 characters) of the race `raceKey` (16 digits) with the
// finishing position stored as "%02d"; other fields blank until set.
LineBuilder pastRunLine(std::string_view raceKey, int finishingPosition);

// Writes the lines, each followed by CR LF, creating the folder.
void writeLinesFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// One race day in day files: races added in order (the RA file keeps that
// order), each with its registered runners; payouts only for the races given
// one. Runner h of race i gets horse number h, bracket (h + 1) / 2 (at most
// 8), registration number "2019" + "%03d" of i + "%03d" of h, a name, weight
// carried 55.0 kg and the finishing position h.
class RaceDayBuilder {
 public:
  explicit RaceDayBuilder(std::string date);  // yyyymmdd

  // Adds a race and returns its index (0, 1, ...).
  int addRace(std::string_view racecourseCode, int raceNumber, int runners, int meeting = 1,
              int dayOfMeeting = 1);

  RecordBuilder& race(int index) { return m_races.at(static_cast<size_t>(index)).ra; }
  RecordBuilder& runner(int index, int horseNumber);
  // The HR record of a race, created on first use.
  RecordBuilder& payout(int index);

  std::string raceKey(int index) const;
  static std::string registrationNumber(int index, int horseNumber);
  // The day stem "yyyy年mm月dd日".
  std::string stem() const;

  // Writes the RA day file, one SE day file per racecourse (216 slots) and,
  // when a race has a payout, the HR day file.
  void write(const std::filesystem::path& dataFolder) const;

 private:
  struct Race {
    std::string racecourseCode;
    int raceNumber = 0;
    RecordBuilder ra;
    std::vector<RecordBuilder> runners;
    std::vector<RecordBuilder> payouts;  // zero or one
  };

  std::string m_date;
  std::vector<Race> m_races;
};

}  // namespace orvalle::test
