#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace orvalle {

// What a long command reports while it runs: a position of a maximum and up
// to two lines of text (UTF-8), as the progress and wait windows show them.
struct Progress {
  int position = 0;
  int maximum = 0;
  std::string upperLine;
  std::string lowerLine;
};

// Receives progress reports. Called on the thread that runs the command; a
// GUI hands the report over to its own thread. May be empty.
using ProgressCallback = std::function<void(const Progress&)>;

// Set from any thread to ask a running command to stop at its next step.
class CancelFlag {
 public:
  void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
  void reset() { m_cancelled.store(false, std::memory_order_relaxed); }
  bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> m_cancelled{false};
};

}  // namespace orvalle
