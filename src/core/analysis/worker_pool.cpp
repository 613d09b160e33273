#include "analysis/worker_pool.h"

#include <algorithm>
#include <utility>

namespace orvalle::analysis {

WorkerPool::WorkerPool(unsigned threads) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  m_threads.reserve(threads - 1);
  for (unsigned i = 1; i < threads; ++i) m_threads.emplace_back([this] { workerLoop(); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_all();
  for (std::thread& thread : m_threads) thread.join();
}

void WorkerPool::forEach(size_t count, const std::function<void(size_t)>& task) {
  if (count == 0) return;
  {
    std::lock_guard lock(m_mutex);
    m_task = &task;
    m_count = count;
    m_next.store(0);
    m_error = nullptr;
    m_busy = m_threads.size();
    ++m_generation;
  }
  m_wake.notify_all();
  runTasks();
  std::unique_lock lock(m_mutex);
  m_done.wait(lock, [this] { return m_busy == 0; });
  m_task = nullptr;
  if (m_error) std::rethrow_exception(std::exchange(m_error, nullptr));
}

void WorkerPool::workerLoop() {
  uint64_t seen = 0;
  for (;;) {
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [&] { return m_stop || m_generation != seen; });
      if (m_stop) return;
      seen = m_generation;
    }
    runTasks();
    {
      std::lock_guard lock(m_mutex);
      --m_busy;
    }
    m_done.notify_one();
  }
}

void WorkerPool::runTasks() {
  for (size_t i = m_next.fetch_add(1); i < m_count; i = m_next.fetch_add(1)) {
    try {
      (*m_task)(i);
    } catch (...) {
      std::lock_guard lock(m_mutex);
      if (!m_error) m_error = std::current_exception();
      m_next.store(m_count);
    }
  }
}

}  // namespace orvalle::analysis
