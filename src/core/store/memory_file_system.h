#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "store/file_system.h"

namespace orvalle::store {

// A file system in memory, for tests and fuzzing. Paths are taken as
// absolute ("home" is "/home"). It keeps, beside what a program sees, what a
// power loss would leave: a file's data is durable after a sync of the file
// or of the file system; a create, rename, removal or new folder only after a
// sync of its folder (or of the file system). loseUnsyncedWrites() makes the
// power loss happen. Symbolic links are not modelled.
class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();

  FileStatus status(const std::filesystem::path& path) override;
  std::unique_ptr<ReadableFile> openForReading(const std::filesystem::path& path) override;
  std::unique_ptr<WritableFile> createUnique(const std::filesystem::path& folder,
                                             std::string_view prefix, std::uint32_t mode,
                                             std::filesystem::path& created) override;
  void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool remove(const std::filesystem::path& path) override;
  bool createFolder(const std::filesystem::path& path) override;
  std::vector<FolderEntry> list(const std::filesystem::path& folder) override;
  void syncFolder(const std::filesystem::path& folder) override;
  void syncAll(const std::filesystem::path& path) override;
  std::filesystem::path resolveLink(const std::filesystem::path& path) override { return path; }

  // Test conveniences: makes a folder and its parents, or writes a whole
  // file and its folders, durably; sets a file's permission bits.
  void putFolder(const std::filesystem::path& path);
  void putFile(const std::filesystem::path& path, std::string content);
  void setMode(const std::filesystem::path& path, std::uint32_t mode);

  // Every file under `folder` with its content, by path relative to it, and
  // every folder as its path with "/" at the end and no content.
  std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) const;

  // The power loss: every change not yet durable is lost. With seed 0 all of
  // them are lost; any other seed keeps a pseudo-random subset of them (each
  // folder entry its old or new state, each file its durable data, its new
  // data or a part of it). Afterwards everything left is durable.
  void loseUnsyncedWrites(std::uint32_t seed = 0);

 private:
  struct Node {
    bool folder = false;
    std::uint32_t mode = 0644;
    std::string data;
    std::string durableData;
    std::map<std::string, int> entries;
    std::map<std::string, int> durableEntries;
  };
  class File;

  int find(const std::filesystem::path& path) const;
  // The folder that holds `path` and the last name of it; throws FileError.
  std::pair<int, std::string> parentOf(const std::filesystem::path& path) const;
  int newNode(bool folder);
  void collect(int node, const std::string& prefix, std::map<std::string, std::string>& out) const;

  std::map<int, Node> m_nodes;
  int m_nextNode = 1;
  std::uint64_t m_nextName = 0;
};

// A power loss in the middle of a command, thrown by FaultyFileSystem.
class PowerLoss : public FileError {
 public:
  PowerLoss() : FileError("電源が切れました", 5 /* EIO */) {}
};

// Wraps a file system to count and fail its calls: the n-th call of a kind
// fails with a chosen error number, or the n-th sync becomes a power loss
// (PowerLoss is thrown and every later call fails the same way, as for a
// program that is no longer running, until revive()).
class FaultyFileSystem : public FileSystem {
 public:
  enum class Call {
    kStatus,
    kOpen,
    kCreate,
    kAppend,
    kSync,
    kClose,
    kRename,
    kRemove,
    kMkdir,
    kList
  };

  explicit FaultyFileSystem(FileSystem& base) : m_base(base) {}

  // The `nth` call (1-based, counted from now) of `call` fails with `code`.
  void failCall(Call call, int nth, int code);
  // The `nth` sync (of a file, a folder or the file system, counted from
  // now) does not happen: the power goes instead.
  void losePowerAtSync(int nth);
  void revive();
  bool down() const { return m_down; }

  // The syncs done so far (a file, a folder or the whole file system each).
  int syncs() const { return m_syncs; }

  FileStatus status(const std::filesystem::path& path) override;
  std::unique_ptr<ReadableFile> openForReading(const std::filesystem::path& path) override;
  std::unique_ptr<WritableFile> createUnique(const std::filesystem::path& folder,
                                             std::string_view prefix, std::uint32_t mode,
                                             std::filesystem::path& created) override;
  void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool remove(const std::filesystem::path& path) override;
  bool createFolder(const std::filesystem::path& path) override;
  std::vector<FolderEntry> list(const std::filesystem::path& folder) override;
  void syncFolder(const std::filesystem::path& folder) override;
  void syncAll(const std::filesystem::path& path) override;
  std::filesystem::path resolveLink(const std::filesystem::path& path) override;

 private:
  class File;
  // Counts a call and throws when it is the one to fail.
  void enter(Call call, const std::filesystem::path& path);
  void enterSync(const std::filesystem::path& path);

  FileSystem& m_base;
  std::map<Call, int> m_failAfter;  // calls left before the failing one
  std::map<Call, int> m_failCode;
  int m_syncs = 0;
  int m_powerAfter = 0;  // syncs left before the power loss; 0 = none
  bool m_down = false;
};

}  // namespace orvalle::store
