#include "store/atomic_file.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "store/durable_batch.h"
#include "store/file_system.h"

namespace orvalle::store {
namespace {

thread_local AtomicWriteFault t_fault = AtomicWriteFault::kNone;

thread_local std::vector<std::filesystem::path>* t_syncedFolders = nullptr;

}  // namespace

void injectAtomicWriteFaultForTesting(AtomicWriteFault fault) { t_fault = fault; }

bool atomicWriteFaultFires(AtomicWriteFault stage) {
  if (t_fault != stage) return false;
  t_fault = AtomicWriteFault::kNone;
  return true;
}

bool isTemporaryFileName(std::string_view name) {
  if (name.size() < 2 || name.front() != '.') return false;
  const size_t marker = name.rfind(kTemporaryMarker);
  if (marker == std::string_view::npos || marker < 2) return false;
  const std::string_view suffix = name.substr(marker + kTemporaryMarker.size());
  return suffix.size() == 6 && std::all_of(suffix.begin(), suffix.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) != 0;
         });
}

Status writeFileAtomically(const std::filesystem::path& target, std::string_view content) {
  if (DurableBatch* batch = DurableBatch::active()) {
    batch->stage(target, std::string(content));
    return Status::success();
  }
  try {
    DurableBatch batch;
    batch.stage(target, std::string(content));
    batch.commit();
  } catch (const Error& error) {
    return Status::failure(error.what());
  }
  return Status::success();
}

namespace {

void createMissingFolders(const std::filesystem::path& folder) {
  FileSystem& files = fileSystem();
  if (folder.empty() || files.status(folder).kind == FileKind::kFolder) return;
  std::filesystem::path parent = folder.parent_path();
  if (parent.empty()) parent = ".";
  if (parent != folder) createMissingFolders(parent);
  try {
    if (!files.createFolder(folder) && files.status(folder).kind != FileKind::kFolder) {
      throw Error("フォルダを作成できませんでした: " + folder.string() +
                  " (同じ名前のファイルがあります)");
    }
  } catch (const FileError& error) {
    throwFileError("フォルダを作成できませんでした", folder, error.code());
  }
  syncFolderOrThrow(parent);
}

}  // namespace

void createFoldersDurably(const std::filesystem::path& folder) {
  // The folder written into is not a link to another place: what the
  // program files under the home stays in the home.
  if (!folder.empty() && fileSystem().status(folder).symlink) {
    throw Error("シンボリックリンクのフォルダには書き込みません: " + folder.string());
  }
  createMissingFolders(folder);
}

void syncFolderOrThrow(const std::filesystem::path& folder) {
  if (t_syncedFolders != nullptr) t_syncedFolders->push_back(folder);
  fileSystem().syncFolder(folder);
}

void recordFolderSyncsForTesting(std::vector<std::filesystem::path>* synced) {
  t_syncedFolders = synced;
}

void writeFileAtomicallyOrThrow(const std::filesystem::path& target, std::string_view content) {
  if (Status status = writeFileAtomically(target, content); !status) throw Error(status.message());
}

}  // namespace orvalle::store
