#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Names of the day files in the data folder. A day is named by its stem
// "yyyy年mm月dd日" (UTF-8 on disk; a file whose name is CP932 bytes, copied
// from Windows, is found too).
namespace orvalle::store {

// The day stem of a date yyyymmdd, or nullopt when the text is not eight
// digits. Stems name files, so nothing else is accepted.
std::optional<std::string> dayStemOfDate(std::string_view yyyymmdd);

// The date yyyymmdd of a day stem, or nullopt when the text is not a stem.
std::optional<std::string> dateOfDayStem(std::string_view stem);

// The day stem of a day the user names: a stem or yyyymmdd, either of a
// calendar date; nullopt for anything else.
std::optional<std::string> parseDay(std::string_view dayArgument);

// Day file kinds and their extensions.
inline constexpr std::string_view kRaExtension = ".jvRA";
inline constexpr std::string_view kSeExtension = ".jvSEr";
inline constexpr std::string_view kHrExtension = ".jvHR";
inline constexpr std::string_view kPredictedOddsExtension = ".yoz";

// The path of a day file: data folder / stem + middle + extension, where
// `middle` is the UTF-8 racecourse name of an SE day file and empty for the
// others. When no file of the UTF-8 name exists but one of the CP932 name
// does, that one is returned, so data copied from Windows is used.
std::filesystem::path dayFilePath(const std::filesystem::path& dataFolder, std::string_view stem,
                                  std::string_view middle, std::string_view extension);

// The racecourse name an SE day file name carries (UTF-8): the racecourse
// name of the code (selector 2) without trailing blanks. Empty for a code
// without a name, or for a name that could leave the data folder or cut the
// file name short (one holding a slash, a backslash or NUL, or "." or ".."):
// such a racecourse names no file.
std::string seFileRacecourseName(std::string_view racecourseCode);

// The path of the SE day file of a racecourse on a day (dayFilePath with
// seFileRacecourseName); nullopt when the racecourse names no file.
std::optional<std::filesystem::path> seDayFilePath(const std::filesystem::path& dataFolder,
                                                   std::string_view stem,
                                                   std::string_view racecourseCode);

// The days that have an RA day file, newest first: the stems (UTF-8) of the
// files "*.jvRA" of the data folder, in descending name order. Files whose
// name does not start with a day stem are left out.
std::vector<std::string> listDays(const std::filesystem::path& dataFolder);

}  // namespace orvalle::store
