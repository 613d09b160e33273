#pragma once

#include <string>
#include <vector>

#include "horse.h"
#include "race.h"

namespace orvalle::sim {

// What a record tells of its race: the entries (no horse numbers yet), the
// race card (horse numbers and brackets, no results) or the results.
enum class RecordStage { kEntries, kRaceCard, kResults };

// JV-Data records of a simulated race as JV-Link delivers them: CP932 bytes
// of the fixed length (RA 1272, SE 555, HR 719) ending in CR LF, every field
// at its position; full-width texts padded with "　", unused numeric fields
// zeros, unused payout entries blanks. `dataKind` goes to position 3 and
// `creationDate` (yyyymmdd) to positions 4-11.
std::string raRecord(const SimRace& race, RecordStage stage, char dataKind, int creationDate);

// The SE record of runner `index` (horse number - 1) of the race.
std::string seRecord(const SimRace& race, size_t index, const std::vector<Horse>& horses,
                     RecordStage stage, char dataKind, int creationDate);

// The HR record of a run race. When only two places are paid the third place
// entry carries horse number "00", as JV-Link delivers it.
std::string hrRecord(const SimRace& race, char dataKind, int creationDate);

}  // namespace orvalle::sim
