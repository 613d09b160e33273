// JV-Data records as the acquisition and the results command hand them to
// the day-file store, then the past-run construction over the stored days.
// Input: records one per line (each line keeps its CR LF, as JVRead gives
// it).

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "acquire/acquisition_observer.h"
#include "acquire/past_run_construction.h"
#include "fuzz_input.h"
#include "store/day_file_names.h"
#include "store/day_file_store.h"
#include "store/error.h"

namespace {

using namespace orvalle;

std::vector<std::string_view> records(std::string_view input) {
  std::vector<std::string_view> out;
  while (!input.empty()) {
    const size_t end = input.find('\n');
    const size_t length = end == std::string_view::npos ? input.size() : end + 1;
    out.push_back(input.substr(0, length));
    input.remove_prefix(length);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::MemoryHome home;
  const std::vector<std::string_view> input = records(fuzz::inputText(data, size));

  // The acquisition: every record kept from the first date on, files written
  // once at the end; RA records of final results name the days whose
  // runners get past runs.
  std::set<std::string> resultDays;
  try {
    store::DayFileStore acquisition("/home/DATA", store::WriterRules::acquisition(19000101),
                                    store::WritePolicy::kDeferred);
    for (std::string_view record : input) {
      if (auto stored = acquisition.store(record)) {
        if (stored->kind == store::RecordKind::kRa && stored->finalResultsRace) {
          resultDays.insert(stored->fileName);
        }
      }
    }
    acquisition.flush();
  } catch (const Error&) {
  }

  try {
    acquire::AcquisitionObserver observer;
    std::atomic<bool> cancel{false};
    const std::vector<std::string> days(resultDays.begin(), resultDays.end());
    (void)acquire::constructPastRuns("/home/DATA", "/home/SEI", days, observer, cancel);
  } catch (const Error&) {
  }

  // The results command on the files the acquisition left: only existing
  // day files take RA and SE records. The command writes each record at
  // once; here they are written together at the end, which stores the same
  // and keeps the runs fast.
  try {
    store::DayFileStore results("/home/DATA", store::WriterRules::resultsCommand(),
                                store::WritePolicy::kDeferred);
    for (std::string_view record : input) (void)results.store(record);
    results.flush();
    (void)store::listDays("/home/DATA");
  } catch (const Error&) {
  }
  return 0;
}
