#include "acquire/transfer_recorder.h"

#include <set>

#include "store/error.h"

namespace orvalle::acquire {
namespace {

using store::codes::JvLinkOperation;

// The size a JVRead caller offers for one record.
constexpr int kReadBufferSize = 60000;

bool cancelled(const RecordingHooks& hooks) {
  return hooks.cancel != nullptr && hooks.cancel->load();
}

void pause(const RecordingHooks& hooks) {
  if (hooks.pause) hooks.pause();
}

RecordingOutcome componentError(JvLinkOperation operation, int code) {
  RecordingOutcome outcome;
  outcome.result = RecordingResult::kComponentError;
  outcome.code = code;
  outcome.message = store::codes::jvLinkErrorMessage(operation, code);
  return outcome;
}

class Recorder {
 public:
  Recorder(JvLink& link, ReplaySourceWriter& writer, const RecordingRequest& request,
           RecordingObserver& observer, const RecordingHooks& hooks)
      : m_link(link), m_writer(writer), m_request(request), m_observer(observer), m_hooks(hooks) {}

  RecordingOutcome run() {
    if (const int code = m_link.jvInit(m_request.softwareId); code != jv::kOk) {
      return componentError(JvLinkOperation::kJVInit, code);
    }
    RecordingOutcome outcome = m_request.resultsDate ? results() : storedData();
    if (m_open) {
      const int code = m_link.jvClose();
      if (code != jv::kOk && outcome.result == RecordingResult::kDone) {
        const RecordingOutcome done = outcome;
        outcome = componentError(JvLinkOperation::kJVClose, code);
        outcome.filesWritten = done.filesWritten;
        outcome.records = done.records;
      }
    }
    return outcome;
  }

 private:
  RecordingOutcome storedData() {
    const std::string fromTime =
        m_request.fromTime ? *m_request.fromTime
                           : m_writer.lastTimestamp().value_or(std::string(kEarliestFromTime));
    JvOpenCounts counts;
    const int option = m_request.setup ? kOptionSetup : kOptionNormal;
    const int opened = m_link.jvOpen(kAcquisitionDataId, fromTime, option, counts);
    m_open = true;
    if (opened == jv::kNoData) {
      RecordingOutcome outcome;
      outcome.result = RecordingResult::kNoData;
      outcome.message = "新しいデータはありません。(" + fromTime + "より後)";
      return outcome;
    }
    if (opened != jv::kOk) return componentError(JvLinkOperation::kJVOpen, opened);
    m_transferTimestamp = counts.lastFileTimestamp;
    m_fileCount = counts.readCount;

    // The download: JVStatus counts the files that are there.
    while (counts.downloadCount > 0) {
      if (cancelled(m_hooks)) return cancel();
      const int done = m_link.jvStatus();
      if (done < 0) return componentError(JvLinkOperation::kJVStatus, done);
      m_observer.downloading(done, counts.downloadCount);
      if (done >= counts.downloadCount) break;
      pause(m_hooks);
    }

    RecordingOutcome outcome = readAll(m_request.setup ? "SETUP" : "RACEDIFF", {});
    if (outcome.result != RecordingResult::kDone) return outcome;
    const std::string& stamp = counts.lastFileTimestamp;
    try {
      if (isFileTimestamp(stamp) && stamp != std::string(stamp.size(), '0')) {
        m_writer.saveLastTimestamp(stamp);
      }
    } catch (const Error& error) {
      return fileError(error);
    }
    outcome.message = std::to_string(outcome.filesWritten) + "個のファイル(" +
                      std::to_string(outcome.records) + "レコード)を保存しました。";
    return outcome;
  }

  RecordingOutcome results() {
    const std::string& day = *m_request.resultsDate;
    const int opened = m_link.jvRTOpen(kResultsDataId, day);
    m_open = true;
    if (opened == jv::kNoData) {
      RecordingOutcome outcome;
      outcome.result = RecordingResult::kNoData;
      outcome.message = day + "の速報データはありません。";
      return outcome;
    }
    if (opened != jv::kOk) return componentError(JvLinkOperation::kJVRTOpen, opened);
    RecordingOutcome outcome = readAll(kResultsDataId, day + ".txt");
    if (outcome.result == RecordingResult::kDone) {
      outcome.message = outcome.filesWritten == 0
                            ? day + "の速報データはありません。"
                            : day + "の速報データ(" + std::to_string(outcome.records) +
                                  "レコード)を保存しました。";
      if (outcome.filesWritten == 0) outcome.result = RecordingResult::kNoData;
    }
    return outcome;
  }

