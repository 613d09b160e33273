#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The import of predicted odds from the archives of two providers: JRDB
// standard odds ("OZ" + yymmdd + ".lzh" holding "Oz" + yymmdd + ".txt") and
// KOL predicted odds ("j*.lzh" holding "kol_ods.kd2"). The text file inside
// becomes the predicted-odds day file (".yoz") of its day, which day loading
// reads.
namespace orvalle::output {

// The message of an archive that could not be unpacked.
inline constexpr std::string_view kNotUnpackedMessage = "データが解凍できませんでした。";

enum class OddsImportOutcome {
  kSaved,        // the day file was written
  kNotUnpacked,  // nothing could be unpacked (kNotUnpackedMessage)
  kNoOddsFile,   // the archive holds neither provider's file: nothing written, no message
  kEmptyFile,    // the provider's file has no lines: nothing written
  kInvalidDate,  // the date that names the day file is not eight digits: nothing written
};

// What an import did. `message` (UTF-8) is the text to show the user; empty
// for kNoOddsFile.
struct [[nodiscard]] OddsImportResult {
  OddsImportOutcome outcome = OddsImportOutcome::kNoOddsFile;
  std::string message;
  std::filesystem::path dayFile;  // the written day file (kSaved)
  int races = 0;                  // lines written

  bool saved() const { return outcome == OddsImportOutcome::kSaved; }
  // The outcome the user is told about with the warning beep.
  bool beep() const { return outcome == OddsImportOutcome::kNotUnpacked; }
};

struct OddsImportRequest {
  std::filesystem::path archive;     // the chosen .lzh file
  std::filesystem::path dataFolder;  // where the day file goes (must exist)
  // The new-format flag of the loaded day (its year is 2005 or later): KOL
  // races of at most 8 runners take the full quinella layout when set, the
  // bracket layout otherwise. nullopt: decided by the year of the KOL file's
  // own date (its first line).
  std::optional<bool> newFormat;
};

// The import:
// 1. removes from the archive's folder F the files an earlier import may
//    have left: "Oz" + characters 3-8 of the archive name + ".txt",
//    "kol_ods.kd2" and "yosoodds.dat" (names compared without regard to
//    letter case);
// 2. unpacks the archive into F (extractLhaArchive); nothing unpacked gives
//    kNotUnpacked;
// 3. when the JRDB text file was unpacked, converts it (jrdbOddsLine) into the
//    day file named by "20" + characters 3-8 of the archive name; otherwise,
//    when "kol_ods.kd2" was unpacked, converts it (kolOddsLine) into the day
//    file named by the date of its first line; otherwise kNoOddsFile;
// 4. writes the day file whole and atomically (lines of 1459 characters and
//    CR LF), replacing the day's file, deletes the converted text file and
//    says so: "JRDB基準オッズデータを解凍し、20yy年mm月dd日のデータを保存しました。
//    データを再読込すると反映されます。" or the same with "KOL予想オッズデータを
//    解凍し、yyyy年…".
// Lines that are blank (after trimming) are left out; a file without other
// lines gives kEmptyFile, and one whose date is not eight digits gives
// kInvalidDate; in both cases the day file stays as it was and the text file
// is deleted. Throws orvalle::Error when a file cannot be read or written,
// or a file of an earlier import cannot be removed; the day file then stays
// as it was.
OddsImportResult importPredictedOdds(const OddsImportRequest& request);

// The JRDB text file of an archive name: "Oz" + characters 3-8 + ".txt"
// ("OZ060105.lzh" -> "Oz060105.txt").
std::string jrdbTextFileName(std::string_view archiveName);

// The KOL text file.
inline constexpr std::string_view kKolTextFileName = "kol_ods.kd2";
// A further file of the archives, not used but removed before unpacking.
inline constexpr std::string_view kUnusedOddsFileName = "yosoodds.dat";

// One day-file line (1459 characters, CP932) of a JRDB source line of date
// `date` (yyyymmdd): date, racecourse, "0" + meeting, "0" + day of meeting
// and race number, "J", runners; then each of the 18 win odds, the 18 place
// odds (5 characters each, after one blank) and the 153 quinella odds (5
// characters each, after three blanks) as they stand. A short line reads
// blanks for what it lacks.
std::string jrdbOddsLine(std::string_view source, std::string_view date);

// One day-file line (1459 characters) of a KOL source line: date,
// racecourse (KOL code), meeting, day of meeting, race number, "K", runners;
// the 18 win odds (kolWinOdds); 18 blank place odds; the 153 quinella odds
// from the horse-pair fields (kolQuinellaOdds) when the race has more than 8
// runners or `newFormat`, else from the bracket-pair fields of the horses'
// brackets (kolBracketQuinellaOdds; blank for a pair with a horse above 8).
std::string kolOddsLine(std::string_view source, bool newFormat);

// KOL odds fields in tenths, written as decimal odds. After trimming: "*"
// gives the provider's cap ("  50.0", "  1000.0", "   100.0"), "-" and a
// blank field give blanks, any other text is read as whole tenths (junk
// reads 0) and written "%6.1f" / "%8.1f" of the value / 10.
std::string kolWinOdds(std::string_view field);
std::string kolQuinellaOdds(std::string_view field);
std::string kolBracketQuinellaOdds(std::string_view field);

}  // namespace orvalle::output
