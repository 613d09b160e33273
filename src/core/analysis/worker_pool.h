#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orvalle::analysis {

// A fixed set of worker threads for the parallel steps of one command. The
// calling thread works along, so a pool of one thread runs everything on the
// caller. A pool is driven from one thread at a time.
class WorkerPool {
 public:
  // `threads` threads in all (the caller included); 0 takes one per core
  // (std::thread::hardware_concurrency, at least 1).
  explicit WorkerPool(unsigned threads = 0);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // The number of threads that work, the caller included.
  unsigned size() const { return static_cast<unsigned>(m_threads.size()) + 1; }

  // Runs task(i) for every i in [0, count), in any order and on any of the
  // threads, and returns when all have run. When a task throws, the tasks
  // not yet started are skipped and the first exception is rethrown here.
  void forEach(size_t count, const std::function<void(size_t)>& task);

 private:
  void workerLoop();
  void runTasks();

  std::vector<std::thread> m_threads;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_done;
  const std::function<void(size_t)>* m_task = nullptr;
  size_t m_count = 0;
  std::atomic<size_t> m_next{0};
  uint64_t m_generation = 0;
  size_t m_busy = 0;
  bool m_stop = false;
  std::exception_ptr m_error;
};

}  // namespace orvalle::analysis
