#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "app/home.h"

namespace orvalle::app {

// What a command does with the home: reads it only, or writes it.
enum class HomeAccess { kRead, kWrite };

// The file in which a writer marks that it is running, "orvalle.lock" in the
// home folder.
inline constexpr std::string_view kLockFileName = "orvalle.lock";

// Said once when a command has to wait for another program's lock.
inline constexpr std::string_view kHomeBusyWaitingMessage =
    "ほかのOrvalleがホームフォルダを使用中です。終わるのを待っています...";

// The message of a command that could not get the lock in time.
std::string homeBusyMessage(const std::filesystem::path& root);

// How long a command waits for another program's lock: $ORVALLE_LOCK_WAIT
// seconds (a decimal number from 0 to 3600) when set, else 5 seconds.
std::chrono::milliseconds lockWait(const Home::Environment& environment = Home::processEnvironment);

// How long the desktop program waits for the home before a small change it
// makes outside a command (an option, a folder, a dialog's value): lockWait(),
// at most 2 seconds, so that its window never stands still for long.
std::chrono::milliseconds quickChangeWait(
    const Home::Environment& environment = Home::processEnvironment);

// One program's hold on a home, across processes: an exclusive lock on the
// home folder for a command that writes, a shared one for a command that
// only reads, held until the object is destroyed. Several readers hold
// the home at once; a writer holds it alone. A command takes it before its
// first read of the home and keeps it to its end (the desktop program takes
// it per command, never for its whole session).
//
// A writer marks the lock file while it holds the home and clears the mark
// when it ends; a writer that finds the mark set knows the one before it was
// killed, and removes the temporary files that one left behind
// (store::isTemporaryFileName) before it writes anything.
//
// The locks are flock(2) locks of the open folder: a process must not take
// a second lock of the same home while it holds one.
class HomeLock {
 public:
  // Called once when the lock is held by another program and the command
  // starts to wait.
  using Waiting = std::function<void()>;

  // Takes the lock, waiting up to `wait` while another program holds it.
  // A writer creates the home folder when it does not exist; a reader
  // creates nothing, and reads a home that does not exist (or that it may
  // not open) without a lock. Throws orvalle::Error with homeBusyMessage
  // when the wait ends without the lock, and naming the folder or the lock
  // file when it cannot be opened, locked or marked.
  HomeLock(const Home& home, HomeAccess access, const Waiting& waiting = {},
           std::chrono::milliseconds wait = lockWait());
  ~HomeLock();

  HomeLock(const HomeLock&) = delete;
  HomeLock& operator=(const HomeLock&) = delete;

  // The temporary files of a killed writer removed when the lock was taken.
  int removedTemporaries() const { return m_removed; }

 private:
  void release();

  int m_folder = -1;  // the home folder, locked
  int m_mark = -1;    // the lock file of a writer, marked while it runs
  bool m_writer = false;
  int m_removed = 0;
};

// Makes one change of the home outside a command: runs `change` while this
// program holds the home alone (HomeLock, kWrite), so that what it reads and
// writes back (the settings file is read and rewritten whole) meets no other
// writer, and returns what `change` returns. Throws orvalle::Error with
// homeBusyMessage when the lock is not had within `wait`; `change` then does
// not run. Not for code that already holds a lock of the home (a command, the
// CLI): the lock is not reentrant, and the second would wait for the first.
template <typename Change>
decltype(auto) withHomeWriteLock(const Home& home, Change&& change,
                                 std::chrono::milliseconds wait = quickChangeWait()) {
  const HomeLock lock(home, HomeAccess::kWrite, {}, wait);
  return std::forward<Change>(change)();
}

// Removes the temporary files of interrupted atomic writes under `root`
// (every folder, symbolic links not followed); returns how many.
int removeTemporaryFiles(const std::filesystem::path& root);

}  // namespace orvalle::app
