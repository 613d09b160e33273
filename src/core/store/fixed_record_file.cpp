#include "store/fixed_record_file.h"

#include <algorithm>

#include "store/file_system.h"

namespace orvalle::store {

std::optional<FixedRecordFile> FixedRecordFile::open(const std::filesystem::path& path,
                                                     size_t recordSize) {
  std::unique_ptr<ReadableFile> file = openFile(path);
  if (!file) return std::nullopt;
  return FixedRecordFile(std::move(file), recordSize == 0 ? 1 : recordSize);
}

FixedRecordFile::FixedRecordFile(std::unique_ptr<ReadableFile> file, size_t recordSize)
    : m_file(std::move(file)),
      m_recordSize(recordSize),
      m_fileSize(static_cast<size_t>(m_file->size())),
      m_count((m_fileSize + recordSize - 1) / recordSize) {}

FixedRecordFile::FixedRecordFile(FixedRecordFile&&) noexcept = default;
FixedRecordFile& FixedRecordFile::operator=(FixedRecordFile&&) noexcept = default;
FixedRecordFile::~FixedRecordFile() = default;

std::string FixedRecordFile::read(size_t index) const { return readRange(index, 1); }

std::string FixedRecordFile::readRange(size_t first, size_t count) const {
  std::string records(count * m_recordSize, ' ');
  if (first >= m_count || count == 0) return records;
  size_t offset = first * m_recordSize;
  size_t wanted = std::min(records.size(), m_fileSize - offset);
  // A file that shrank meanwhile leaves the rest blank.
  m_file->readAt(offset, records.data(), wanted);
  return records;
}

std::optional<std::vector<std::string>> readFixedRecords(const std::filesystem::path& path,
                                                         size_t recordSize, size_t maxRecords) {
  std::optional<FixedRecordFile> file = FixedRecordFile::open(path, recordSize);
  if (!file) return std::nullopt;
  std::vector<std::string> records;
  const size_t count = std::min(file->count(), maxRecords);
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) records.push_back(file->read(i));
  return records;
}

}  // namespace orvalle::store
