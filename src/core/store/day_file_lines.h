#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lines of the day files. Every line is one stored record of fixed
// length: RA 1270, SE 553 and HR 717 bytes, each ended by CR LF in the file.
// RA and HR day files hold one line per race key; an SE day file holds 216
// fixed runner slots, 12 races of 18 horse numbers.
namespace orvalle::store {

// The record kinds kept in day files.
enum class RecordKind { kRa, kSe, kHr };

// The kind of a record by its first two bytes, or nullopt for any other kind.
std::optional<RecordKind> recordKindOf(std::string_view record);

// The length of a stored line of the kind, without CR LF.
size_t lineLength(RecordKind kind);

// The extension of the kind's day file (".jvRA", ".jvSEr", ".jvHR").
std::string_view dayFileExtension(RecordKind kind);

// SE day file slots.
inline constexpr int kSeRacesPerFile = 12;
inline constexpr int kSeRunnersPerRace = 18;
inline constexpr size_t kSeSlotCount = 216;

// The slot of race number `raceNumber` (1-12) and horse number `horseNumber`
// (1-18) in an SE day file: (race - 1) * 18 + (horse - 1). Throws
// orvalle::Error when either number is out of range.
size_t seSlot(int raceNumber, int horseNumber);

// The stored line of a record: the record without its final line end, cut or
// padded with blanks to `length` bytes (a two-byte character split by the cut
// becomes a blank), with every CR or LF byte inside it replaced by a blank so
// that the line never splits in two when the file is read back.
std::string storedLine(std::string_view record, size_t length);

// Brings lines read from a day file of `kind` to their fixed form: each line
// cut or padded to the kind's length; an SE day file gets exactly 216 lines
// (missing slots blank, lines beyond the last slot dropped).
void normaliseDayFileLines(std::vector<std::string>& lines, RecordKind kind);

// Merges `line` into the lines of an RA or HR day file: the first line whose
// race key (positions 12-27) equals the line's is replaced, otherwise the
// line is appended.
void mergeByRaceKey(std::vector<std::string>& lines, std::string line);

}  // namespace orvalle::store
