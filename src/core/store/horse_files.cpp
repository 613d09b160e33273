#include "store/horse_files.h"

#include <algorithm>
#include <string>

namespace orvalle::store {
namespace {

constexpr size_t kRegistrationNumberLength = 10;

bool isAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::optional<std::filesystem::path> horseFile(const std::filesystem::path& seiFolder,
                                               std::string_view registrationNumber,
                                               std::string_view extension) {
  auto folder = horseFolder(seiFolder, registrationNumber);
  if (!folder) return std::nullopt;
  return *folder / (std::string(registrationNumber) + std::string(extension));
}

}  // namespace

bool isValidRegistrationNumber(std::string_view registrationNumber) {
  return registrationNumber.size() == kRegistrationNumberLength &&
         std::all_of(registrationNumber.begin(), registrationNumber.end(), isAsciiLetterOrDigit);
}

std::optional<std::filesystem::path> horseFolder(const std::filesystem::path& seiFolder,
                                                 std::string_view registrationNumber) {
  if (!isValidRegistrationNumber(registrationNumber)) return std::nullopt;
  return seiFolder / std::string(registrationNumber.substr(0, 4));
}

std::optional<std::filesystem::path> pastRunFilePath(const std::filesystem::path& seiFolder,
                                                     std::string_view registrationNumber) {
  return horseFile(seiFolder, registrationNumber, kPastRunExtension);
}

std::optional<std::filesystem::path> predictionFilePath(const std::filesystem::path& seiFolder,
                                                        std::string_view registrationNumber) {
  return horseFile(seiFolder, registrationNumber, kPredictionExtension);
}

}  // namespace orvalle::store
