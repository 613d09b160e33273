#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

// The files kept per horse in the SEI folder, named by the horse's
// registration number: SEI / first four characters / number + extension.
namespace orvalle::store {

inline constexpr std::string_view kPastRunExtension = ".kak";
inline constexpr std::string_view kPredictionExtension = ".yos";

// True when the text is a registration number that may name a file: exactly
// ten ASCII letters or digits. Anything else (blanks, "/", "..", non-ASCII
// bytes, another length) comes from a damaged record and must never form a
// path.
bool isValidRegistrationNumber(std::string_view registrationNumber);

// The folder of a horse's files: seiFolder / first four characters of the
// registration number. Nullopt when the number is not valid.
std::optional<std::filesystem::path> horseFolder(const std::filesystem::path& seiFolder,
                                                 std::string_view registrationNumber);

// The past-run file of a horse: horse folder / number + ".kak". Nullopt when
// the number is not valid.
std::optional<std::filesystem::path> pastRunFilePath(const std::filesystem::path& seiFolder,
                                                     std::string_view registrationNumber);

// The prediction file of a horse: horse folder / number + ".yos". Nullopt
// when the number is not valid.
std::optional<std::filesystem::path> predictionFilePath(const std::filesystem::path& seiFolder,
                                                        std::string_view registrationNumber);

}  // namespace orvalle::store
