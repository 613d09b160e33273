#include "store/fixed_record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/error.h"

namespace orvalle::store {
namespace {

[[noreturn]] void throwReadError(const std::filesystem::path& path, int error) {
  throw Error("ファイルを読み込めませんでした: " + path.string() + " (" + std::strerror(error) +
              ")");
}

}  // namespace

std::optional<FixedRecordFile> FixedRecordFile::open(const std::filesystem::path& path,
                                                     size_t recordSize) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throwReadError(path, errno);
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    int error = errno != 0 ? errno : EISDIR;
    ::close(fd);
    throwReadError(path, S_ISDIR(info.st_mode) ? EISDIR : error);
  }
  return FixedRecordFile(fd, path, recordSize == 0 ? 1 : recordSize,
                         static_cast<size_t>(info.st_size));
}

FixedRecordFile::FixedRecordFile(int fd, std::filesystem::path path, size_t recordSize,
                                 size_t fileSize)
    : m_fd(fd),
      m_path(std::move(path)),
      m_recordSize(recordSize),
      m_fileSize(fileSize),
      m_count((fileSize + recordSize - 1) / recordSize) {}

FixedRecordFile::FixedRecordFile(FixedRecordFile&& other) noexcept
    : m_fd(other.m_fd),
      m_path(std::move(other.m_path)),
      m_recordSize(other.m_recordSize),
      m_fileSize(other.m_fileSize),
      m_count(other.m_count) {
  other.m_fd = -1;
}

FixedRecordFile& FixedRecordFile::operator=(FixedRecordFile&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = other.m_fd;
    m_path = std::move(other.m_path);
    m_recordSize = other.m_recordSize;
    m_fileSize = other.m_fileSize;
    m_count = other.m_count;
    other.m_fd = -1;
  }
  return *this;
}

FixedRecordFile::~FixedRecordFile() {
  if (m_fd >= 0) ::close(m_fd);
}

std::string FixedRecordFile::read(size_t index) const {
  std::string record(m_recordSize, ' ');
  if (index >= m_count) return record;
  size_t offset = index * m_recordSize;
  size_t wanted = std::min(m_recordSize, m_fileSize - offset);
  size_t done = 0;
  while (done < wanted) {
    ssize_t got =
        ::pread(m_fd, record.data() + done, wanted - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      throwReadError(m_path, errno);
    }
    if (got == 0) break;  // the file shrank meanwhile: the rest stays blank
    done += static_cast<size_t>(got);
  }
  return record;
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
