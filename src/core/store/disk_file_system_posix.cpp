#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "store/file_system.h"

// The file system of the disk on POSIX systems.
namespace orvalle::store {
namespace {

std::atomic<std::uint64_t> g_fileSyncs{0};
std::atomic<std::uint64_t> g_folderSyncs{0};
std::atomic<std::uint64_t> g_fileSystemSyncs{0};

FileKind kindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kFile;
  if (S_ISDIR(mode)) return FileKind::kFolder;
  return FileKind::kOther;
}

class DiskReadableFile : public ReadableFile {
 public:
  DiskReadableFile(int fd, std::filesystem::path path, std::uint64_t size)
      : m_fd(fd), m_path(std::move(path)), m_size(size) {}
  ~DiskReadableFile() override { ::close(m_fd); }
  DiskReadableFile(const DiskReadableFile&) = delete;
  DiskReadableFile& operator=(const DiskReadableFile&) = delete;

  std::uint64_t size() const override { return m_size; }

  size_t readAt(std::uint64_t offset, char* buffer, size_t length) const override {
    size_t done = 0;
    while (done < length) {
      const ssize_t got =
          ::pread(m_fd, buffer + done, length - done, static_cast<off_t>(offset + done));
      if (got < 0) {
        if (errno == EINTR) continue;
        throwFileError("ファイルを読み込めませんでした", m_path, errno);
      }
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return done;
  }

 private:
  int m_fd;
  std::filesystem::path m_path;
  std::uint64_t m_size;
};

class DiskWritableFile : public WritableFile {
 public:
  DiskWritableFile(int fd, std::filesystem::path path) : m_fd(fd), m_path(std::move(path)) {}
  ~DiskWritableFile() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  DiskWritableFile(const DiskWritableFile&) = delete;
  DiskWritableFile& operator=(const DiskWritableFile&) = delete;

  void append(std::string_view data) override {
    while (!data.empty()) {
      const ssize_t written = ::write(m_fd, data.data(), data.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        throwFileError("ファイルを書き込めませんでした", m_path, errno);
      }
      data.remove_prefix(static_cast<size_t>(written));
    }
  }

  void sync() override {
    ++g_fileSyncs;
    if (::fsync(m_fd) != 0) throwFileError("ファイルを書き込めませんでした", m_path, errno);
  }

  void close() override {
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) throwFileError("ファイルを書き込めませんでした", m_path, errno);
  }

 private:
  int m_fd;
  std::filesystem::path m_path;
};

class DiskFileSystem : public FileSystem {
 public:
  FileStatus status(const std::filesystem::path& path) override {
    FileStatus result;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno == ENOENT || errno == ENOTDIR) return result;
      throwFileError("ファイルを調べられませんでした", path, errno);
    }
    if (S_ISLNK(info.st_mode)) {
      result.symlink = true;
      if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) return result;
        throwFileError("ファイルを調べられませんでした", path, errno);
      }
    }
    result.kind = kindOfMode(info.st_mode);
    result.mode = info.st_mode & 07777;
    result.size = static_cast<std::uint64_t>(info.st_size);
    result.device = static_cast<std::uint64_t>(info.st_dev);
    return result;
  }

  std::unique_ptr<ReadableFile> openForReading(const std::filesystem::path& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT || errno == ENOTDIR) return nullptr;
      throwFileError("ファイルを読み込めませんでした", path, errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      const int error = S_ISDIR(info.st_mode) ? EISDIR : (errno != 0 ? errno : EINVAL);
      ::close(fd);
      throwFileError("ファイルを読み込めませんでした", path, error);
    }
    return std::make_unique<DiskReadableFile>(fd, path, static_cast<std::uint64_t>(info.st_size));
  }

  std::unique_ptr<WritableFile> createUnique(const std::filesystem::path& folder,
                                             std::string_view prefix, std::uint32_t mode,
                                             std::filesystem::path& created) override {
    std::string pattern = (folder / (std::string(prefix) + "XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
      throwFileError("ファイルを書き込めませんでした", folder / std::string(prefix), errno);
    }
    ::fchmod(fd, static_cast<mode_t>(mode));
    created = pattern;
    return std::make_unique<DiskWritableFile>(fd, created);
  }

  void rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) {
      throwFileError("ファイルを書き込めませんでした", to, errno);
    }
  }

  bool remove(const std::filesystem::path& path) override {
    if (::unlink(path.c_str()) == 0) return true;
    if (errno == ENOENT) return false;
    throwFileError("ファイルを削除できませんでした", path, errno);
  }

  bool createFolder(const std::filesystem::path& path) override {
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    if (errno == EEXIST) return false;
    throwFileError("フォルダを作成できませんでした", path, errno);
  }

  std::vector<FolderEntry> list(const std::filesystem::path& folder) override {
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
      if (errno == ENOENT || errno == ENOTDIR) return entries;
      throwFileError("フォルダを読み込めませんでした", folder, errno);
    }
    while (const dirent* entry = ::readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      FolderEntry item{std::string(name), FileKind::kOther, false};
      struct stat info {};
      if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        item.symlink = S_ISLNK(info.st_mode);
        item.kind = item.symlink ? FileKind::kOther : kindOfMode(info.st_mode);
      }
      entries.push_back(std::move(item));
    }
    ::closedir(dir);
    return entries;
  }

  void syncFolder(const std::filesystem::path& folder) override {
    ++g_folderSyncs;
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = dir >= 0 && ::fsync(dir) == 0;
    const int error = errno;
    if (dir >= 0) ::close(dir);
    if (!synced) throwFileError("フォルダを同期できませんでした", folder, error);
  }

  void syncAll(const std::filesystem::path& path) override {
    ++g_fileSystemSyncs;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    if (!synced) throwFileError("ディスクに書き込めませんでした", path, error);
  }

  std::filesystem::path resolveLink(const std::filesystem::path& path) override {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    if (ec) throwFileError("ファイルを調べられませんでした", path, ec.value());
    return target;
  }
};

}  // namespace

FileSystem& diskFileSystem() {
  static DiskFileSystem disk;
  return disk;
}

SyncCounts diskSyncCounts() { return {g_fileSyncs, g_folderSyncs, g_fileSystemSyncs}; }

}  // namespace orvalle::store
