#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "acquire/acquisition_observer.h"
#include "acquire/jv_link.h"

namespace orvalle::acquire::test {

// Records every call of the acquisition as one text: "beep", "info:…",
// "warning:…", "error:…", "status:…", "list:…", "clear", "build:…",
// "bar0:3/5" (bar, position, maximum), "lastTime:…".
class RecordingObserver : public AcquisitionObserver {
 public:
  void message(MessageKind kind, const std::string& text) override {
    const char* prefix = kind == MessageKind::kInformation ? "info:"
                         : kind == MessageKind::kWarning   ? "warning:"
                                                           : "error:";
    events.push_back(prefix + text);
  }
  void beep() override { events.push_back("beep"); }
  void statusText(const std::string& text) override { events.push_back("status:" + text); }
  void progress(ProgressBar bar, int position, int maximum) override {
    events.push_back("bar" + std::to_string(static_cast<int>(bar)) + ":" +
                     std::to_string(position) + "/" + std::to_string(maximum));
  }
  void listCleared() override { events.push_back("clear"); }
  void listLine(const std::string& line) override {
    events.push_back("list:" + line);
    if (onListLine) onListLine(line);
  }
  void buildText(const std::string& text) override { events.push_back("build:" + text); }
  void lastTimeSaved(const std::string& lastTime) override {
    events.push_back("lastTime:" + lastTime);
  }

  // The events that start with `prefix`, in order.
  std::vector<std::string> with(const std::string& prefix) const {
    std::vector<std::string> result;
    for (const std::string& event : events) {
      if (event.starts_with(prefix)) result.push_back(event);
    }
    return result;
  }
  bool has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
  // The events from the first `event` on.
  std::vector<std::string> from(const std::string& event) const {
    auto it = std::find(events.begin(), events.end(), event);
    return {it, events.end()};
  }

  std::vector<std::string> events;
  std::function<void(const std::string&)> onListLine;
};

// A JV-Link whose answers the test sets. Records every call in `calls`.
class FakeJvLink : public JvLink {
 public:
  int jvInit(std::string_view) override { return 0; }
  int jvSetUIProperties() override {
    calls.push_back("JVSetUIProperties");
    return setUiCode;
  }
  int jvOpen(std::string_view, std::string_view fromTime, int option, JvOpenCounts& out) override {
    calls.push_back("JVOpen:" + std::string(fromTime) + ":" + std::to_string(option));
    out = openCode == 0 ? counts : JvOpenCounts{};
    return openCode;
  }
  int jvStatus() override {
    calls.push_back("JVStatus");
    const size_t call = statusCalls++;
    if (onStatus) onStatus(call);
    if (statusResults.empty()) return counts.downloadCount;
    return statusResults[std::min(call, statusResults.size() - 1)];
  }
  int jvRead(std::string& record, int& size, std::string& fileName) override {
    calls.push_back("JVRead");
    const size_t call = readCalls++;
    if (onRead) onRead(call);
    record.clear();
    if (call >= reads.size()) return 0;
    const auto& [code, bytes] = reads[call];
    if (code > 0) {
      record = bytes;
      size = static_cast<int>(bytes.size());
      fileName = "file";
      return size;
    }
    return code;
  }
  int jvCancel() override {
    ++cancelCalls;
    return 0;
  }
  int jvClose() override {
    calls.push_back("JVClose");
    return closeCode;
  }
  int jvRTOpen(std::string_view, std::string_view key) override {
    calls.push_back("JVRTOpen:" + std::string(key));
    return rtOpenCode;
  }

  // Reads give records (code 1 and the bytes) or codes.
  void addRecord(const std::string& record) { reads.emplace_back(1, record); }
  void addCode(int code) { reads.emplace_back(code, ""); }
  int count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  int openCode = 0;
  int setUiCode = 0;
  JvOpenCounts counts;
  std::vector<int> statusResults;
  std::vector<std::pair<int, std::string>> reads;
  int closeCode = 0;
  int rtOpenCode = 0;
  std::function<void(size_t)> onStatus;
  std::function<void(size_t)> onRead;

  std::vector<std::string> calls;
  size_t statusCalls = 0;
  size_t readCalls = 0;
  std::atomic<int> cancelCalls{0};
};

}  // namespace orvalle::acquire::test
