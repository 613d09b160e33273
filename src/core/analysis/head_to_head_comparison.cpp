#include "analysis/head_to_head_comparison.h"

#include "analysis/compared_run.h"
#include "analysis/comparison_rule.h"
#include "analysis/grid6_cells.h"
#include "analysis/request_checks.h"
#include "model/past_run_loader.h"
#include "store/fixed_width.h"
#include "store/past_run_record.h"

namespace orvalle::analysis {
namespace {

namespace past_run = store::past_run;
using namespace grid6;

bool endsInCrLf(std::string_view record) {
  return record.size() >= 2 && record.substr(record.size() - 2) == "\r\n";
}

}  // namespace

std::optional<std::string> HeadToHeadResult::countLabel() const {
  return checks::countLabel(rowCount);
}

HeadToHeadResult compareHeadToHead(const ComparisonRequest& request) {
  HeadToHeadResult result;
  if (result.status = checks::namesGiven(request); !result.status) return result;
  checks::TodayWeights weights;
  if (result.status = checks::weightsGiven(request, weights); !result.status) return result;
  const std::string nameA = store::horseName18(request.nameA);
  const std::string nameB = store::horseName18(request.nameB);
  if (nameA == nameB) {
    result.status = Status::failure("２頭の馬は別の馬名を入力してください。");
    return result;
  }
  const auto fileA = checks::existingPastRunFile(request.seiFolder, request.registrationA);
  if (!fileA) {
    result.status = Status::failure(checks::missingFileMessage(nameA));
    return result;
  }

  const auto period = model::PastRunPeriod::of(request.raceDate, request.periodDays, false);
  checks::PastRunRecords runs;
  checks::readPastRunRecords(*fileA, runs);

  result.grid = emptyGrid();
  for (size_t index = 0; index < runs.records.size(); ++index) {
    std::string_view record = runs.records[index];
    if (!endsInCrLf(record)) {
      throw Error("過去走データのファイルが壊れています: " + fileA->string() + " (" +
                  std::to_string(index + 1) + "件目)");
    }
    const int date = run::date(record);
    const int runners = run::registeredRunners(record);
    if (!(period.contains(date) && run::ownPosition(record) > 0 && runners >= 1)) {
      continue;
    }
    for (int k = 1; k <= runners; ++k) {
      std::string_view name = run::entryName(record, k);
      if (isBlankName(name) || name != nameB) continue;
      // A margin is not formed from a missing time.
      const int ownTime = run::ownTime(record);
      const int opponentTime = run::entryTime(record, k);
      const int margin = ownTime != 0 && opponentTime != 0 ? opponentTime - ownTime : 0;

      std::vector<std::string> row = grid6::emptyRow();
      row[kDateA] = dateCell(record);
      row[kTrackA] = trackCell(record);
      row[kNameA] = nameA;
      row[kWeightA] = weightCell(past_run::kWeightCarried.in(record));
      row[kPositionA] = positionCell(run::ownPosition(record));
      row[kTimeA] = timeCell(past_run::kRaceTime.in(record));
      row[kOpponentA] = name;
      row[kOpponentWeightA] = weightCell(run::entryWeightField(record, k));
      row[kOpponentPositionA] = positionCell(k);
      row[kOpponentTimeA] = timeCell(run::entryTimeField(record, k));
      row[kRawMarginA] = rawMarginText(margin);
      result.grid.rows.push_back(std::move(row));
      ++result.rowCount;
    }
  }

  if (result.grid.rows.empty()) {
    result.grid.rows.push_back(grid6::emptyRow());
    result.grid.rows.front()[kDateA] = noMatchText();
  }
  return result;
}

}  // namespace orvalle::analysis
