#include "acquire/results_fetch.h"

#include <chrono>
#include <exception>
#include <optional>
#include <thread>

#include "store/jvlink_messages.h"

namespace orvalle::acquire {
namespace {

// Closes JV-Link, beeping when that succeeds.
void closeWithBeep(JvLink& link, ResultsFetchObserver& observer) {
  if (link.jvClose() == jv::kOk) observer.beep();
}

void readResults(JvLink& link, const std::filesystem::path& dataFolder,
                 ResultsFetchObserver& observer, const CancelFlag* cancel,
                 ResultsFetchResult& result) {
  store::DayFileStore store(dataFolder, store::WriterRules::resultsCommand(),
                            store::WritePolicy::kDeferred);
  std::string record;
  std::string fileName;
  try {
    while (true) {
      if (cancel != nullptr && cancel->cancelled()) {
        result.cancelled = true;
        break;
      }
      int size = 60000;
      const int code = link.jvRead(record, size, fileName);
      if (code > 0) {
        if (std::optional<store::StoredRecord> stored = store.store(record)) {
          ++result.storedRecords;
          observer.stored(*stored);
        }
        continue;
      }
      if (code == jv::kFileSwitch) {
        store.flush();
        continue;
      }
      if (code == jv::kEndOfData || code < jv::kDownloading) {
        result.readCode = code;
        break;
      }
      // -2 and -3: nothing yet; read on shortly.
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    store.flush();
  } catch (const std::exception&) {
    // What was stored before the failure still goes to disk; the failure
    // itself is the one reported.
    try {
      store.flush();
    } catch (const std::exception&) {
    }
    throw;
  }
}

}  // namespace

Status ResultsFetchResult::status() const {
  using store::codes::JvLinkOperation;
  if (openCode != jv::kOk && openCode != jv::kNoData) {
    return Status::failure(store::codes::jvLinkErrorMessage(JvLinkOperation::kJVRTOpen, openCode));
  }
  if (readCode < jv::kDownloading) {
    return Status::failure(store::codes::jvLinkErrorMessage(JvLinkOperation::kJVRead, readCode));
  }
  return Status::success();
}

ResultsFetchResult fetchResults(JvLink& link, const std::filesystem::path& dataFolder,
                                std::string_view raceDate, ResultsFetchObserver& observer,
                                const CancelFlag* cancel) {
  ResultsFetchResult result;
  result.openCode = link.jvRTOpen(kResultsDataId, raceDate);
  if (result.openCode != jv::kOk) {
    observer.beep();
  } else {
    try {
      readResults(link, dataFolder, observer, cancel, result);
    } catch (...) {
      link.jvClose();
      throw;
    }
  }
  closeWithBeep(link, observer);
  closeWithBeep(link, observer);
  return result;
}

}  // namespace orvalle::acquire
