#include "acquire/acquisition.h"

#include <algorithm>
#include <array>
#include <exception>
#include <set>
#include <thread>
#include <utility>

#include "store/cp932.h"
#include "store/day_file_lines.h"
#include "store/day_file_store.h"
#include "store/fixed_width.h"
#include "store/jvlink_messages.h"
#include "store/race_date.h"
#include "store/record.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;

// Records of impossible dates told one by one; the rest are counted.
constexpr int kBadDatesTold = 5;
using store::codes::jvLinkErrorMessage;
using store::codes::JvLinkOperation;

// Progress bars start with the maximum of 100.
constexpr int kDefaultMaximum = 100;

bool isDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string fraction(int done, int of) {
  return "(" + std::to_string(done) + "/" + std::to_string(of) + ")";
}

// One run of the acquisition, from JVOpen to JVClose.
class Transfer {
 public:
  Transfer(JvLink& link, const fs::path& dataFolder, const fs::path& seiFolder,
           const AcquisitionSettings& settings, const std::atomic<bool>& cancelRequested,
           AcquisitionObserver& observer)
      : m_link(link),
        m_dataFolder(dataFolder),
        m_seiFolder(seiFolder),
        m_settings(settings),
        m_cancelRequested(cancelRequested),
        m_observer(observer) {}

  AcquisitionResult run(const AcquisitionRequest& request);

 private:
  void openAndRead(const AcquisitionRequest& request);
  void progress(ProgressBar bar, int position, int maximum) {
    m_maximum[static_cast<size_t>(bar)] = maximum;
    m_observer.progress(bar, position, maximum);
  }
  void progress(ProgressBar bar, int position) {
    progress(bar, position, m_maximum[static_cast<size_t>(bar)]);
  }
  void fail(const std::string& message) {
    m_observer.beep();
    m_observer.message(MessageKind::kError, message);
    m_result.outcome = AcquisitionOutcome::kFailed;
  }
  // True when the user has cancelled; the first time, tells so.
  bool cancelled();

  void downloadWait();
  void readLoop();
  void storeRecord(store::DayFileStore& store, const std::string& record);
  void finish();
  void saveLastTime();
  void close();

  JvLink& m_link;
  const fs::path& m_dataFolder;
  const fs::path& m_seiFolder;
  const AcquisitionSettings& m_settings;
  const std::atomic<bool>& m_cancelRequested;
  AcquisitionObserver& m_observer;

  AcquisitionResult m_result;
  int m_fromDate = 0;
  bool m_cancelReported = false;
  std::array<int, 3> m_maximum{kDefaultMaximum, kDefaultMaximum, kDefaultMaximum};
  std::set<std::string> m_resultDays;
};

bool Transfer::cancelled() {
  if (!m_cancelRequested) return false;
  if (!m_cancelReported) {
    m_cancelReported = true;
    m_observer.beep();
    m_observer.message(MessageKind::kInformation, std::string(kCancelledMessage));
    m_observer.statusText(std::string(kCancelledMessage));
  }
  m_result.outcome = AcquisitionOutcome::kCancelled;
  return true;
}

AcquisitionResult Transfer::run(const AcquisitionRequest& request) {
  try {
    openAndRead(request);
  } catch (const std::exception& error) {
    // Only the observer throws this far; the transfer is closed all the same.
    m_result.outcome = AcquisitionOutcome::kFailed;
    try {
      m_observer.message(MessageKind::kError, error.what());
    } catch (const std::exception&) {
    }
  }
  try {
    close();
  } catch (const std::exception&) {
    m_result.outcome = AcquisitionOutcome::kFailed;
  }
  m_result.resultDays.assign(m_resultDays.begin(), m_resultDays.end());
  return std::move(m_result);
}

void Transfer::openAndRead(const AcquisitionRequest& request) {
  progress(ProgressBar::kDownload, 0);
  progress(ProgressBar::kRead, 0);
  m_observer.listCleared();
  m_fromDate = store::toInt(std::string_view(request.fromTime).substr(0, 8));

  JvOpenCounts counts;
  const int code = m_link.jvOpen(kAcquisitionDataId, request.fromTime, request.option, counts);
  m_result.counts = counts;
  if (code == jv::kNoData || (code == jv::kOk && counts.readCount == 0)) {
    m_observer.beep();
    m_observer.message(MessageKind::kInformation, std::string(kNoNewDataMessage));
    m_result.outcome = AcquisitionOutcome::kNoData;
  } else if (code != jv::kOk) {
    fail(jvLinkErrorMessage(JvLinkOperation::kJVOpen, code));
  } else {
    m_observer.statusText("ReadCount:" + std::to_string(counts.readCount) +
                          ", DownloadCount:" + std::to_string(counts.downloadCount));
    if (counts.downloadCount > 0) {
      m_observer.statusText(std::string(kDownloadingText));
      progress(ProgressBar::kDownload, 0, counts.downloadCount);
      downloadWait();
    } else {
      progress(ProgressBar::kDownload, kDefaultMaximum, kDefaultMaximum);
      readLoop();
    }
  }
}

