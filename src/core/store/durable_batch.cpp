#include "store/durable_batch.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>
#include <string_view>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/file_system.h"

namespace orvalle::store {
namespace {

thread_local DurableBatch* t_active = nullptr;

std::filesystem::path keyOf(const std::filesystem::path& path) { return path.lexically_normal(); }

// True when the file at `target` (of `size` bytes) holds exactly `content`.
bool holds(FileSystem& files, const std::filesystem::path& target, std::uint64_t size,
           const std::string& content) {
  if (size != content.size()) return false;
  std::unique_ptr<ReadableFile> file = files.openForReading(target);
  if (!file) return false;
  std::string old(content.size(), '\0');
  return file->readAt(0, old.data(), old.size()) == old.size() && old == content;
}

[[noreturn]] void rethrowFor(const std::filesystem::path& target, const FileError& error) {
  throwFileError("ファイルを書き込めませんでした", target, error.code());
}

}  // namespace

DurableBatch::DurableBatch() : m_outer(t_active) {
  if (m_outer == nullptr) t_active = this;
}

DurableBatch::~DurableBatch() { end(); }

void DurableBatch::end() {
  if (m_outer == nullptr && t_active == this) t_active = nullptr;
}

DurableBatch* DurableBatch::active() { return t_active; }

void DurableBatch::stage(const std::filesystem::path& target, std::string content) {
  if (m_outer != nullptr) {
    m_outer->stage(target, std::move(content));
    return;
  }
  std::filesystem::path key = keyOf(target);
  auto [found, added] = m_index.try_emplace(key.native(), m_staged.size());
  if (!added) {
    m_staged[found->second].content = std::move(content);
    return;
  }
  m_staged.push_back({std::move(key), std::move(content)});
}

const std::string* DurableBatch::staged(const std::filesystem::path& path) const {
  if (m_outer != nullptr) return m_outer->staged(path);
  if (m_staged.empty()) return nullptr;
  auto found = m_index.find(keyOf(path).native());
  return found == m_index.end() ? nullptr : &m_staged[found->second].content;
}

std::vector<std::filesystem::path> DurableBatch::stagedPaths() const {
  if (m_outer != nullptr) return m_outer->stagedPaths();
  std::vector<std::filesystem::path> paths;
  for (const Staged& staged : m_staged) paths.push_back(staged.target);
  return paths;
}

void DurableBatch::commit() {
  if (m_outer != nullptr) return;
  end();
  std::vector<Staged> staged = std::move(m_staged);
  m_staged.clear();
  m_index.clear();
  FileSystem& files = fileSystem();

  struct Pending {
    std::filesystem::path requested;
    std::filesystem::path target;  // where a link leads
    std::filesystem::path folder;
    const std::string* content;
    std::uint32_t mode;
    std::filesystem::path temporary;
  };
  std::vector<Pending> pending;

  // Every target is checked before anything is written.
  for (const Staged& item : staged) {
    std::filesystem::path target = files.resolveLink(item.target);
    const FileStatus status = files.status(target);
    if (status.kind == FileKind::kFolder || status.kind == FileKind::kOther) {
      throwFileError("ファイルを書き込めませんでした", item.target, EISDIR);
    }
    const bool exists = status.kind == FileKind::kFile;
    // A file the user made read-only is not replaced (a rename would do it,
    // the folder being writable). Write bits count, not access(2), which
    // lets root write anything.
    if (exists && (status.mode & 0222) == 0) {
      throw Error("読み取り専用のファイルは書き換えません: " + item.target.string());
    }
    if (exists && holds(files, target, status.size, item.content)) continue;
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    pending.push_back({item.target,
                       std::move(target),
                       std::move(folder),
                       &item.content,
                       exists ? status.mode : 0644u,
                       {}});
  }
  if (pending.empty()) return;

  // The new contents, each in a temporary file beside its target.
  auto abandon = [&] {
    for (const Pending& item : pending) {
      if (item.temporary.empty()) continue;
      try {
        files.remove(item.temporary);
      } catch (const Error&) {
        // The next writer of the home removes what is left.
      }
    }
  };
  const bool single = pending.size() == 1;
  try {
    for (Pending& item : pending) {
      const std::string prefix =
          "." + item.target.filename().string() + std::string(kTemporaryMarker);
      std::unique_ptr<WritableFile> file;
      try {
        if (atomicWriteFaultFires(AtomicWriteFault::kOpen)) {
          throwFileError("ファイルを書き込めませんでした", item.target, EIO);
        }
        file = files.createUnique(item.folder, prefix, item.mode, item.temporary);
        if (atomicWriteFaultFires(AtomicWriteFault::kWrite)) {
          throwFileError("ファイルを書き込めませんでした", item.target, EIO);
        }
        file->append(*item.content);
        if (single) {
          if (atomicWriteFaultFires(AtomicWriteFault::kSync)) {
            throwFileError("ファイルを書き込めませんでした", item.target, EIO);
          }
          file->sync();
        }
        file->close();
      } catch (const FileError& error) {
        rethrowFor(item.target, error);
      }
    }
    // One flush for all of them, per file system they are on.
    if (!single) {
      if (atomicWriteFaultFires(AtomicWriteFault::kSync)) {
        throwFileError("ファイルを書き込めませんでした", pending.front().target, EIO);
      }
      std::set<std::uint64_t> devices;
      std::set<std::filesystem::path> folders;
      for (const Pending& item : pending) {
        if (!folders.insert(item.folder).second) continue;
        try {
          if (devices.insert(files.status(item.folder).device).second) files.syncAll(item.folder);
        } catch (const FileError& error) {
          rethrowFor(item.target, error);
        }
      }
    }
    for (Pending& item : pending) {
      try {
        if (atomicWriteFaultFires(AtomicWriteFault::kRename)) {
          throwFileError("ファイルを書き込めませんでした", item.target, EIO);
        }
        files.rename(item.temporary, item.target);
        item.temporary.clear();
        ++m_filesWritten;
      } catch (const FileError& error) {
        rethrowFor(item.target, error);
      }
    }
  } catch (...) {
    abandon();
    throw;
  }

  // The renames made durable; until then an old file may come back.
  std::vector<std::filesystem::path> folders;
  for (const Pending& item : pending) {
    if (std::find(folders.begin(), folders.end(), item.folder) == folders.end()) {
      folders.push_back(item.folder);
    }
  }
  // Several folders (a day's past-run files are spread over the folders of
  // their birth years): one sync of the file system does them all at once.
  if (folders.size() <= 2) {
    for (const std::filesystem::path& folder : folders) syncFolderOrThrow(folder);
  } else {
    std::set<std::uint64_t> devices;
    for (const std::filesystem::path& folder : folders) {
      if (devices.insert(files.status(folder).device).second) files.syncAll(folder);
    }
  }
}

}  // namespace orvalle::store
