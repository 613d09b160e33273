#include "acquire/past_run_construction.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "store/cp932.h"
#include "store/day_file_lines.h"
#include "store/day_file_names.h"
#include "store/durable_batch.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/horse_files.h"
#include "store/past_run_file.h"
#include "store/past_run_record.h"
#include "store/record.h"
#include "store/se_day_files.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxRacesPerDay = 36;

// A record's bytes shown in a message: UTF-8, control bytes made visible.
std::string shown(std::string_view cp932Text) {
  std::string text = cp932::toUtf8(cp932Text);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
  return text;
}

// One race of a result day: its RA record and its 18 runner slots.
struct Race {
  std::string ra;
  std::vector<std::string> slots;
  int registered = 0;
};

// The past-run lines waiting to be merged into their files, by file.
class PendingLines {
 public:
  void add(const fs::path& file, std::string line) {
    m_bytes += line.size() + file.native().size();
    m_lines[file].push_back(std::move(line));
  }
  size_t bytes() const { return m_bytes; }

  // Merges every file's lines in one rewrite each, committed together.
  void write() {
    store::DurableBatch batch;
    for (const auto& [file, lines] : m_lines) store::mergePastRunLines(file, lines);
    batch.commit();
    m_lines.clear();
    m_bytes = 0;
  }

 private:
  std::map<fs::path, std::vector<std::string>> m_lines;
  size_t m_bytes = 0;
};

}  // namespace

ConstructionResult constructPastRuns(const fs::path& dataFolder, const fs::path& seiFolder,
                                     std::span<const std::string> resultDays,
                                     AcquisitionObserver& observer, const std::atomic<bool>& cancel,
                                     size_t batchBytes) {
  ConstructionResult result;
  if (resultDays.empty()) return result;

  std::vector<std::string> days(resultDays.begin(), resultDays.end());
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  const int dayCount = static_cast<int>(days.size());
  observer.progress(ProgressBar::kPastRuns, 0, dayCount);

  const std::string blankRunner(store::kSeRecordLength, ' ');
  PendingLines pending;
  int done = 0;
  for (const std::string& dayFileName : days) {
    if (cancel) {
      pending.write();
      result.outcome = ConstructionOutcome::kCancelled;
      return result;
    }
    observer.progress(ProgressBar::kPastRuns, ++done, dayCount);
    std::string stem = dayFileName;
    if (stem.ends_with(store::kRaExtension)) stem.resize(stem.size() - store::kRaExtension.size());
    observer.buildText(stem);

    auto raRecords =
        store::readFixedRecords(store::dayFilePath(dataFolder, stem, "", store::kRaExtension),
                                store::kRaRecordLength, kMaxRacesPerDay);
    if (!raRecords) continue;

    // Every race's runners are read before any line is composed, so a day
    // whose data is incomplete adds nothing.
    std::vector<Race> races;
    store::SeDayFiles seFiles(dataFolder, stem);
    for (std::string& ra : *raRecords) {
      // A blank line holds no race.
      if (store::isBlank(store::head::kRaceKey.in(ra))) continue;
      const store::FixedRecordFile* runners = seFiles.of(store::head::kRacecourseCode.in(ra));
      if (runners == nullptr) {
        observer.beep();
        observer.message(MessageKind::kError, std::string(kIncompleteDataMessage));
        pending.write();
        result.outcome = ConstructionOutcome::kIncompleteData;
        return result;
      }
      Race race;
      race.slots.assign(store::kRaceRunnerSlots, blankRunner);
      race.registered =
          std::clamp(store::ra::kRegisteredRunners.numberIn(ra), 0, store::kRaceRunnerSlots);
      const int raceNumber = store::head::kRaceNumber.numberIn(ra);
      // Race numbers outside 1-12 have no slots in the SE day file.
      if (raceNumber >= 1 && raceNumber <= store::kSeRacesPerFile) {
        for (int slot = 0; slot < race.registered; ++slot) {
          race.slots[static_cast<size_t>(slot)] =
              runners->read(store::seSlot(raceNumber, slot + 1));
        }
      }
      race.ra = std::move(ra);
      races.push_back(std::move(race));
    }

    for (const Race& race : races) {
      if (store::dataKind(race.ra) != "7") continue;
      for (int slot = 0; slot < race.registered; ++slot) {
        const std::string& se = race.slots[static_cast<size_t>(slot)];
        if (store::dataKind(se) != "7") continue;
        std::string_view number = store::se::kRegistrationNumber.in(se);
        std::optional<fs::path> file = store::pastRunFilePath(seiFolder, number);
        if (!file) {
          SkippedRunner skipped{std::string(store::raceKey(race.ra)),
                                std::string(store::se::kHorseNumber.in(se)), std::string(number)};
          observer.message(MessageKind::kWarning,
                           "登録番号が正しくないため過去走データを作成しませんでした: " +
                               shown(skipped.raceKey) + " " + shown(skipped.horseNumber) +
                               "番 (登録番号 \"" + shown(skipped.registrationNumber) + "\")");
          result.skippedRunners.push_back(std::move(skipped));
          continue;
        }
        pending.add(*file, store::composePastRunLine(race.ra, se, race.slots));
        ++result.lines;
      }
    }
    ++result.daysBuilt;
    if (pending.bytes() >= batchBytes) pending.write();
  }
  pending.write();
  observer.buildText(std::string(kConstructionDoneText));
  observer.beep();
  return result;
}

}  // namespace orvalle::acquire