void Transfer::downloadWait() {
  const int total = m_result.counts.downloadCount;
  int shown = -1;
  while (true) {
    if (cancelled()) return;
    const int done = m_link.jvStatus();
    if (done < 0) {
      // JVCancel from another thread can make JVStatus fail first.
      if (cancelled()) return;
      fail(jvLinkErrorMessage(JvLinkOperation::kJVStatus, done));
      return;
    }
    if (done != shown) {
      shown = done;
      m_observer.statusText("ダウンロード中．．．" + fraction(done, total));
      progress(ProgressBar::kDownload, done);
    }
    if (done >= total) break;
    std::this_thread::sleep_for(m_settings.pollInterval);
  }
  readLoop();
}

void Transfer::readLoop() {
  const int readCount = m_result.counts.readCount;
  m_observer.statusText("データ読込み中．．．" + fraction(0, readCount));
  progress(ProgressBar::kRead, 0, readCount);
  int fileCounter = 0;

  store::DayFileStore store(m_dataFolder, store::WriterRules::acquisition(m_fromDate),
                            m_settings.dayFileWritePolicy);
  std::string record;
  std::string fileName;
  auto lastCommit = std::chrono::steady_clock::now();
  try {
    while (true) {
      if (cancelled()) {
        store.flush();
        return;
      }
      int size = 60000;
      const int code = m_link.jvRead(record, size, fileName);
      if (code > 0) {
        storeRecord(store, record);
      } else if (code == jv::kFileSwitch) {
        // The day files changed since the last commit go to disk together
        // once a commit is due.
        if (std::chrono::steady_clock::now() - lastCommit >= m_settings.dayFileCommitInterval) {
          store.flush();
          lastCommit = std::chrono::steady_clock::now();
        }
        ++fileCounter;
        m_result.filesRead = fileCounter;
        progress(ProgressBar::kRead, fileCounter);
        m_observer.statusText("データ読込み中．．．" + fraction(fileCounter, readCount));
        m_observer.listCleared();
      } else if (code == jv::kEndOfData) {
        store.flush();
        // The last file has ended too.
        m_result.filesRead = ++fileCounter;
        m_observer.statusText("データ読込み完了" + fraction(fileCounter, readCount));
        finish();
        return;
      } else if (code < jv::kDownloading) {
        store.flush();
        if (cancelled()) return;
        fail(jvLinkErrorMessage(JvLinkOperation::kJVRead, code));
        return;
      } else {
        // Nothing yet: ask again shortly.
        std::this_thread::sleep_for(m_settings.pollInterval);
      }
    }
  } catch (const std::exception& error) {
    // A file error ends the loop; what was stored before still goes to disk.
    try {
      store.flush();
    } catch (const std::exception&) {
      // The first error is the one reported.
    }
    fail(error.what());
  }
}

void Transfer::storeRecord(store::DayFileStore& store, const std::string& record) {
  // A record of an impossible date names no day; it is skipped and told,
  // the first few one by one, the rest counted at the end.
  if (store::recordKindOf(record) &&
      !store::codes::isValidDate(store::head::kRaceDate.numberIn(record))) {
    if (++m_result.badDateRecords <= kBadDatesTold) {
      m_observer.message(MessageKind::kWarning,
                         "日付が正しくないため取り込みませんでした: " +
                             cp932::toUtf8(store::head::kRecordKind.in(record)) + " " +
                             cp932::toUtf8(store::head::kRaceKey.in(record)));
    }
    return;
  }
  const std::optional<store::StoredRecord> stored = store.store(record);
  if (!stored) return;
  ++m_result.storedRecords;
  std::string line = "作成済み:" + cp932::toUtf8(stored->raceNumber) + "R/";
  if (stored->kind == store::RecordKind::kSe) line += cp932::toUtf8(stored->horseNumber) + "番/";
  line += stored->fileName;
  m_observer.listLine(line);
  if (stored->finalResultsRace) m_resultDays.insert(stored->fileName);
}