  // Reads every record to the end into `subfolder`: one file per JV-Link
  // file, or all of them into the one file `singleFile` when given.
  RecordingOutcome readAll(std::string_view subfolder, const std::string& singleFile) {
    RecordingOutcome outcome;
    std::string record;
    std::string fileName;
    std::string currentName;
    long long recordsInFile = 0;
    try {
      for (;;) {
        if (cancelled(m_hooks)) return cancel(outcome);
        int size = kReadBufferSize;
        const int result = m_link.jvRead(record, size, fileName);
        if (result > 0) {
          const bool newFile = singleFile.empty() && fileName != currentName;
          if (m_writer.writing() && newFile) {
            finishFile(outcome, recordsInFile);
          }
          if (!m_writer.writing()) {
            currentName = fileName;
            const std::string name = singleFile.empty() ? uniqueName(fileName) : singleFile;
            m_writer.begin(subfolder, name);
            m_observer.fileStarted(outcome.filesWritten + 1, m_fileCount, name);
          }
          m_writer.append(record);
          if (record.size() < 2 || record.compare(record.size() - 2, 2, "\r\n") != 0) {
            m_writer.append("\r\n");
          }
          ++outcome.records;
          m_observer.recordWritten(++recordsInFile);
        } else if (result == jv::kFileSwitch) {
          if (m_writer.writing() && singleFile.empty()) finishFile(outcome, recordsInFile);
        } else if (result == jv::kEndOfData) {
          if (m_writer.writing()) finishFile(outcome, recordsInFile);
          return outcome;
        } else if (result == jv::kNotReady || result == jv::kDownloading) {
          pause(m_hooks);
        } else {
          m_writer.abandon();
          RecordingOutcome failed = componentError(m_request.readOperation, result);
          failed.filesWritten = outcome.filesWritten;
          failed.records = outcome.records;
          return failed;
        }
      }
    } catch (const Error& error) {
      return fileError(error, outcome);
    }
  }

  void finishFile(RecordingOutcome& outcome, long long& recordsInFile) {
    const std::filesystem::path written = m_writer.commit();
    ++outcome.filesWritten;
    m_observer.fileWritten(written, recordsInFile);
    recordsInFile = 0;
  }

  // The kept name of a reported file, made unique within the transfer.
  std::string uniqueName(const std::string& reported) {
    const std::string base = replayFileName(reported, m_transferTimestamp);
    std::string name = base;
    for (int n = 2; !m_usedNames.insert(name).second; ++n) {
      name = base + "_" + std::to_string(n);
    }
    return name;
  }

  RecordingOutcome cancel(const RecordingOutcome& sofar = {}) {
    m_writer.abandon();
    m_link.jvCancel();
    RecordingOutcome outcome = sofar;
    outcome.result = RecordingResult::kCancelled;
    outcome.message = "取り込みを中止しました。完了したファイル" +
                      std::to_string(sofar.filesWritten) + "個は保存されています。";
    return outcome;
  }

  RecordingOutcome fileError(const Error& error, const RecordingOutcome& sofar = {}) {
    m_writer.abandon();
    m_link.jvCancel();
    RecordingOutcome outcome = sofar;
    outcome.result = RecordingResult::kFileError;
    outcome.message = error.what();
    return outcome;
  }

  JvLink& m_link;
  ReplaySourceWriter& m_writer;
  const RecordingRequest& m_request;
  RecordingObserver& m_observer;
  const RecordingHooks& m_hooks;
  bool m_open = false;
  std::string m_transferTimestamp;
  int m_fileCount = 0;
  std::set<std::string> m_usedNames;
};

}  // namespace

int exitStatusOf(RecordingResult result) {
  switch (result) {
    case RecordingResult::kDone:
    case RecordingResult::kNoData:
      return 0;
    case RecordingResult::kFileError:
      return 1;
    case RecordingResult::kComponentError:
      return 2;
    case RecordingResult::kCancelled:
      return 3;
  }
  return 1;
}

RecordingOutcome recordTransfer(JvLink& link, ReplaySourceWriter& writer,
                                const RecordingRequest& request, RecordingObserver& observer,
                                const RecordingHooks& hooks) {
  return Recorder(link, writer, request, observer, hooks).run();
}

}  // namespace orvalle::acquire
