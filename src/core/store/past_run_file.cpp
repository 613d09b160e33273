#include "store/past_run_file.h"

#include "store/past_run_record.h"
#include "store/race_line_file.h"

namespace orvalle::store {

void mergePastRunLine(const std::filesystem::path& file, std::string_view line) {
  const std::string copy(line);
  mergePastRunLines(file, std::span<const std::string>(&copy, 1));
}

void mergePastRunLines(const std::filesystem::path& file, std::span<const std::string> lines) {
  mergeRaceLines(file, lines, kPastRunLineLength);
}

}  // namespace orvalle::store
