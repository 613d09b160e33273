#pragma once

#include <optional>
#include <string>

#include "analysis/two_horse_comparison.h"
#include "model/grid_view.h"
#include "store/error.h"

namespace orvalle::analysis {

// The outcome of a head-to-head comparison. When `status` failed, it
// carries the message to show and nothing else is set.
struct HeadToHeadResult {
  Status status;
  // StringGrid6 with columns 0 to 10 filled (11 to 30 empty): one row per
  // meeting, or a single row reading "該当ナシ".
  model::GridView grid;
  int rowCount = 0;

  // CtLabel "該当数：" n (CP932); nullopt when no row was listed. The four
  // count labels are not touched by this command.
  std::optional<std::string> countLabel() const;
};

// The head-to-head comparison: lists the past runs of A, after the period
// start and before the race date, in which A finished and B ran, with the
// time by which A beat B. Only A's past-run file is read. Checks, in order:
// both names given, both weights given (not used otherwise), different
// names ("２頭の馬は別の馬名を入力してください。"), A's past-run file present.
// Throws orvalle::Error when the file cannot be read or a record of it does
// not end in CR LF (a malformed file), naming the file and the record.
[[nodiscard]] HeadToHeadResult compareHeadToHead(const ComparisonRequest& request);

}  // namespace orvalle::analysis
