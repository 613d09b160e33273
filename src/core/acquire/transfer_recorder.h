#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "acquire/jv_link.h"
#include "acquire/replay_source_writer.h"
#include "store/jvlink_messages.h"

// Records what JV-Link transfers into a replay source folder, so that a
// transfer made where JV-Link runs (Windows) can be acquired where it does
// not. The same loop drives the real component through its COM adapter and,
// in tests, the replay JV-Link itself: recording a replay source gives back
// its files byte for byte.
namespace orvalle::acquire {

// The from-time of a first transfer when the folder keeps none: before the
// first JV-Data.
inline constexpr std::string_view kEarliestFromTime = "19860101000000";

struct RecordingRequest {
  // The software id given to JVInit.
  std::string softwareId{kSoftwareId};
  // Stored data newer than this (yyyymmddhhnnss); none = the time the folder
  // keeps from the last transfer, else kEarliestFromTime.
  std::optional<std::string> fromTime;
  // Setup data (JVOpen option 3, written under SETUP/) instead of normal
  // data (option 1, RACEDIFF/).
  bool setup = false;
  // The race results of this day (yyyymmdd) through JVRTOpen("0B12")
  // instead of stored data; written as 0B12/yyyymmdd.txt.
  std::optional<std::string> resultsDate;
  // The read the component is driven with, named in messages.
  store::codes::JvLinkOperation readOperation = store::codes::JvLinkOperation::kJVRead;
};

enum class RecordingResult {
  kDone,            // files written (or nothing new): exit 0
  kNoData,          // JV-Link has nothing newer: exit 0
  kFileError,       // the folder could not be written: exit 1
  kComponentError,  // a JV-Link call failed: exit 2
  kCancelled,       // the user stopped it: exit 3
};

// The exit status of a program that ends with `result`.
int exitStatusOf(RecordingResult result);

struct RecordingOutcome {
  RecordingResult result = RecordingResult::kDone;
  // For the user (UTF-8): what was done, or what failed, for a JV-Link
  // failure its operation, text and code from the code table.
  std::string message;
  // The code of the failed JV-Link call, 0 otherwise.
  int code = 0;
  int filesWritten = 0;
  long long records = 0;
};

// Progress of a recording, for a progress line.
class RecordingObserver {
 public:
  virtual ~RecordingObserver() = default;
  // JVStatus: `done` of `total` files downloaded.
  virtual void downloading(int /*done*/, int /*total*/) {}
  // A data file begins: its number (from 1), the read count and its name.
  virtual void fileStarted(int /*number*/, int /*count*/, std::string_view /*name*/) {}
  // A record was written; `records` in the current file so far.
  virtual void recordWritten(long long /*records*/) {}
  // A data file is complete and in place.
  virtual void fileWritten(const std::filesystem::path& /*path*/, long long /*records*/) {}
};

struct RecordingHooks {
  // Stops the transfer when it becomes true (checked between records and
  // while waiting); the complete files stay.
  const std::atomic<bool>* cancel = nullptr;
  // Waits a little before JVStatus or JVRead is asked again.
  std::function<void()> pause;
};

// Runs one transfer of `request` on `link` (JVInit, then JVOpen or
// JVRTOpen, the wait on JVStatus, JVRead to the end, JVClose) and writes it
// with `writer`. Only complete files are ever in place; the kept timestamp
// advances only after every file of the transfer is. Never throws for
// JV-Link's or the folder's failures: they are the outcome.
RecordingOutcome recordTransfer(JvLink& link, ReplaySourceWriter& writer,
                                const RecordingRequest& request, RecordingObserver& observer,
                                const RecordingHooks& hooks);

}  // namespace orvalle::acquire
