#include "store/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "store/durable_batch.h"

namespace orvalle::store {
namespace {

FileSystem* g_current = nullptr;

// The path as UTF-8 for a message (on Windows, string() would convert to
// the ANSI code page, which may not hold the name).
std::string pathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::string describeSystemError(int code) {
  switch (code) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "ディスクの空きが足りません";
    case EACCES:
    case EPERM:
      return "アクセスが拒否されました";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case ENOENT:
      return "ファイルまたはフォルダがありません";
    case ENOTDIR:
      return "フォルダではありません";
    case EISDIR:
      return "フォルダです";
    case EIO:
      return "入出力エラーです";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    default:
      return std::strerror(code);
  }
}

void throwFileError(std::string_view what, const std::filesystem::path& path, int code) {
  throw FileError(
      std::string(what) + ": " + pathText(path) + " (" + describeSystemError(code) + ")", code);
}

size_t MemoryReadableFile::readAt(std::uint64_t offset, char* buffer, size_t length) const {
  if (offset >= m_content.size()) return 0;
  const size_t count = std::min<size_t>(length, m_content.size() - offset);
  std::memcpy(buffer, m_content.data() + offset, count);
  return count;
}

FileSystem& fileSystem() { return g_current != nullptr ? *g_current : diskFileSystem(); }

ScopedFileSystem::ScopedFileSystem(FileSystem& fileSystem) : m_previous(g_current) {
  g_current = &fileSystem;
}

ScopedFileSystem::~ScopedFileSystem() { g_current = m_previous; }

bool pathExists(const std::filesystem::path& path) {
  if (const DurableBatch* batch = DurableBatch::active(); batch && batch->staged(path)) return true;
  return fileSystem().status(path).kind != FileKind::kMissing;
}

bool isFolder(const std::filesystem::path& path) {
  return fileSystem().status(path).kind == FileKind::kFolder;
}

std::unique_ptr<ReadableFile> openFile(const std::filesystem::path& path) {
  if (const DurableBatch* batch = DurableBatch::active()) {
    if (const std::string* staged = batch->staged(path)) {
      return std::make_unique<MemoryReadableFile>(*staged);
    }
  }
  return fileSystem().openForReading(path);
}

std::vector<FolderEntry> listFolder(const std::filesystem::path& folder) {
  std::vector<FolderEntry> entries = fileSystem().list(folder);
  if (const DurableBatch* batch = DurableBatch::active()) {
    for (const std::filesystem::path& path : batch->stagedPaths()) {
      if (path.parent_path() != folder) continue;
      std::string name = path.filename().string();
      const bool listed = std::any_of(entries.begin(), entries.end(),
                                      [&](const FolderEntry& entry) { return entry.name == name; });
      if (!listed) entries.push_back({std::move(name), FileKind::kFile, false});
    }
  }
  return entries;
}

}  // namespace orvalle::store
