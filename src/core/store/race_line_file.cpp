#include "store/race_line_file.h"

#include "store/atomic_file.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <vector>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/text_file.h"

namespace orvalle::store {
namespace {

std::string_view keyOf(std::string_view line) { return line.substr(0, kLineRaceKeyLength); }

// A new line fitted to its width. A CR or LF byte (only junk holds one) would
// split the line when the file is read back, so it becomes a blank.
std::string fittedLine(std::string_view line, size_t lineLength) {
  std::string fitted = fitWidth(line, lineLength);
  std::replace_if(
      fitted.begin(), fitted.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return fitted;
}

void createFolderOf(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) return;
  createFoldersDurably(folder);
}

}  // namespace

void mergeRaceLines(const std::filesystem::path& path, std::span<const std::string> newLines,
                    size_t lineLength) {
  if (newLines.empty()) return;

  std::vector<std::string> lines;
  for (const std::string& line : readLines(path)) {
    if (isBlank(line)) continue;
    lines.push_back(fitWidth(line, lineLength));
  }

  // Every line of a race key that is written again goes, so the file holds
  // one line per race even when an earlier copy of it held two.
  for (const std::string& newLine : newLines) {
    std::string fitted = fittedLine(newLine, lineLength);
    std::string_view key = keyOf(fitted);
    std::erase_if(lines, [key](const std::string& line) { return keyOf(line) == key; });
    lines.push_back(std::move(fitted));
  }

  std::stable_sort(lines.begin(), lines.end(), CaseInsensitiveLess());
  lines.erase(std::unique(lines.begin(), lines.end(),
                          [](const std::string& a, const std::string& b) {
                            return compareCaseInsensitive(a, b) == 0;
                          }),
              lines.end());

  createFolderOf(path);
  writeLines(path, lines);
}

}  // namespace orvalle::store
