#include "app/home_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/file_system.h"

namespace orvalle::app {
namespace {

constexpr std::chrono::milliseconds kDefaultWait{5000};
constexpr std::chrono::milliseconds kQuickChangeWait{2000};
constexpr std::chrono::milliseconds kPoll{50};

[[noreturn]] void failOn(const std::filesystem::path& path, const char* what, int error) {
  throw Error("ロックファイルを" + std::string(what) + "できません: " + path.string() + " (" +
              std::strerror(error) + ")");
}

}  // namespace

std::string homeBusyMessage(const std::filesystem::path& root) {
  return "ホームフォルダはほかのOrvalleが使用中です。終わってからもう一度実行してください: " +
         root.string();
}

std::chrono::milliseconds lockWait(const Home::Environment& environment) {
  const std::optional<std::string> text = environment("ORVALLE_LOCK_WAIT");
  if (!text || text->empty()) return kDefaultWait;
  double seconds = -1;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
  if (error != std::errc() || end != text->data() + text->size() || seconds < 0 || seconds > 3600) {
    return kDefaultWait;
  }
  return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

std::chrono::milliseconds quickChangeWait(const Home::Environment& environment) {
  return std::min(lockWait(environment), kQuickChangeWait);
}

HomeLock::HomeLock(const Home& home, HomeAccess access, const Waiting& waiting,
                   std::chrono::milliseconds wait)
    : m_writer(access == HomeAccess::kWrite) {
  std::error_code ec;
  if (m_writer) {
    home.ensureRoot();
  } else if (!std::filesystem::is_directory(home.root(), ec)) {
    return;  // nothing to read, nothing to protect
  }
  // The lock is held on the home folder itself, so a reader creates nothing.
  m_folder = ::open(home.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_folder < 0) {
    if (!m_writer && errno == EACCES) return;  // a folder we cannot open we cannot change either
    failOn(home.root(), "開く", errno);
  }
  const int operation = (m_writer ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  bool told = false;
  while (::flock(m_folder, operation) != 0) {
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK) {
      release();
      failOn(home.root(), "ロック", error);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      release();
      throw Error(homeBusyMessage(home.root()));
    }
    if (!told && waiting) waiting();
    told = true;
    std::this_thread::sleep_for(kPoll);
  }
  if (!m_writer) return;

  // A mark left in the lock file is a writer that never reached its end.
  const std::filesystem::path path = home.root() / kLockFileName;
  m_mark = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  struct stat status {};
  if (m_mark < 0 || ::fstat(m_mark, &status) != 0) {
    const int error = errno;
    release();
    failOn(path, "開く", error);
  }
  if (status.st_size > 0) m_removed = removeTemporaryFiles(home.root());
  const std::string mark = std::to_string(::getpid()) + "\n";
  if (::ftruncate(m_mark, 0) != 0 ||
      ::pwrite(m_mark, mark.data(), mark.size(), 0) != static_cast<ssize_t>(mark.size()) ||
      ::fdatasync(m_mark) != 0) {
    const int error = errno;
    release();
    failOn(path, "書き込み", error);
  }
}

HomeLock::~HomeLock() {
  // The writer ended: its mark goes (not synced: a mark that survives a
  // crash only costs the next writer a look for temporary files).
  if (m_mark >= 0) (void)::ftruncate(m_mark, 0);
  release();
}

void HomeLock::release() {
  if (m_mark >= 0) ::close(m_mark);
  if (m_folder >= 0) ::close(m_folder);
  m_mark = -1;
  m_folder = -1;
}

int removeTemporaryFiles(const std::filesystem::path& root) {
  int removed = 0;
  store::FileSystem& files = store::fileSystem();
  std::vector<store::FolderEntry> entries;
  try {
    entries = files.list(root);
  } catch (const Error&) {
    return 0;  // a folder that cannot be read is passed over
  }
  for (const store::FolderEntry& entry : entries) {
    const std::filesystem::path path = root / entry.name;
    if (entry.symlink) continue;
    if (entry.kind == store::FileKind::kFolder) {
      removed += removeTemporaryFiles(path);
    } else if (entry.kind == store::FileKind::kFile && store::isTemporaryFileName(entry.name)) {
      try {
        if (files.remove(path)) ++removed;
      } catch (const Error&) {
        // Left for the next writer.
      }
    }
  }
  return removed;
}

}  // namespace orvalle::app
