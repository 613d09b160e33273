#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvalle::betting {

// The user combination settings file "UserSet.usd": one setting line per
// text line (CP932), each ended by CR LF; read and written whole.

// The lines of the file as stored (a final line ending adds no line; empty
// lines in between are kept). nullopt when the file does not exist. Throws
// orvalle::Error when it exists but cannot be read.
std::optional<std::vector<std::string>> readUserSettingLines(const std::filesystem::path& path);

// Writes the lines, each ended by CR LF, atomically (no line gives an empty
// file). Throws orvalle::Error on failure; the old file then stays. Throws
// orvalle::Error without writing when a line holds CR or LF, which would
// not read back as one line.
void writeUserSettingLines(const std::filesystem::path& path,
                           const std::vector<std::string>& lines);

}  // namespace orvalle::betting
