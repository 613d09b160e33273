#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalle::store {

// Reads a whole file as bytes. Returns nullopt when the file does not exist;
// throws orvalle::Error when it exists but cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Splits text into lines at CR LF, LF or a lone CR. A final line ending does
// not start another line; empty lines in between are kept.
std::vector<std::string> splitLines(std::string_view text);

// The lines of a text file (readFileBytes + splitLines); a missing file gives
// no lines. Throws orvalle::Error when the file cannot be read.
std::vector<std::string> readLines(const std::filesystem::path& path);

// The lines each followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

// Writes the lines, each ended by CR LF, atomically. Throws orvalle::Error on
// failure; the old file then stays.
void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Orders two texts as the sorted lists of the system do: byte order with the
// ASCII letters A-Z folded to a-z, other bytes compared unsigned.
int compareCaseInsensitive(std::string_view a, std::string_view b);

// Strict weak order for std::sort over compareCaseInsensitive.
struct CaseInsensitiveLess {
  bool operator()(std::string_view a, std::string_view b) const {
    return compareCaseInsensitive(a, b) < 0;
  }
};

}  // namespace orvalle::store
