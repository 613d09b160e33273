#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/day_file_lines.h"

namespace orvalle::store {

// The two writers of the day files. They store the same record kinds but
// with different filters and steps:
// - the acquisition keeps only races dated from ten days before its start,
//   never stores records of data kind "A" or "B", creates missing day files,
//   zeroes the creation date of RA and HR lines and sorts RA and HR files;
// - the results command stores RA and SE records only into day files that
//   exist, creates a missing HR file, zeroes the creation date of RA lines
//   only, does not sort and removes a blank first line of an RA file.
enum class DayFileWriter { kAcquisition, kResultsCommand };

// The writer whose rules a store follows, with the acquisition's from-date.
struct WriterRules {
  DayFileWriter writer = DayFileWriter::kAcquisition;
  // The acquisition's start date yyyymmdd; records dated before it minus 10
  // (plain integer arithmetic) are not stored. Unused by the results command.
  int fromDate = 0;

  static WriterRules acquisition(int fromDateYyyymmdd) {
    return {DayFileWriter::kAcquisition, fromDateYyyymmdd};
  }
  static WriterRules resultsCommand() { return {DayFileWriter::kResultsCommand, 0}; }
};

// When a changed day file goes to disk.
enum class WritePolicy {
  // After every stored record that changes it, so every record reported as
  // stored is already on disk.
  kEveryRecord,
  // Once, by flush() (or when the file leaves the store's memory): the
  // policy for long read loops that store many records of the same days.
  kDeferred,
};

// What a stored record went to; enough for a writer's list of stored records
// ("作成済み:" race "R/" file name) and the acquisition's list of result days.
struct StoredRecord {
  RecordKind kind = RecordKind::kRa;
  // The day file on disk (its name may be CP932 bytes when the file was
  // copied from Windows).
  std::filesystem::path path;
  // The day file's name in UTF-8, e.g. "2003年04月05日中山.jvSEr".
  std::string fileName;
  // The race number (positions 26-27) as the two characters of the record.
  std::string raceNumber;
  // SE: the horse number (positions 29-30) as the two characters of the
  // record; empty for RA and HR.
  std::string horseNumber;
  // True for an RA record of data kind "7" (final results): its day is one
  // whose runners get past-run records.
  bool finalResultsRace = false;
};

// Stores JV-Data records in the day files of a data folder, by the rules of
// one writer. A store object serves one read loop: every day file it has
// read is kept in memory (up to a byte limit, least recently used first out)
// instead of being read again for every record, so the store assumes that
// nothing else writes the day files while it lives. Every file is rewritten
// whole through the atomic writer; a failed write throws orvalle::Error and
// leaves the old file as it was. A store is used from one thread.
//
// With WritePolicy::kDeferred the caller must call flush() after its read
// loop: only flush() reports write failures. The destructor makes a last,
// silent attempt to write what is still unwritten and never throws.
class DayFileStore {
 public:
  // Byte limit of the day files kept in memory: about 150 race days.
  static constexpr size_t kDefaultMemoryLimit = size_t{64} << 20;

  DayFileStore(std::filesystem::path dataFolder, WriterRules rules,
               WritePolicy policy = WritePolicy::kEveryRecord,
               size_t memoryLimit = kDefaultMemoryLimit);
  ~DayFileStore();

  DayFileStore(const DayFileStore&) = delete;
  DayFileStore& operator=(const DayFileStore&) = delete;
  DayFileStore(DayFileStore&&) = delete;
  DayFileStore& operator=(DayFileStore&&) = delete;

  // Stores one record (CP932, normally ending in CR LF) into its day file by
  // the writer's filter and steps. Returns what it went to, or nullopt when
  // the writer does not store it: another record kind, a date that is not
  // eight digits, a racecourse without a name for the SE file, a record the
  // writer's filter drops. A record that changes nothing in its file is
  // reported as stored without a rewrite. Throws orvalle::Error when a day
  // file cannot be read or written; the record is then not stored and the
  // files on disk stay as they were.
  [[nodiscard]] std::optional<StoredRecord> store(std::string_view record);

  // Writes every changed day file not yet written, each once, atomically,
  // runner and payout files before race files (a day shows in the list of
  // days only when its RA file is there). Throws orvalle::Error when a file
  // cannot be written, after trying all of them; the files not written stay
  // pending for another flush(). Does nothing with kEveryRecord.
  void flush();

  // True when changed day files wait for flush().
  bool hasUnwrittenChanges() const;

 private:
  struct DayFile {
    std::filesystem::path path;
    RecordKind kind = RecordKind::kRa;
    bool exists = false;   // on disk, or created by this store
    bool pending = false;  // changed in memory, not yet on disk
    std::vector<std::string> lines;
    uint64_t lastUse = 0;

    size_t bytes() const { return lines.size() * (lineLength(kind) + 2); }
  };

  bool passesFilter(RecordKind kind, std::string_view line) const;
  // seFileRacecourseName of a code, kept per code.
  const std::string& racecourseNameOfCode(std::string_view code);
  DayFile& dayFile(const std::string& fileName, std::string_view stem, std::string_view middle,
                   RecordKind kind);
  // Applies the writer's steps for `line` to the file; returns whether the
  // file's lines changed.
  bool apply(DayFile& file, RecordKind kind, std::string line) const;
  void write(DayFile& file);
  void forget(const std::string& fileName);
  void keepWithinMemoryLimit(const std::string& keepFileName);

  std::filesystem::path m_dataFolder;
  WriterRules m_rules;
  WritePolicy m_policy;
  size_t m_memoryLimit;
  size_t m_memoryUsed = 0;
  uint64_t m_clock = 0;
  std::unordered_map<std::string, DayFile> m_files;  // by UTF-8 file name
  std::unordered_map<std::string, std::string> m_racecourseNames;
};

}  // namespace orvalle::store
