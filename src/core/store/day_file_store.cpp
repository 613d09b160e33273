#include "store/day_file_store.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "store/atomic_file.h"
#include "store/day_file_names.h"
#include "store/durable_batch.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"
#include "store/text_file.h"

namespace orvalle::store {
namespace {

constexpr std::string_view kZeroCreationDate = "00000000";

void zeroCreationDate(std::string& line) {
  line.replace(static_cast<size_t>(head::kCreationDate.position - 1), kZeroCreationDate.size(),
               kZeroCreationDate);
}

bool isLocalOrOverseas(std::string_view line) {
  std::string_view kind = dataKind(line);
  return kind == "A" || kind == "B";
}

}  // namespace

DayFileStore::DayFileStore(std::filesystem::path dataFolder, WriterRules rules, WritePolicy policy,
                           size_t memoryLimit)
    : m_dataFolder(std::move(dataFolder)),
      m_rules(rules),
      m_policy(policy),
      m_memoryLimit(memoryLimit) {}

DayFileStore::~DayFileStore() {
  // Callers flush() themselves to learn of failures; this is the last try
  // for what is still pending, and a destructor cannot report.
  try {
    flush();
  } catch (...) {
  }
}

bool DayFileStore::passesFilter(RecordKind kind, std::string_view line) const {
  const int raceNumber = head::kRaceNumber.numberIn(line);
  if (raceNumber <= 0) return false;
  const bool acquisition = m_rules.writer == DayFileWriter::kAcquisition;
  if (acquisition) {
    if (isLocalOrOverseas(line)) return false;
    // 64-bit, so that no from-date can overflow the subtraction.
    if (int64_t{raceDate(line)} < int64_t{m_rules.fromDate} - 10) return false;
  }
  switch (kind) {
    case RecordKind::kRa: {
      if (!acquisition) return true;
      const int registered = ra::kRegisteredRunners.numberIn(line);
      return registered >= 1 && registered <= kSeRunnersPerRace;
    }
    case RecordKind::kSe: {
      // Both writers: a runner outside 12 races of 18 horse numbers has no
      // slot; horse number 19 would otherwise land in the next race.
      const int horseNumber = se::kHorseNumber.numberIn(line);
      return raceNumber <= kSeRacesPerFile && horseNumber >= 1 && horseNumber <= kSeRunnersPerRace;
    }
    case RecordKind::kHr:
      return true;
  }
  return false;
}

const std::string& DayFileStore::racecourseNameOfCode(std::string_view code) {
  auto it = m_racecourseNames.find(std::string(code));
  if (it != m_racecourseNames.end()) return it->second;
  return m_racecourseNames.emplace(std::string(code), seFileRacecourseName(code)).first->second;
}

DayFileStore::DayFile& DayFileStore::dayFile(const std::string& fileName, std::string_view stem,
                                             std::string_view middle, RecordKind kind) {
  auto it = m_files.find(fileName);
  if (it != m_files.end()) {
    it->second.lastUse = ++m_clock;
    return it->second;
  }
  DayFile file;
  file.kind = kind;
  file.path = dayFilePath(m_dataFolder, stem, middle, dayFileExtension(kind));
  if (auto bytes = readFileBytes(file.path)) {
    file.exists = true;
    file.lines = splitLines(*bytes);
    normaliseDayFileLines(file.lines, kind);
  }
  file.lastUse = ++m_clock;
  DayFile& kept = m_files.emplace(fileName, std::move(file)).first->second;
  m_memoryUsed += kept.bytes();
  keepWithinMemoryLimit(fileName);
  return kept;
}

bool DayFileStore::apply(DayFile& file, RecordKind kind, std::string line) const {
  const bool acquisition = m_rules.writer == DayFileWriter::kAcquisition;
  if (kind == RecordKind::kSe) {
    const size_t slot = seSlot(head::kRaceNumber.numberIn(line), se::kHorseNumber.numberIn(line));
    if (file.lines[slot] == line) return false;
    file.lines[slot] = std::move(line);
    return true;
  }

  if (kind == RecordKind::kRa || acquisition) zeroCreationDate(line);
  // A few dozen lines: comparing a copy is cheaper than any rewrite it saves.
  std::vector<std::string> before = file.lines;
  mergeByRaceKey(file.lines, std::move(line));
  if (acquisition) {
    std::stable_sort(file.lines.begin(), file.lines.end(), CaseInsensitiveLess{});
  } else if (kind == RecordKind::kRa && !file.lines.empty() && trim(file.lines.front()).empty()) {
    file.lines.erase(file.lines.begin());
  }
  return file.lines != before;
}

std::optional<StoredRecord> DayFileStore::store(std::string_view record) {
  const std::optional<RecordKind> kind = recordKindOf(record);
  if (!kind) return std::nullopt;
  std::string line = storedLine(record, lineLength(*kind));

  // Only eight digits name a day file.
  const std::optional<std::string> stem = dayStemOfDate(head::kRaceDate.in(line));
  if (!stem || !passesFilter(*kind, line)) return std::nullopt;

  std::string middle;
  if (*kind == RecordKind::kSe) {
    middle = racecourseNameOfCode(head::kRacecourseCode.in(line));
    if (middle.empty()) return std::nullopt;
  }
  const std::string fileName = *stem + middle + std::string(dayFileExtension(*kind));

  StoredRecord stored;
  stored.kind = *kind;
  stored.fileName = fileName;
  stored.raceNumber = std::string(head::kRaceNumber.in(line));
  if (*kind == RecordKind::kSe) stored.horseNumber = std::string(se::kHorseNumber.in(line));
  stored.finalResultsRace = *kind == RecordKind::kRa && dataKind(line) == "7";

  DayFile& file = dayFile(fileName, *stem, middle, *kind);
  stored.path = file.path;
  const size_t bytesBefore = file.bytes();
  if (!file.exists) {
    // The results command never creates a race or runner file, only a
    // missing payout file.
    if (m_rules.writer == DayFileWriter::kResultsCommand && *kind != RecordKind::kHr) {
      return std::nullopt;
    }
    file.lines.assign(*kind == RecordKind::kSe ? kSeSlotCount : 0,
                      std::string(lineLength(*kind), ' '));
  }

  const bool changed = apply(file, *kind, std::move(line)) || !file.exists;
  m_memoryUsed = m_memoryUsed - bytesBefore + file.bytes();
  file.exists = true;
  if (!changed) return stored;

  file.pending = true;
  if (m_policy == WritePolicy::kEveryRecord) {
    try {
      write(file);
    } catch (const Error&) {
      // The file in memory holds a record that did not reach the disk; it
      // is read again when next needed.
      forget(fileName);
      throw;
    }
  }
  return stored;
}

void DayFileStore::write(DayFile& file) {
  writeFileAtomicallyOrThrow(file.path, joinLines(file.lines));
  file.pending = false;
}

void DayFileStore::forget(const std::string& fileName) {
  auto it = m_files.find(fileName);
  if (it == m_files.end()) return;
  m_memoryUsed -= it->second.bytes();
  m_files.erase(it);
}

void DayFileStore::keepWithinMemoryLimit(const std::string& keepFileName) {
  while (m_memoryUsed > m_memoryLimit) {
    auto oldest = m_files.end();
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
      if (it->first == keepFileName || it->second.bytes() == 0) continue;
      if (oldest == m_files.end() || it->second.lastUse < oldest->second.lastUse) oldest = it;
    }
    if (oldest == m_files.end()) return;
    // A pending file is written before it leaves memory; when that fails
    // it stays, pending, and the error ends the caller's loop.
    if (oldest->second.pending) write(oldest->second);
    forget(oldest->first);
  }
}

void DayFileStore::flush() {
  std::vector<std::pair<const std::string*, DayFile*>> pending;
  for (auto& [name, file] : m_files) {
    if (file.pending) pending.emplace_back(&name, &file);
  }
  std::sort(pending.begin(), pending.end(), [](const auto& a, const auto& b) {
    const bool aRa = a.second->kind == RecordKind::kRa, bRa = b.second->kind == RecordKind::kRa;
    if (aRa != bRa) return bRa;
    return *a.first < *b.first;
  });
  // One durable batch: after a crash every day file is its old or its new
  // content. A failure leaves every file pending for another flush.
  DurableBatch batch;
  for (auto& entry : pending) {
    writeFileAtomicallyOrThrow(entry.second->path, joinLines(entry.second->lines));
  }
  batch.commit();
  for (auto& entry : pending) entry.second->pending = false;
}

bool DayFileStore::hasUnwrittenChanges() const {
  return std::any_of(m_files.begin(), m_files.end(),
                     [](const auto& entry) { return entry.second.pending; });
}

}  // namespace orvalle::store
