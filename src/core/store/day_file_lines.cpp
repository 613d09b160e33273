#include "store/day_file_lines.h"

#include <algorithm>

#include "store/day_file_names.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::store {

std::optional<RecordKind> recordKindOf(std::string_view record) {
  std::string_view kind = head::kRecordKind.in(record);
  if (kind == "RA") return RecordKind::kRa;
  if (kind == "SE") return RecordKind::kSe;
  if (kind == "HR") return RecordKind::kHr;
  return std::nullopt;
}

size_t lineLength(RecordKind kind) {
  switch (kind) {
    case RecordKind::kRa:
      return kRaLineLength;
    case RecordKind::kSe:
      return kSeLineLength;
    case RecordKind::kHr:
      return kHrLineLength;
  }
  return kRaLineLength;
}

std::string_view dayFileExtension(RecordKind kind) {
  switch (kind) {
    case RecordKind::kRa:
      return kRaExtension;
    case RecordKind::kSe:
      return kSeExtension;
    case RecordKind::kHr:
      return kHrExtension;
  }
  return kRaExtension;
}

size_t seSlot(int raceNumber, int horseNumber) {
  if (raceNumber < 1 || raceNumber > kSeRacesPerFile || horseNumber < 1 ||
      horseNumber > kSeRunnersPerRace) {
    throw Error(format("出走馬の位置が範囲外です: %dR %d番", raceNumber, horseNumber));
  }
  return static_cast<size_t>((raceNumber - 1) * kSeRunnersPerRace + (horseNumber - 1));
}

std::string storedLine(std::string_view record, size_t length) {
  if (record.ends_with("\r\n")) {
    record.remove_suffix(2);
  } else if (record.ends_with('\n') || record.ends_with('\r')) {
    record.remove_suffix(1);
  }
  std::string line = fitWidth(record, length);
  // CP932 trail bytes are never CR or LF, so replacing them cannot break a
  // two-byte character.
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

void normaliseDayFileLines(std::vector<std::string>& lines, RecordKind kind) {
  const size_t length = lineLength(kind);
  if (kind == RecordKind::kSe) lines.resize(kSeSlotCount);
  for (auto& line : lines) {
    if (line.size() != length) line = fitWidth(line, length);
  }
}

void mergeByRaceKey(std::vector<std::string>& lines, std::string line) {
  const std::string_view key = raceKey(line);
  auto same = std::find_if(lines.begin(), lines.end(),
                           [key](const std::string& old) { return raceKey(old) == key; });
  if (same != lines.end()) {
    *same = std::move(line);
  } else {
    lines.push_back(std::move(line));
  }
}

}  // namespace orvalle::store
