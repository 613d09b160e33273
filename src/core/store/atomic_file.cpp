#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

namespace orvalle::store {
namespace {

thread_local AtomicWriteFault t_fault = AtomicWriteFault::kNone;

thread_local std::vector<std::filesystem::path>* t_syncedFolders = nullptr;

// Syncs a folder, so that the names created, renamed or removed in it are
// durable. False with errno set when it cannot be opened or synced.
bool syncFolder(const std::filesystem::path& folder) {
  if (t_syncedFolders != nullptr) t_syncedFolders->push_back(folder);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = dir >= 0 && ::fsync(dir) == 0;
  const int error = errno;
  if (dir >= 0) ::close(dir);
  errno = error;
  return synced;
}

bool faultAt(AtomicWriteFault stage) {
  if (t_fault != stage) return false;
  t_fault = AtomicWriteFault::kNone;
  errno = EIO;
  return true;
}

Status failure(const std::filesystem::path& target, int error) {
  return Status::failure("ファイルを書き込めませんでした: " + target.string() + " (" +
                         std::strerror(error) + ")");
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }
  // Closes now and reports the result; the destructor then does nothing.
  bool close() {
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

}  // namespace

void injectAtomicWriteFaultForTesting(AtomicWriteFault fault) { t_fault = fault; }

bool isTemporaryFileName(std::string_view name) {
  if (name.size() < 2 || name.front() != '.') return false;
  const size_t marker = name.rfind(kTemporaryMarker);
  if (marker == std::string_view::npos || marker < 2) return false;
  const std::string_view suffix = name.substr(marker + kTemporaryMarker.size());
  return suffix.size() == 6 && std::all_of(suffix.begin(), suffix.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) != 0;
         });
}

Status writeFileAtomically(const std::filesystem::path& requested, std::string_view content) {
  // A symbolic link stays a link: the file it names is replaced, where it is.
  std::filesystem::path target = requested;
  std::error_code ec;
  if (std::filesystem::is_symlink(requested, ec)) {
    target = std::filesystem::weakly_canonical(requested, ec);
    if (ec) return failure(requested, ec.value());
  }
  // A file the user made read-only is not replaced (a rename would do it,
  // the folder being writable). Write bits count, not access(2), which lets
  // root write anything.
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (old.st_mode & 0222) == 0) {
    return Status::failure("読み取り専用のファイルは書き換えません: " + requested.string());
  }

  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern =
      (folder / ("." + target.filename().string() + std::string(kTemporaryMarker) + "XXXXXX"))
          .string();

  int fd = faultAt(AtomicWriteFault::kOpen) ? -1 : ::mkstemp(pattern.data());
  if (fd < 0) return failure(target, errno);
  Descriptor file(fd);
  const std::string tempPath = pattern;
  auto abandon = [&](int error) {
    ::unlink(tempPath.c_str());
    return failure(target, error);
  };

  // The replacement keeps the old file's permissions; a new file is 0644
  // rather than mkstemp's 0600.
  mode_t mode = exists ? (old.st_mode & 07777) : 0644;
  ::fchmod(file.get(), mode);

  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    if (faultAt(AtomicWriteFault::kWrite)) return abandon(errno);
    ssize_t written = ::write(file.get(), data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return abandon(errno);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  if (faultAt(AtomicWriteFault::kSync) || ::fsync(file.get()) != 0) return abandon(errno);
  if (!file.close()) return abandon(errno);
  if (faultAt(AtomicWriteFault::kRename) || ::rename(tempPath.c_str(), target.c_str()) != 0) {
    return abandon(errno);
  }

  // Make the rename itself durable; until then the old file may come back.
  if (!syncFolder(folder)) {
    return Status::failure("フォルダを同期できませんでした: " + folder.string() + " (" +
                           std::strerror(errno) + ")");
  }
  return Status::success();
}

void createFoldersDurably(const std::filesystem::path& folder) {
  std::error_code ec;
  if (folder.empty() || std::filesystem::is_directory(folder, ec)) return;
  std::filesystem::path parent = folder.parent_path();
  if (parent.empty()) parent = ".";
  if (parent != folder) createFoldersDurably(parent);
  if (!std::filesystem::create_directory(folder, ec) &&
      (ec || !std::filesystem::is_directory(folder, ec))) {
    throw Error("フォルダを作成できませんでした: " + folder.string() + " (" +
                (ec ? ec.message() : std::string("同じ名前のファイルがあります")) + ")");
  }
  syncFolderOrThrow(parent);
}

void syncFolderOrThrow(const std::filesystem::path& folder) {
  if (!syncFolder(folder)) {
    throw Error("フォルダを同期できませんでした: " + folder.string() + " (" + std::strerror(errno) +
                ")");
  }
}

void recordFolderSyncsForTesting(std::vector<std::filesystem::path>* synced) {
  t_syncedFolders = synced;
}

void writeFileAtomicallyOrThrow(const std::filesystem::path& target, std::string_view content) {
  if (Status status = writeFileAtomically(target, content); !status) throw Error(status.message());
}

}  // namespace orvalle::store
