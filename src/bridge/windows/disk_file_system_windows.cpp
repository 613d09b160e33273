#include <windows.h>

#include <atomic>
#include <cerrno>
#include <random>

#include "store/file_system.h"

// The file system of the disk on Windows, for the bridge and the stand-in
// component. Data is flushed when a new file is closed, so a rename that
// follows never puts an empty file in place; renames are written through,
// and NTFS keeps its names in its journal, so the folder and file-system
// syncs have nothing left to do.
namespace orvalle::store {
namespace {

std::atomic<std::uint64_t> g_fileSyncs{0};
std::atomic<std::uint64_t> g_folderSyncs{0};
std::atomic<std::uint64_t> g_fileSystemSyncs{0};

// The error number of a Windows error, for describeSystemError.
int errorNumber(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    default:
      return EIO;
  }
}

[[noreturn]] void fail(std::string_view what, const std::filesystem::path& path) {
  throwFileError(what, path, errorNumber(GetLastError()));
}

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// A name of the folder listing in the program's narrow form, which paths
// are made from.
std::string narrow(const wchar_t* name) { return std::filesystem::path(name).string(); }

class WindowsReadableFile : public ReadableFile {
 public:
  WindowsReadableFile(HANDLE handle, std::filesystem::path path, std::uint64_t size)
      : m_handle(handle), m_path(std::move(path)), m_size(size) {}
  ~WindowsReadableFile() override { CloseHandle(m_handle); }
  WindowsReadableFile(const WindowsReadableFile&) = delete;
  WindowsReadableFile& operator=(const WindowsReadableFile&) = delete;

  std::uint64_t size() const override { return m_size; }

  size_t readAt(std::uint64_t offset, char* buffer, size_t length) const override {
    size_t done = 0;
    while (done < length) {
      OVERLAPPED at{};
      const std::uint64_t position = offset + done;
      at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const DWORD wanted = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(m_handle, buffer + done, wanted, &got, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        fail("ファイルを読み込めませんでした", m_path);
      }
      if (got == 0) break;
      done += got;
    }
    return done;
  }

 private:
  HANDLE m_handle;
  std::filesystem::path m_path;
  std::uint64_t m_size;
};

class WindowsWritableFile : public WritableFile {
 public:
  WindowsWritableFile(HANDLE handle, std::filesystem::path path)
      : m_handle(handle), m_path(std::move(path)) {}
  ~WindowsWritableFile() override {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  }
  WindowsWritableFile(const WindowsWritableFile&) = delete;
  WindowsWritableFile& operator=(const WindowsWritableFile&) = delete;

  void append(std::string_view data) override {
    while (!data.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(m_handle, data.data(), chunk, &written, nullptr)) {
        fail("ファイルを書き込めませんでした", m_path);
      }
      data.remove_prefix(written);
    }
  }

  void sync() override {
    ++g_fileSyncs;
    if (!FlushFileBuffers(m_handle)) fail("ファイルを書き込めませんでした", m_path);
    m_synced = true;
  }

  void close() override {
    if (!m_synced) sync();
    const HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) fail("ファイルを書き込めませんでした", m_path);
  }

 private:
  HANDLE m_handle;
  std::filesystem::path m_path;
  bool m_synced = false;
};

class WindowsFileSystem : public FileSystem {
 public:
  FileStatus status(const std::filesystem::path& path) override {
    FileStatus result;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
      if (missing(GetLastError())) return result;
      fail("ファイルを調べられませんでした", path);
    }
    const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    result.kind = folder ? FileKind::kFolder : FileKind::kFile;
    result.mode = folder ? 0755 : readOnly ? 0444 : 0644;
    result.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return result;
  }

  std::unique_ptr<ReadableFile> openForReading(const std::filesystem::path& path) override {
    const FileStatus found = status(path);
    if (found.kind == FileKind::kMissing) return nullptr;
    if (found.kind == FileKind::kFolder)
      throwFileError("ファイルを読み込めませんでした", path, EISDIR);
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (missing(GetLastError())) return nullptr;
      fail("ファイルを読み込めませんでした", path);
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(handle, &size);
    return std::make_unique<WindowsReadableFile>(handle, path,
                                                 static_cast<std::uint64_t>(size.QuadPart));
  }

  std::unique_ptr<WritableFile> createUnique(const std::filesystem::path& folder,
                                             std::string_view prefix, std::uint32_t /*mode*/,
                                             std::filesystem::path& created) override {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::minstd_rand random(GetTickCount() ^ GetCurrentProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name(prefix);
      for (int i = 0; i < 6; ++i) name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
      const std::filesystem::path path = folder / name;
      const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle != INVALID_HANDLE_VALUE) {
        created = path;
        return std::make_unique<WindowsWritableFile>(handle, path);
      }
      if (GetLastError() != ERROR_FILE_EXISTS) fail("ファイルを書き込めませんでした", path);
    }
    throwFileError("ファイルを書き込めませんでした", folder / std::string(prefix), EEXIST);
  }

  void rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (!MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      fail("ファイルを書き込めませんでした", to);
    }
  }

  bool remove(const std::filesystem::path& path) override {
    if (DeleteFileW(path.c_str())) return true;
    if (missing(GetLastError())) return false;
    fail("ファイルを削除できませんでした", path);
  }

  bool createFolder(const std::filesystem::path& path) override {
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
    fail("フォルダを作成できませんでした", path);
  }

  std::vector<FolderEntry> list(const std::filesystem::path& folder) override {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (missing(error) || error == ERROR_DIRECTORY) return entries;
      fail("フォルダを読み込めませんでした", folder);
    }
    do {
      const std::wstring_view name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      entries.push_back(
          {narrow(found.cFileName), isFolder ? FileKind::kFolder : FileKind::kFile, false});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
  }

  void syncFolder(const std::filesystem::path& /*folder*/) override { ++g_folderSyncs; }

  void syncAll(const std::filesystem::path& /*path*/) override { ++g_fileSystemSyncs; }

  std::filesystem::path resolveLink(const std::filesystem::path& path) override { return path; }
};

}  // namespace

FileSystem& diskFileSystem() {
  static WindowsFileSystem disk;
  return disk;
}

SyncCounts diskSyncCounts() { return {g_fileSyncs, g_folderSyncs, g_fileSystemSyncs}; }

}  // namespace orvalle::store
