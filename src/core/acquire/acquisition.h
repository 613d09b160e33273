#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquire/acquisition_observer.h"
#include "acquire/jv_link.h"
#include "acquire/past_run_construction.h"
#include "store/day_file_store.h"

namespace orvalle::acquire {

// Texts of the acquisition (UTF-8).
inline constexpr std::string_view kNoNewDataMessage = "最新のデータがありません。";
inline constexpr std::string_view kCancelQuestion = "データ取込を中止します。実行しますか？";
inline constexpr std::string_view kCancelledMessage = "JVCancel:キャンセルされました";
inline constexpr std::string_view kAlreadyRunningMessage =
    "データ取込み中です。終了してから開始してください。";
inline constexpr std::string_view kDownloadingText = "ダウンロード中・・・";
inline constexpr std::string_view kCompletedText = "データ作成が完了しました。";

// One transfer to start: from-time "yyyymmddhhnnss" and JVOpen option
// (kOptionNormal or kOptionSetup).
struct AcquisitionRequest {
  std::string fromTime;
  int option = kOptionNormal;
};

enum class AcquisitionOutcome {
  kCompleted,  // everything read, past runs built, last time saved
  kNoData,     // nothing newer than the from-time
  kCancelled,  // cancelled by the user
  kFailed,     // a JV-Link or file error, or incomplete data; reported as an error
  kRefused,    // another transfer of this acquisition was running
};

struct AcquisitionResult {
  AcquisitionOutcome outcome = AcquisitionOutcome::kFailed;
  JvOpenCounts counts;     // JVOpen's out values
  int filesRead = 0;       // files read to their end
  int storedRecords = 0;   // records stored in day files (also unchanged ones)
  int badDateRecords = 0;  // records skipped for a date that is no calendar date
  // RA day file names (UTF-8) of the days that received a final RA record,
  // ascending.
  std::vector<std::string> resultDays;
  ConstructionResult construction;
  // The last time handed to AcquisitionObserver::lastTimeSaved, if any.
  std::optional<std::string> lastTime;
};

// Tuning of the acquisition; the defaults are the program's.
struct AcquisitionSettings {
  // The download wait asks JVStatus this often; JVRead's "call again" waits
  // as long.
  std::chrono::milliseconds pollInterval{10};
  // Past-run lines kept in memory before their files are rewritten.
  size_t pastRunBatchBytes = size_t{64} << 20;
  // When day files are rewritten: after the data files read in about
  // dayFileCommitInterval, committed together (default), or after every
  // record. Both give the same files; every record is far slower and serves
  // comparisons.
  store::WritePolicy dayFileWritePolicy = store::WritePolicy::kDeferred;
  // The day files changed by the data files read meanwhile are committed
  // together at the end of a data file once this much time has passed since
  // the last commit (zero: after every data file), at the end, and on a
  // cancel or a failure. Committing more often gains nothing: the last time
  // that tells the next acquisition where to go on is saved only at the end.
  std::chrono::milliseconds dayFileCommitInterval{1000};
};

// The acquisition of the acquisition dialog, without any window: opens the
// data ID "RACEDIFF" from a from-time, waits for the download, reads every
// record and stores RA, SE and HR records in the day files by the
// acquisition's rules, builds the past-run files of the days whose final
// results arrived, and hands the newest file time to its caller to keep.
// Every path from an opened transfer ends by closing it (JVClose), also a
// cancel during the download and a file error.
//
// Day files are written through a store that keeps the files of the
// transfer in memory and writes each changed file once when a data file has
// been read (JVRead -1), at the end, on cancel and on error; the records
// listed for a data file are on disk when the next file begins.
//
// Threads: run() blocks its thread for the whole transfer and calls the
// observer from it; cancel() and isRunning() may be called from any other
// thread. One acquisition runs one transfer at a time.
class Acquisition {
 public:
  // `link` must be initialised (initialiseJvLink) and outlive the object.
  // Day files go to `dataFolder`, past-run files under `seiFolder`; both
  // folders must exist.
  Acquisition(JvLink& link, std::filesystem::path dataFolder, std::filesystem::path seiFolder,
              AcquisitionSettings settings = {});

  Acquisition(const Acquisition&) = delete;
  Acquisition& operator=(const Acquisition&) = delete;

  // Runs one transfer to its end and reports through `observer`. Never
  // throws: JV-Link errors, file errors and failures of the observer are
  // reported as error messages and end the transfer (records stored before
  // stay stored). While a transfer runs, another call is refused at once
  // with kAlreadyRunningMessage.
  AcquisitionResult run(const AcquisitionRequest& request, AcquisitionObserver& observer);

  // Cancels the running transfer (the user has answered kCancelQuestion with
  // yes): calls JVCancel and sets the cancel flag; the transfer stops before
  // its next JV-Link call, reports kCancelledMessage, closes and does not
  // save the last time. Returns false when no transfer runs.
  bool cancel();

  bool isRunning() const { return m_running; }

  // The message shown before a transfer starts, for from-time
  // "yyyymmddhhnnss": "yyyy年mm月dd日hh時nn分ss秒以降のデータ取込を開始します。…".
  static std::string startMessage(std::string_view fromTime);

  // "yyyy/mm/dd hh:nn:ss" of a file timestamp yyyymmddhhnnss; nullopt when
  // it is blank, all zeros or not 14 digits.
  static std::optional<std::string> lastTimeOfTimestamp(std::string_view timestamp);

 private:
  JvLink& m_link;
  std::filesystem::path m_dataFolder;
  std::filesystem::path m_seiFolder;
  AcquisitionSettings m_settings;

  std::mutex m_startMutex;
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_cancelRequested{false};
};

// JV-Link's settings dialog (the dialog's "JVLink設定" button): calls
// JVSetUIProperties; on a non-zero code beeps and reports
// "JVSetUIPropertiesエラー：" and the code's text as an error. Returns the
// code.
int showJvLinkSettings(JvLink& link, AcquisitionObserver& observer);

}  // namespace orvalle::acquire
