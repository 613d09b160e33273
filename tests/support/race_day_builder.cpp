#include "support/race_day_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/past_run_record.h"
#include "support/temp_dir.h"

namespace orvalle::test {

LineBuilder& LineBuilder::set(store::Field field, std::string_view utf8Text) {
  return setRaw(field, cp932::fromUtf8(utf8Text));
}

LineBuilder& LineBuilder::setRaw(store::Field field, std::string_view cp932Bytes) {
  std::string value = store::fitWidth(cp932Bytes, static_cast<size_t>(field.length));
  m_line.replace(static_cast<size_t>(field.position - 1), value.size(), value);
  return *this;
}

LineBuilder& LineBuilder::setNumber(store::Field field, int value) {
  return setRaw(field, store::format("%0*d", field.length, value));
}

LineBuilder pastRunLine(std::string_view raceKey, int finishingPosition) {
  LineBuilder line(store::kPastRunLineLength);
  line.setRaw(store::past_run::kRaceKey, raceKey);
  line.setNumber(store::past_run::kFinishingPosition, finishingPosition);
  return line;
}

void writeLinesFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  writeFile(path, bytes);
}

RaceDayBuilder::RaceDayBuilder(std::string date) : m_date(std::move(date)) {}

std::string RaceDayBuilder::raceKey(int index) const {
  const Race& race = m_races.at(static_cast<size_t>(index));
  return std::string(store::head::kRaceKey.in(race.ra.record()));
}

std::string RaceDayBuilder::registrationNumber(int index, int horseNumber) {
  return store::format("2019%03d%03d", index, horseNumber);
}

std::string RaceDayBuilder::stem() const {
  return m_date.substr(0, 4) + "年" + m_date.substr(4, 2) + "月" + m_date.substr(6, 2) + "日";
}

int RaceDayBuilder::addRace(std::string_view racecourseCode, int raceNumber, int runners,
                            int meeting, int dayOfMeeting) {
  const int index = static_cast<int>(m_races.size());
  const std::string key = m_date + std::string(racecourseCode) +
                          store::format("%02d%02d%02d", meeting, dayOfMeeting, raceNumber);
  Race race{std::string(racecourseCode), raceNumber, RecordBuilder::ra(key), {}, {}};
  race.ra.setNumber(store::ra::kRegisteredRunners, runners)
      .setNumber(store::ra::kDistance, 1600)
      .setRaw(store::ra::kTrackCode, "17")
      .setRaw(store::ra::kWeekdayCode, "1")
      .setRaw(store::ra::kStartTime, "1005");
  for (int h = 1; h <= runners; ++h) {
    RecordBuilder se = RecordBuilder::se(key, h);
    se.setNumber(store::se::kBracket, std::min((h + 1) / 2, 8))
        .setRaw(store::se::kRegistrationNumber, registrationNumber(index, h))
        .set(store::se::kHorseName, store::format("ホース%02dの%02d", index, h))
        .setRaw(store::se::kSexCode, "1")
        .setNumber(store::se::kAge, 3)
        .setNumber(store::se::kWeightCarried, 550)
        .set(store::se::kJockeyShortName, "騎手")
        .set(store::se::kTrainerShortName, "調教師")
        .setNumber(store::se::kFinishingPosition, h)
        .setNumber(store::se::kRaceTime, 1340 + h)
        .setNumber(store::se::kWinOdds, 20 * h)
        .setNumber(store::se::kPopularityRank, h);
    race.runners.push_back(std::move(se));
  }
  m_races.push_back(std::move(race));
  return index;
}

RecordBuilder& RaceDayBuilder::runner(int index, int horseNumber) {
  return m_races.at(static_cast<size_t>(index)).runners.at(static_cast<size_t>(horseNumber - 1));
}

RecordBuilder& RaceDayBuilder::payout(int index) {
  Race& race = m_races.at(static_cast<size_t>(index));
  if (race.payouts.empty()) race.payouts.push_back(RecordBuilder::hr(raceKey(index)));
  return race.payouts.front();
}

void RaceDayBuilder::write(const std::filesystem::path& dataFolder) const {
  std::vector<std::string> raLines, hrLines;
  std::map<std::string, std::vector<std::string>> seFiles;  // by racecourse name
  for (const Race& race : m_races) {
    raLines.push_back(race.ra.line());
    for (const RecordBuilder& hr : race.payouts) hrLines.push_back(hr.line());
    std::string name =
        cp932::toUtf8(store::trim(store::codes::racecourseName(race.racecourseCode, 2)));
    auto& slots = seFiles[name];
    if (slots.empty()) slots.assign(216, std::string(store::kSeLineLength, ' '));
    for (size_t k = 0; k < race.runners.size(); ++k) {
      slots.at(static_cast<size_t>(race.raceNumber - 1) * 18 + k) = race.runners[k].line();
    }
  }
  writeLinesFile(dataFolder / (stem() + ".jvRA"), raLines);
  if (!hrLines.empty()) writeLinesFile(dataFolder / (stem() + ".jvHR"), hrLines);
  for (const auto& [name, slots] : seFiles) {
    writeLinesFile(dataFolder / (stem() + name + ".jvSEr"), slots);
  }
}

}  // namespace orvalle::test
