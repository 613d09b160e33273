#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// The past-run file of a horse (SEI / first four / number + ".kak", see
// horse_files.h): one past-run record (past_run_record.h) per race the horse
// ran, 824 characters and CR LF, sorted ascending, one line per race key.
namespace orvalle::store {

// Merges one past-run record into the file: the line of the same race key is
// replaced, else the record is added; the file stays sorted with one line per
// race, every line fitted to 824 bytes; written atomically, the folder created
// when missing (see mergeRaceLines). Throws orvalle::Error on failure; the old
// file then stays as it was.
void mergePastRunLine(const std::filesystem::path& file, std::string_view line);

// The same for several records of one horse, in one rewrite.
void mergePastRunLines(const std::filesystem::path& file, std::span<const std::string> lines);

}  // namespace orvalle::store
