#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquire/jv_link.h"
#include "store/sequential_reader.h"

namespace orvalle::acquire {

// The longest record the replay source hands over at once; JV-Data records
// are far shorter.
inline constexpr size_t kMaxReplayRecordBytes = 64 * 1024;

// Behaviour a replay source injects through its file "jvlink.ini", section
// "[emulate]", for tests and demonstrations. Keys not given keep the
// defaults; a value that is not a whole number is ignored.
struct ReplayEmulation {
  // JVStatus counts one more downloaded file every this many milliseconds;
  // 0 = everything is downloaded already (download count 0).
  int downloadMs = 0;
  // The result of JVInit ("init").
  int initResult = 0;
  // A result JVOpen gives whatever the files ("open"). A forced 0 opens the
  // files there are, possibly none.
  std::optional<int> openResult;
  // The result of every JVStatus call after the first ("status_error").
  std::optional<int> statusError;
  // "read_error" = FILE:RECORD:CODE: JVRead returns CODE once in place of
  // record RECORD of file FILE of the transfer (both 1-based); the next call
  // hands that record over.
  struct ReadError {
    int file = 0;
    int record = 0;
    int code = 0;
  };
  std::optional<ReadError> readError;
  // A result JVRTOpen gives whatever the files ("rtopen").
  std::optional<int> rtOpenResult;
  // The result of JVClose ("close").
  int closeResult = 0;
  // Whether a component serving this source offers the byte-array read
  // JVGets besides JVRead ("gets" = 0 hides it).
  bool offersByteRead = true;

  // The emulation of an ini file; a missing or unreadable file gives the
  // defaults.
  static ReplayEmulation fromIniFile(const std::filesystem::path& iniFile);
  // The same from the file's text.
  static ReplayEmulation fromIniText(std::string_view text);
};

// A JV-Link that replays a source folder in place of JRA-VAN's server and
// cache:
// - SRC/RACEDIFF/ holds the data files of option 1 (and 2), SRC/SETUP/ those
//   of option 3 (and 4); without SETUP/, options 3 and 4 read RACEDIFF/. A data
//   file's name starts with its timestamp yyyymmddhhnnss and "_"; it holds
//   JV-Data records in CP932, each ended by CR LF. Other files are ignored.
// - jvOpen takes the files whose timestamp is later than the from-time, in
//   name order: read count = their number, last file timestamp = the
//   timestamp of the last; download count = read count when download_ms is
//   above 0, else 0. No file: -1.
// - jvRead hands over the records of the files in order, each with its CR LF
//   (a last record without one as it stands; a run of kMaxReplayRecordBytes
//   bytes without CR LF, which only junk holds, is handed over as a record of
//   its own), -1 between files and 0 after the
//   last record of the last file; while a file is not yet "downloaded" it
//   gives -3. A file that has gone gives -503, one that cannot be read -403.
// - jvRTOpen("0B12", yyyymmdd) replays the files of SRC/0B12/yyyymmdd/ (name
//   order) or the single file SRC/0B12/yyyymmdd.txt; -1 when there is neither.
// - SRC/jvlink.ini injects results (ReplayEmulation), read when the object is
//   made.
// As JV-Link: calls before jvInit give -201; opening while a transfer is open
// gives -202; jvStatus and jvRead without an open transfer give -203; a
// malformed data ID gives -111, from-time -112, key -114, option -115.
// After jvCancel, jvStatus and jvRead give -203 until the transfer is closed.
// A missing source folder is a source without data. Nothing here throws for
// the source's content.
class ReplayJvLink final : public JvLink {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // Replays `sourceFolder`. `clock` drives the simulated download (tests
  // pass their own).
  explicit ReplayJvLink(std::filesystem::path sourceFolder, Clock clock = steadyClock);

  int jvInit(std::string_view softwareId) override;
  int jvSetUIProperties() override;
  int jvOpen(std::string_view dataId, std::string_view fromTime, int option,
             JvOpenCounts& counts) override;
  int jvStatus() override;
  int jvRead(std::string& record, int& size, std::string& fileName) override;
  int jvCancel() override;
  int jvClose() override;
  int jvRTOpen(std::string_view dataId, std::string_view key) override;

  const ReplayEmulation& emulation() const { return m_emulation; }

  static std::chrono::steady_clock::time_point steadyClock() {
    return std::chrono::steady_clock::now();
  }

 private:
  enum class Mode { kClosed, kStored, kRealTime };

  // Files downloaded so far of the open stored-data transfer.
  int downloaded() const;
  // Opens a transfer over `files`.
  void open(Mode mode, std::vector<std::filesystem::path> files, int downloadCount);
  // Loads the current file; returns 0 or JVRead's error code.
  int loadCurrentFile();

  std::filesystem::path m_source;
  Clock m_clock;
  ReplayEmulation m_emulation;
  bool m_initialised = false;

  Mode m_mode = Mode::kClosed;
  std::atomic<bool> m_cancelled{false};
  std::vector<std::filesystem::path> m_files;
  int m_downloadCount = 0;
  std::chrono::steady_clock::time_point m_openedAt{};
  int m_statusCalls = 0;
  bool m_readErrorGiven = false;

  size_t m_fileIndex = 0;
  bool m_fileLoaded = false;
  // The current file, read a record at a time: memory does not grow with
  // the size of a file.
  store::SequentialReader m_file;
  int m_recordNumber = 0;  // records handed over from the current file
};

}  // namespace orvalle::acquire
