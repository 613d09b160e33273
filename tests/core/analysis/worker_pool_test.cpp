#include "analysis/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace orvalle::analysis {
namespace {

TEST(WorkerPoolTest, RunsEveryTaskOnceOnEveryRun) {
  for (unsigned threads : {1u, 2u, 5u}) {
    WorkerPool pool(threads);
    EXPECT_EQ(pool.size(), threads);
    for (size_t count : {0u, 1u, 7u, 1000u}) {
      std::vector<std::atomic<int>> runs(count);
      pool.forEach(count, [&](size_t i) { runs[i].fetch_add(1); });
      for (size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i].load(), 1) << threads << " " << i;
    }
  }
  EXPECT_GE(WorkerPool().size(), 1u);
}

TEST(WorkerPoolTest, AThrowingTaskIsReportedAndThePoolStaysUsable) {
  WorkerPool pool(3);
  std::atomic<int> done{0};
  EXPECT_THROW(pool.forEach(100,
                            [&](size_t i) {
                              if (i == 10) throw std::runtime_error("task 10");
                              done.fetch_add(1);
                            }),
               std::runtime_error);
  EXPECT_LT(done.load(), 100);
  done = 0;
  pool.forEach(50, [&](size_t) { done.fetch_add(1); });
  EXPECT_EQ(done.load(), 50);
}

}  // namespace
}  // namespace orvalle::analysis