void Transfer::finish() {
  if (m_result.badDateRecords > kBadDatesTold) {
    m_observer.message(MessageKind::kWarning,
                       "日付が正しくないレコードをほかに" +
                           std::to_string(m_result.badDateRecords - kBadDatesTold) +
                           "件読み飛ばしました。");
  }
  progress(ProgressBar::kDownload, 0);
  progress(ProgressBar::kRead, 0);
  const std::vector<std::string> days(m_resultDays.begin(), m_resultDays.end());
  if (!days.empty())
    m_maximum[static_cast<size_t>(ProgressBar::kPastRuns)] = static_cast<int>(days.size());
  m_result.construction = constructPastRuns(m_dataFolder, m_seiFolder, days, m_observer,
                                            m_cancelRequested, m_settings.pastRunBatchBytes);
  switch (m_result.construction.outcome) {
    case ConstructionOutcome::kBuilt:
      break;
    case ConstructionOutcome::kIncompleteData:
      // The period is read again by the next transfer: no last time.
      m_result.outcome = AcquisitionOutcome::kFailed;
      return;
    case ConstructionOutcome::kCancelled:
      cancelled();
      return;
  }
  saveLastTime();
  if (m_result.outcome == AcquisitionOutcome::kCancelled) return;
  progress(ProgressBar::kPastRuns, 0);
  m_observer.statusText(std::string(kCompletedText));
  m_result.outcome = AcquisitionOutcome::kCompleted;
}

void Transfer::saveLastTime() {
  std::optional<std::string> lastTime =
      Acquisition::lastTimeOfTimestamp(m_result.counts.lastFileTimestamp);
  if (!lastTime || cancelled()) return;
  m_observer.lastTimeSaved(*lastTime);
  m_result.lastTime = std::move(lastTime);
}

void Transfer::close() {
  const int code = m_link.jvClose();
  m_observer.beep();
  if (code != jv::kOk) {
    m_observer.message(MessageKind::kError, jvLinkErrorMessage(JvLinkOperation::kJVClose, code));
    m_result.outcome = AcquisitionOutcome::kFailed;
  }
}

}  // namespace

Acquisition::Acquisition(JvLink& link, fs::path dataFolder, fs::path seiFolder,
                         AcquisitionSettings settings)
    : m_link(link),
      m_dataFolder(std::move(dataFolder)),
      m_seiFolder(std::move(seiFolder)),
      m_settings(settings) {}

AcquisitionResult Acquisition::run(const AcquisitionRequest& request,
                                   AcquisitionObserver& observer) {
  {
    std::lock_guard lock(m_startMutex);
    if (m_running) {
      observer.beep();
      observer.message(MessageKind::kError, std::string(kAlreadyRunningMessage));
      AcquisitionResult refused;
      refused.outcome = AcquisitionOutcome::kRefused;
      return refused;
    }
    m_running = true;
    m_cancelRequested = false;
  }
  // The next transfer may start however this one ends.
  struct Finished {
    Acquisition& acquisition;
    ~Finished() {
      std::lock_guard lock(acquisition.m_startMutex);
      acquisition.m_running = false;
    }
  } finished{*this};
  Transfer transfer(m_link, m_dataFolder, m_seiFolder, m_settings, m_cancelRequested, observer);
  return transfer.run(request);
}

bool Acquisition::cancel() {
  {
    std::lock_guard lock(m_startMutex);
    if (!m_running) return false;
    m_cancelRequested = true;
  }
  m_link.jvCancel();
  return true;
}

std::string Acquisition::startMessage(std::string_view fromTime) {
  std::string digits = store::fitWidth(fromTime, 14);
  auto part = [&digits](size_t at, size_t length) { return digits.substr(at, length); };
  return part(0, 4) + "年" + part(4, 2) + "月" + part(6, 2) + "日" + part(8, 2) + "時" +
         part(10, 2) + "分" + part(12, 2) +
         "秒以降のデータ取込を開始します。データ作成が終了するまで本ソフトを操作したり他のアプリケ"
         "ーションを操作することは極力避けてください。";
}

std::optional<std::string> Acquisition::lastTimeOfTimestamp(std::string_view timestamp) {
  timestamp = store::trim(timestamp);
  if (timestamp.size() != 14 || !isDigits(timestamp) || timestamp == "00000000000000") {
    return std::nullopt;
  }
  std::string t(timestamp);
  return t.substr(0, 4) + "/" + t.substr(4, 2) + "/" + t.substr(6, 2) + " " + t.substr(8, 2) + ":" +
         t.substr(10, 2) + ":" + t.substr(12, 2);
}

int showJvLinkSettings(JvLink& link, AcquisitionObserver& observer) {
  const int code = link.jvSetUIProperties();
  if (code != jv::kOk) {
    observer.beep();
    observer.message(MessageKind::kError,
                     "JVSetUIPropertiesエラー：" +
                         store::codes::jvLinkCodeText(JvLinkOperation::kJVSetUIProperties, code));
  }
  return code;
}

}  // namespace orvalle::acquire
