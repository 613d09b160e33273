#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/error.h"

namespace orvalle::store {

// Every file access of the program goes through a FileSystem: the real one
// (POSIX calls on the disk) in the programs, an in-memory one in tests and
// fuzzing, and one that fails a chosen call or loses what was not synced, to
// test that the home survives faults and power losses.
//
// Failures throw FileError, whose message names the file and the cause in
// the user's words (describeSystemError).

// A failure of a file operation, with the system's error number.
class FileError : public Error {
 public:
  FileError(const std::string& message, int code) : Error(message), m_code(code) {}
  int code() const { return m_code; }

 private:
  int m_code;
};

// The cause of a failed file operation as the user reads it: disk full,
// permission denied and the other common causes in Japanese, others as the
// system says them.
std::string describeSystemError(int code);

// "<what>: <path> (<cause>)", thrown as FileError.
[[noreturn]] void throwFileError(std::string_view what, const std::filesystem::path& path,
                                 int code);

enum class FileKind { kMissing, kFile, kFolder, kOther };

struct FileStatus {
  FileKind kind = FileKind::kMissing;
  bool symlink = false;      // the name itself is a symbolic link
  std::uint32_t mode = 0;    // permission bits of what the name leads to
  std::uint64_t size = 0;    // of a file
  std::uint64_t device = 0;  // the file system that holds it
};

struct FolderEntry {
  std::string name;
  FileKind kind = FileKind::kMissing;  // of the name itself (links not followed)
  bool symlink = false;
};

// A file open for reading at any position.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual std::uint64_t size() const = 0;
  // Reads up to `length` bytes at `offset` into `buffer`; fewer only at the
  // end of the file. Throws FileError.
  virtual size_t readAt(std::uint64_t offset, char* buffer, size_t length) const = 0;
};

// A new file being written; it exists under its name from creation on.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual void append(std::string_view data) = 0;
  // Makes the data written so far durable.
  virtual void sync() = 0;
  // Closes the file; further calls are errors. The destructor closes an
  // open file without reporting.
  virtual void close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // What `path` is; kMissing when it does not exist. Links are followed
  // (FileStatus::symlink tells that the name was one). Throws FileError when
  // it cannot be told (a folder on the way that cannot be searched).
  virtual FileStatus status(const std::filesystem::path& path) = 0;

  // Opens a file for reading; nullptr when it does not exist. Throws
  // FileError when it exists but cannot be opened, or is a folder.
  virtual std::unique_ptr<ReadableFile> openForReading(const std::filesystem::path& path) = 0;

  // Creates a new file under a fresh name in `folder`, made of `prefix` and
  // six letters or digits, with permissions `mode`. Returns its path in
  // `created`.
  virtual std::unique_ptr<WritableFile> createUnique(const std::filesystem::path& folder,
                                                     std::string_view prefix, std::uint32_t mode,
                                                     std::filesystem::path& created) = 0;

  // Replaces `to` by `from` in one step.
  virtual void rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

  // Removes a file; false when there was none.
  virtual bool remove(const std::filesystem::path& path) = 0;

  // Creates a folder; false when the name already exists (whatever it is).
  virtual bool createFolder(const std::filesystem::path& path) = 0;

  // The entries of a folder (without "." and ".."), in no given order.
  // Throws FileError when the folder cannot be read; a missing folder has
  // no entries.
  virtual std::vector<FolderEntry> list(const std::filesystem::path& folder) = 0;

  // Makes the names created, renamed or removed in `folder` durable.
  virtual void syncFolder(const std::filesystem::path& folder) = 0;

  // Makes everything written to the file system that holds `path` durable,
  // data and names, in one call.
  virtual void syncAll(const std::filesystem::path& path) = 0;

  // The path a symbolic link leads to, made absolute; other paths as given.
  virtual std::filesystem::path resolveLink(const std::filesystem::path& path) = 0;
};

// The file system the program uses: the real one unless a test installed
// another.
FileSystem& fileSystem();

// The real file system (POSIX).
FileSystem& diskFileSystem();

// Counts of the calls that make data durable, for benchmarks and tests.
struct SyncCounts {
  std::uint64_t fileSyncs = 0;
  std::uint64_t folderSyncs = 0;
  std::uint64_t fileSystemSyncs = 0;
  std::uint64_t total() const { return fileSyncs + folderSyncs + fileSystemSyncs; }
};
SyncCounts diskSyncCounts();

// Installs a file system for the whole process while it lives (tests and
// fuzzing); the one before comes back on destruction. Not for use while
// other threads access files.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& fileSystem);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* m_previous;
};

// Helpers over fileSystem() that see the writes staged in the thread's
// DurableBatch as if they were done.

// True when `path` names something (a dangling link counts as missing).
// Throws FileError when that cannot be told.
bool pathExists(const std::filesystem::path& path);
bool isFolder(const std::filesystem::path& path);

// Opens a file for reading (a staged write gives its staged content);
// nullptr when it does not exist. Throws FileError.
std::unique_ptr<ReadableFile> openFile(const std::filesystem::path& path);

// The entries of a folder, staged new files included.
std::vector<FolderEntry> listFolder(const std::filesystem::path& folder);

// A file held in memory, read through the ReadableFile interface.
class MemoryReadableFile : public ReadableFile {
 public:
  explicit MemoryReadableFile(std::string content) : m_content(std::move(content)) {}
  std::uint64_t size() const override { return m_content.size(); }
  size_t readAt(std::uint64_t offset, char* buffer, size_t length) const override;

 private:
  std::string m_content;
};

}  // namespace orvalle::store
