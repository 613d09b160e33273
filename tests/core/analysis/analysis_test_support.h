#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/day_tables.h"
#include "store/fixed_width.h"
#include "store/record.h"
#include "support/past_run_builder.h"
#include "support/record_builder.h"

namespace orvalle::analysis {

// A runner of a race set up by a test: UTF-8 name, weight carried today in
// 0.1 kg and registration number.
struct TestRunner {
  std::string name;
  int weight = 550;
  std::string registration;
};

// Puts a race of `date` with the runners (horse numbers 1, 2, ...) into race
// slot `slot`; the race number is slot + 1.
inline void setTestRace(model::DayTables& tables, int slot, int date,
                        const std::vector<TestRunner>& runners,
                        std::string_view racecourse = "06") {
  const std::string key =
      store::format("%08d%s0101%02d", date, std::string(racecourse).c_str(), slot + 1);
  tables.setRace(slot,
                 test::RecordBuilder::ra(key)
                     .setNumber(store::ra::kRegisteredRunners, static_cast<int>(runners.size()))
                     .record());
  for (size_t i = 0; i < runners.size(); ++i) {
    const TestRunner& runner = runners[i];
    tables.setRunner(slot, static_cast<int>(i),
                     test::RecordBuilder::se(key, static_cast<int>(i) + 1)
                         .setRaw(store::se::kHorseName, test::seHorseName(runner.name))
                         .setNumber(store::se::kWeightCarried, runner.weight)
                         .setRaw(store::se::kRegistrationNumber, runner.registration)
                         .record());
  }
}

}  // namespace orvalle::analysis
