#include "output/predicted_odds_import.h"

#include <system_error>
#include <vector>

#include "model/day_tables.h"
#include "output/lha_archive.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/error.h"
#include "store/file_system.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/predicted_odds_file.h"
#include "store/record.h"
#include "store/text_file.h"

namespace orvalle::output {
namespace {

using store::Field;

// JRDB source line: racecourse (JV-Data code), two unused characters,
// meeting (1), day of meeting (1), race number (2), runners (2), then 18 win
// odds, 18 place odds and 153 quinella odds of 5 characters each; 955
// characters in all.
namespace jrdb {
inline constexpr Field kRacecourse{1, 2};
inline constexpr Field kMeeting{5, 1};
inline constexpr Field kDayAndRace{6, 3};
inline constexpr Field kRunners{9, 2};
inline constexpr int kOddsWidth = 5;
inline constexpr int kWinOddsPosition = 11;
inline constexpr int kPlaceOddsPosition = 101;
inline constexpr int kQuinellaOddsPosition = 191;
}  // namespace jrdb

// KOL source line: racecourse (KOL code), meeting (2), day of meeting (2),
// race number (2), date, runners, then 18 win odds and 36 bracket quinella
// odds of 5 characters and 153 quinella odds of 7, all in tenths; 1502
// characters in all.
namespace kol {
inline constexpr Field kRacecourse{1, 2};
inline constexpr Field kMeetingDayAndRace{7, 6};
inline constexpr Field kDate{13, 8};
inline constexpr Field kYear{13, 4};
inline constexpr Field kRunners{110, 2};
inline constexpr int kWinOddsPosition = 162;
inline constexpr int kWinOddsWidth = 5;
inline constexpr int kBracketOddsPosition = 252;
inline constexpr int kBracketOddsWidth = 5;
inline constexpr int kQuinellaOddsPosition = 432;
inline constexpr int kQuinellaOddsWidth = 7;
// Races of up to this many runners run one horse to a bracket.
inline constexpr int kOneHorseBracketRunners = 8;
}  // namespace kol

const std::string kSavedTail = "のデータを保存しました。データを再読込すると反映されます。";

bool sameName(std::string_view a, std::string_view b) {
  return store::compareCaseInsensitive(a, b) == 0;
}

// Removes the files an earlier import may have left in the archive's
// folder, so that none of them is taken for a file of this archive. The
// archive itself is kept, whatever its name.
void removeLeftovers(const std::filesystem::path& archive, const std::vector<std::string>& names) {
  // No folder: the archive is missing too, which unpacking reports.
  const std::filesystem::path folder = archive.parent_path();
  std::vector<std::filesystem::path> leftovers;
  for (const store::FolderEntry& entry : store::listFolder(folder)) {
    const std::filesystem::path path = folder / entry.name;
    if (path == archive || entry.kind == store::FileKind::kFolder) continue;
    for (const std::string& leftover : names) {
      if (sameName(entry.name, leftover)) leftovers.push_back(path);
    }
  }
  for (const auto& path : leftovers) store::fileSystem().remove(path);
}

// The unpacked file of that name (letter case ignored), the last one when
// the archive held it twice.
std::optional<std::string> unpackedFile(const LhaExtraction& extraction, std::string_view name) {
  std::optional<std::string> found;
  for (const std::string& extracted : extraction.extracted) {
    if (sameName(extracted, name)) found = extracted;
  }
  return found;
}

// The lines of a provider's file that carry data.
std::vector<std::string> sourceLines(const std::filesystem::path& path) {
  std::vector<std::string> lines = store::readLines(path);
  std::erase_if(lines, [](const std::string& line) { return store::trim(line).empty(); });
  return lines;
}

// The source field at `position`, blank-padded to its width when the line
// is short.
std::string sourceField(std::string_view line, int position, int width) {
  return store::fitWidth(store::field(line, position, width), static_cast<size_t>(width));
}

std::string sourceField(std::string_view line, Field field) {
  return sourceField(line, field.position, field.length);
}

// A KOL odds field: "*" gives `capped`, "-" and blanks give blanks, else
// whole tenths written "%<width>.1f".
std::string kolOdds(std::string_view field, std::string_view capped, int width) {
  std::string_view text = store::trim(field);
  if (text == "*") return std::string(capped);
  if (text.empty() || text == "-") return std::string(static_cast<size_t>(width), ' ');
  return store::fitWidthRight(store::format("%*.1f", width, store::toInt(text) / 10.0),
                              static_cast<size_t>(width));
}

void removeQuietly(const std::filesystem::path& path) {
  // The day file is saved; a text file that cannot be removed is removed
  // before the next import instead.
  try {
    store::fileSystem().remove(path);
  } catch (const Error&) {
  }
}

OddsImportResult failure(OddsImportOutcome outcome, std::string message) {
  OddsImportResult result;
  result.outcome = outcome;
  result.message = std::move(message);
  return result;
}

// Writes the converted lines as the day file of `date` and says so.
OddsImportResult saveDayFile(const OddsImportRequest& request, std::string_view date,
                             const std::vector<std::string>& lines, std::string message) {
  std::optional<std::string> stem = store::dayStemOfDate(date);
  OddsImportResult result;
  result.dayFile = store::predictedOddsFilePath(request.dataFolder, *stem);
  store::writeLines(result.dayFile, lines);
  result.outcome = OddsImportOutcome::kSaved;
  result.message = std::move(message);
  result.races = static_cast<int>(lines.size());
  return result;
}

std::string invalidDateMessage(std::string_view date) {
  return "予想オッズデータの日付が正しくありません: " + cp932::toUtf8(date);
}

OddsImportResult importJrdb(const OddsImportRequest& request, const std::filesystem::path& textFile,
                            std::string_view archiveName) {
  std::vector<std::string> source = sourceLines(textFile);
  std::string yymmdd(store::field(archiveName, 3, 6));
  std::string date = "20" + yymmdd;
  OddsImportResult result;
  if (source.empty()) {
    result = failure(OddsImportOutcome::kEmptyFile, "JRDB基準オッズデータのファイルが空です。");
  } else if (!store::dayStemOfDate(date)) {
    result = failure(OddsImportOutcome::kInvalidDate, invalidDateMessage(date));
  } else {
    std::vector<std::string> lines;
    lines.reserve(source.size());
    for (const std::string& line : source) lines.push_back(jrdbOddsLine(line, date));
    result = saveDayFile(request, date, lines,
                         "JRDB基準オッズデータを解凍し、20" + yymmdd.substr(0, 2) + "年" +
                             yymmdd.substr(2, 2) + "月" + yymmdd.substr(4, 2) + "日" + kSavedTail);
  }
  removeQuietly(textFile);
  return result;
}

OddsImportResult importKol(const OddsImportRequest& request,
                           const std::filesystem::path& textFile) {
  std::vector<std::string> source = sourceLines(textFile);
  OddsImportResult result;
  if (source.empty()) {
    // The day file is named by the first line's date, so there is none to
    // write; an empty day file would also wipe the odds already saved.
    result = failure(OddsImportOutcome::kEmptyFile, "KOL予想オッズデータのファイルが空です。");
  } else {
    std::string date(kol::kDate.in(source.front()));
    if (!store::dayStemOfDate(date)) {
      result = failure(OddsImportOutcome::kInvalidDate, invalidDateMessage(date));
    } else {
      bool newFormat =
          request.newFormat.value_or(kol::kYear.numberIn(source.front()) >= model::kNewFormatYear);
      std::vector<std::string> lines;
      lines.reserve(source.size());
      for (const std::string& line : source) lines.push_back(kolOddsLine(line, newFormat));
      result = saveDayFile(request, date, lines,
                           "KOL予想オッズデータを解凍し、" + date.substr(0, 4) + "年" +
                               date.substr(4, 2) + "月" + date.substr(6, 2) + "日" + kSavedTail);
    }
  }
  removeQuietly(textFile);
  return result;
}

}  // namespace

std::string jrdbTextFileName(std::string_view archiveName) {
  return "Oz" + std::string(store::field(archiveName, 3, 6)) + ".txt";
}

std::string jrdbOddsLine(std::string_view source, std::string_view date) {
  std::string line;
  line.reserve(store::kPredictedOddsLineLength);
  line += store::fitWidth(date, 8);
  line += sourceField(source, jrdb::kRacecourse);
  line += "0" + sourceField(source, jrdb::kMeeting);
  line += "0" + sourceField(source, jrdb::kDayAndRace);
  line += "J" + sourceField(source, jrdb::kRunners);
  for (int horse = 0; horse < store::kPredictedOddsHorses; ++horse) {
    line += " " + sourceField(source, jrdb::kWinOddsPosition + jrdb::kOddsWidth * horse,
                              jrdb::kOddsWidth);
  }
  for (int horse = 0; horse < store::kPredictedOddsHorses; ++horse) {
    line += " " + sourceField(source, jrdb::kPlaceOddsPosition + jrdb::kOddsWidth * horse,
                              jrdb::kOddsWidth);
  }
  for (int pair = 0; pair < store::kPredictedOddsPairs; ++pair) {
    line += "   " + sourceField(source, jrdb::kQuinellaOddsPosition + jrdb::kOddsWidth * pair,
                                jrdb::kOddsWidth);
  }
  return line;
}

std::string kolOddsLine(std::string_view source, bool newFormat) {
  std::string line;
  line.reserve(store::kPredictedOddsLineLength);
  line += sourceField(source, kol::kDate);
  line += sourceField(source, kol::kRacecourse);
  line += sourceField(source, kol::kMeetingDayAndRace);
  line += "K" + sourceField(source, kol::kRunners);
  for (int horse = 0; horse < store::kPredictedOddsHorses; ++horse) {
    line += kolWinOdds(sourceField(source, kol::kWinOddsPosition + kol::kWinOddsWidth * horse,
                                   kol::kWinOddsWidth));
  }
  line += std::string(store::kPredictedOddsHorses * store::predicted_odds::kOddsWidth, ' ');

  const bool fullLayout =
      newFormat || kol::kRunners.numberIn(source) > kol::kOneHorseBracketRunners;
  for (int pair = 1; pair <= store::kPredictedOddsPairs; ++pair) {
    if (fullLayout) {
      line += kolQuinellaOdds(
          sourceField(source, kol::kQuinellaOddsPosition + kol::kQuinellaOddsWidth * (pair - 1),
                      kol::kQuinellaOddsWidth));
      continue;
    }
    // One horse to a bracket: the pair's odds are those of its brackets.
    store::codes::HorsePair horses = store::codes::pairHorses(pair);
    int bracketPair = store::codes::bracketPairNumber(horses.first, horses.second);
    if (bracketPair == 0) {
      line += std::string(store::predicted_odds::kQuinellaOddsWidth, ' ');
    } else {
      line += kolBracketQuinellaOdds(sourceField(
          source, kol::kBracketOddsPosition + kol::kBracketOddsWidth * (bracketPair - 1),
          kol::kBracketOddsWidth));
    }
  }
  return line;
}

std::string kolWinOdds(std::string_view field) { return kolOdds(field, "  50.0", 6); }
std::string kolQuinellaOdds(std::string_view field) { return kolOdds(field, "  1000.0", 8); }
std::string kolBracketQuinellaOdds(std::string_view field) { return kolOdds(field, "   100.0", 8); }

OddsImportResult importPredictedOdds(const OddsImportRequest& request) {
  const std::filesystem::path archive =
      std::filesystem::absolute(request.archive).lexically_normal();
  const std::filesystem::path folder = archive.parent_path();
  const std::string archiveName = archive.filename().string();
  const std::string jrdbName = jrdbTextFileName(archiveName);

  removeLeftovers(archive,
                  {jrdbName, std::string(kKolTextFileName), std::string(kUnusedOddsFileName)});
  // Only the providers' files are unpacked: nothing else of the archive
  // reaches the folder.
  LhaExtraction extraction = extractLhaArchive(archive, folder, [&jrdbName](std::string_view name) {
    return sameName(name, jrdbName) || sameName(name, kKolTextFileName) ||
           sameName(name, kUnusedOddsFileName);
  });
  if (!extraction.anythingUnpacked()) {
    return failure(OddsImportOutcome::kNotUnpacked, std::string(kNotUnpackedMessage));
  }
  if (auto jrdbFile = unpackedFile(extraction, jrdbName)) {
    return importJrdb(request, folder / *jrdbFile, archiveName);
  }
  if (auto kolFile = unpackedFile(extraction, kKolTextFileName)) {
    return importKol(request, folder / *kolFile);
  }
  return OddsImportResult{};
}

}  // namespace orvalle::output
