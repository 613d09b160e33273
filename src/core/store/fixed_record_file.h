#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/file_system.h"

namespace orvalle::store {

// A text file read as a file of fixed records: each line of `recordSize - 2`
// bytes plus CR LF. Record n starts at byte n * recordSize and is reached by
// positioning, not by scanning. The file is opened for reading only and
// closed when the object goes.
class FixedRecordFile {
 public:
  // Opens `path`. Returns nullopt when the file does not exist; throws
  // orvalle::Error when it exists but cannot be opened.
  static std::optional<FixedRecordFile> open(const std::filesystem::path& path, size_t recordSize);

  FixedRecordFile(FixedRecordFile&& other) noexcept;
  FixedRecordFile& operator=(FixedRecordFile&& other) noexcept;
  FixedRecordFile(const FixedRecordFile&) = delete;
  FixedRecordFile& operator=(const FixedRecordFile&) = delete;
  ~FixedRecordFile();

  // The number of records; a short last record counts as one.
  size_t count() const { return m_count; }

  size_t recordSize() const { return m_recordSize; }

  // Record `index` (0-based), `recordSize` bytes: a short last record is
  // padded with blanks, an index at or beyond count() gives a record of
  // blanks. Throws orvalle::Error when the file cannot be read.
  std::string read(size_t index) const;

  // Records `first` to `first + count - 1` in one read, as one text of
  // `count * recordSize` bytes: each record as read() gives it (a short last
  // record padded, records at or beyond count() blank). Throws orvalle::Error
  // when the file cannot be read.
  std::string readRange(size_t first, size_t count) const;

 private:
  FixedRecordFile(std::unique_ptr<ReadableFile> file, size_t recordSize);

  std::unique_ptr<ReadableFile> m_file;
  size_t m_recordSize = 0;
  size_t m_fileSize = 0;
  size_t m_count = 0;
};

// The first records of a fixed-record file in file order, at most
// `maxRecords` of them, each `recordSize` bytes as FixedRecordFile::read
// gives them. Day files are read this way (at most 36 races a day). Returns
// nullopt when the file does not exist; throws orvalle::Error when it cannot
// be read.
std::optional<std::vector<std::string>> readFixedRecords(const std::filesystem::path& path,
                                                         size_t recordSize, size_t maxRecords);

}  // namespace orvalle::store
