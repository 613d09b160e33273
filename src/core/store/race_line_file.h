#pragma once

#include <filesystem>
#include <span>
#include <string>

// A per-horse file of fixed-width lines, one per race: each line starts with
// the 16-character race key, the lines are sorted ascending in the system's
// order (compareCaseInsensitive) and a race key appears at most once. The
// past-run files and the prediction files have this form.
namespace orvalle::store {

// The race key of a line: its first 16 characters.
inline constexpr size_t kLineRaceKeyLength = 16;

// Merges `newLines` into the file at `path` in one rewrite. The file's lines
// are loaded (a missing file has none); blank lines are dropped. Each new line
// is fitted to `lineLength` bytes (a CR or LF byte in it becomes a blank, so
// it stays one line) and takes the place of every line with the same race key
// (among a batch the later line of a race wins). All lines are
// fitted to `lineLength`, sorted ascending, exact duplicates kept once, and the
// file is written atomically with CR LF line ends; its folder is created when
// missing. An empty batch leaves the file untouched. Throws orvalle::Error
// when the folder cannot be created or the file cannot be read or written;
// the old file then stays as it was.
void mergeRaceLines(const std::filesystem::path& path, std::span<const std::string> newLines,
                    size_t lineLength);

}  // namespace orvalle::store
