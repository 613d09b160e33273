#include "support/past_run_builder.h"

#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/horse_files.h"
#include "store/past_run_record.h"
#include "support/temp_dir.h"

namespace orvalle::test {
namespace {

namespace past_run = store::past_run;

void put(std::string& line, store::Field field, std::string_view text) {
  std::string value = store::fitWidth(text, static_cast<size_t>(field.length));
  line.replace(static_cast<size_t>(field.position - 1), value.size(), value);
}

void putNumber(std::string& line, store::Field field, int value) {
  put(line, field, store::format("%0*d", field.length, value));
}

}  // namespace

std::string pastRunLine(const PastRace& race) {
  if (race.field.size() > 18) throw Error("too many entries");
  std::string line(store::kPastRunLineLength, ' ');
  put(line, past_run::kRaceKey,
      store::format("%08d%s01%02d%02d", race.date, race.racecourse.c_str(), 1, race.raceNumber));
  putNumber(line, past_run::kDistance, race.distance);
  put(line, past_run::kTrackCode, race.trackCode);
  putNumber(line, past_run::kRegisteredRunners,
            race.runners.value_or(static_cast<int>(race.field.size())));
  for (size_t i = 0; i < race.field.size(); ++i) {
    const FieldEntry& entry = race.field[i];
    const store::Field at = past_run::fieldEntry(static_cast<int>(i));
    std::string text = store::horseName18(cp932::fromUtf8(entry.name)) + "0000000000" +
                       store::format("%04d%03d", entry.time, entry.weight);
    put(line, at, text);
  }
  if (race.own >= 1 && static_cast<size_t>(race.own) <= race.field.size()) {
    const FieldEntry& self = race.field[static_cast<size_t>(race.own - 1)];
    put(line, past_run::kHorseName, store::horseName18(cp932::fromUtf8(self.name)));
    putNumber(line, past_run::kWeightCarried, self.weight);
    putNumber(line, past_run::kRaceTime, self.time);
  }
  putNumber(line, past_run::kFinishingPosition, race.position.value_or(race.own));
  return line;
}

void writePastRunFile(const std::filesystem::path& seiFolder, std::string_view registration,
                      const std::vector<std::string>& lines) {
  auto path = store::pastRunFilePath(seiFolder, registration);
  if (!path) throw Error("invalid registration number");
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  writeFile(*path, bytes);
}

std::string seHorseName(std::string_view utf8Name) {
  std::string name(store::trim(cp932::fromUtf8(utf8Name)));
  if (name.empty()) return std::string(36, ' ');
  while (name.size() < 36) name += "\x81\x40";
  return store::fitWidth(name, 36);
}

}  // namespace orvalle::test
