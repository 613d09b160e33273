#include "analysis/two_horse_comparison.h"

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

// A past run of B that can pair with runs of A.
struct RunOfB {
  std::string_view record;
  int runners = 0;
};

// The counters and the grid of one run of the command.
class RowWriter {
 public:
  RowWriter(TwoHorseResult& result, std::string_view nameA, std::string_view nameB,
            checks::TodayWeights weights)
      : m_result(result), m_nameA(nameA), m_nameB(nameB), m_weights(weights) {}

  // One comparison row: opponent entry k of A's run and entry m of B's run.
  void add(std::string_view runA, int k, std::string_view runB, int m) {
    const SideMargins left =
        sideMargins(run::ownTime(runA), run::ownWeight(runA), run::entryTime(runA, k),
                    run::entryWeight(runA, k), m_weights.a, m_weights.b);
    const SideMargins right =
        sideMargins(run::ownTime(runB), run::ownWeight(runB), run::entryTime(runB, m),
                    run::entryWeight(runB, m), m_weights.b, m_weights.a);
    const RowDecision decision = decideRow(left.adjusted, right.adjusted);

    std::vector<std::string> row = grid6::emptyRow();
    row[kDateA] = dateCell(runA);
    row[kTrackA] = trackCell(runA);
    row[kNameA] = m_nameA;
    row[kWeightA] = weightCell(past_run::kWeightCarried.in(runA));
    row[kPositionA] = positionCell(run::ownPosition(runA));
    row[kTimeA] = timeCell(past_run::kRaceTime.in(runA));
    row[kOpponentA] = run::entryName(runA, k);
    row[kOpponentWeightA] = weightCell(run::entryWeightField(runA, k));
    row[kOpponentPositionA] = positionCell(k);
    row[kOpponentTimeA] = timeCell(run::entryTimeField(runA, k));
    row[kRawMarginA] = rawMarginText(left.raw);
    row[kCorrectedMarginA] = marginText(left.corrected);
    row[kAdjustedMarginA] = marginText(left.adjusted);
    if (decision.firstBetter) row[kDecisionA] = markText(kDecisionA);
    if (decision.firstOwnMinus) row[kOwnMinusA] = markText(kOwnMinusA);

    row[kDateB] = dateCell(runB);
    row[kTrackB] = trackCell(runB);
    row[kOpponentB] = run::entryName(runB, m);
    row[kOpponentWeightB] = weightCell(run::entryWeightField(runB, m));
    row[kOpponentPositionB] = positionCell(m);
    row[kOpponentTimeB] = timeCell(run::entryTimeField(runB, m));
    row[kNameB] = m_nameB;
    row[kWeightB] = weightCell(past_run::kWeightCarried.in(runB));
    row[kPositionB] = positionCell(run::ownPosition(runB));
    row[kTimeB] = timeCell(past_run::kRaceTime.in(runB));
    row[kRawMarginB] = rawMarginText(right.raw);
    row[kCorrectedMarginB] = marginText(right.corrected);
    row[kAdjustedMarginB] = marginText(right.adjusted);
    if (decision.secondBetter) row[kDecisionB] = markText(kDecisionB);
    if (decision.secondOwnMinus) row[kOwnMinusB] = markText(kOwnMinusB);

    m_result.grid.rows.push_back(std::move(row));
    ++m_result.rowCount;
    if (decision.firstBetter) ++m_result.firstAhead;
    if (decision.secondBetter) ++m_result.secondAhead;
    if (decision.firstOwnMinus) ++m_result.firstOwnMinus;
    if (decision.secondOwnMinus) ++m_result.secondOwnMinus;
  }

 private:
  TwoHorseResult& m_result;
  std::string m_nameA;
  std::string m_nameB;
  checks::TodayWeights m_weights;
};

}  // namespace

std::optional<std::string> TwoHorseResult::countLabel() const {
  return checks::countLabel(rowCount);
}

std::string TwoHorseResult::pt1Label() const { return store::format("%3d", firstAhead); }
std::string TwoHorseResult::pt2Label() const { return store::format("%3d", secondAhead); }
std::string TwoHorseResult::dpt1Label() const { return store::format("%3d", firstOwnMinus); }
std::string TwoHorseResult::dpt2Label() const { return store::format("%3d", secondOwnMinus); }

TwoHorseResult compareTwoHorses(const ComparisonRequest& request) {
  TwoHorseResult result;
  if (result.status = checks::namesGiven(request); !result.status) return result;
  checks::TodayWeights weights;
  if (result.status = checks::weightsGiven(request, weights); !result.status) return result;
  const std::string nameA = store::horseName18(request.nameA);
  const std::string nameB = store::horseName18(request.nameB);
  const auto fileA = checks::existingPastRunFile(request.seiFolder, request.registrationA);
  if (!fileA) {
    result.status = Status::failure(checks::missingFileMessage(nameA));
    return result;
  }
  const auto fileB = checks::existingPastRunFile(request.seiFolder, request.registrationB);
  if (!fileB) {
    result.status = Status::failure(checks::missingFileMessage(nameB));
    return result;
  }

  const auto period = model::PastRunPeriod::of(request.raceDate, request.periodDays, false);
  auto holdsBoth = [&](std::string_view record, int runners) {
    return run::fieldHolds(record, runners, nameA) && run::fieldHolds(record, runners, nameB);
  };

  checks::PastRunRecords runsA;
  checks::PastRunRecords runsB;
  checks::readPastRunRecords(*fileA, runsA);
  checks::readPastRunRecords(*fileB, runsB);

  // The runs of B that every opponent of A is looked up in, in file order.
  std::vector<RunOfB> eligibleB;
  for (std::string_view record : runsB.records) {
    if (!period.contains(run::date(record)) || run::ownPosition(record) <= 0) continue;
    const int runners = run::registeredRunners(record);
    if (holdsBoth(record, runners)) continue;
    eligibleB.push_back({record, runners});
  }

  result.grid = emptyGrid();
  RowWriter writer(result, nameA, nameB, weights);
  for (std::string_view runA : runsA.records) {
    const int runners = run::registeredRunners(runA);
    if (!period.contains(run::date(runA)) || holdsBoth(runA, runners) ||
        run::ownPosition(runA) < 1 || runners < 1) {
      continue;
    }
    for (int k = 1; k <= runners; ++k) {
      std::string_view opponent = run::entryName(runA, k);
      if (isBlankName(opponent) || opponent == nameA || opponent == nameB) continue;
      for (const RunOfB& runB : eligibleB) {
        for (int m = 1; m <= runB.runners; ++m) {
          if (run::entryName(runB.record, m) == opponent) writer.add(runA, k, runB.record, m);
        }
      }
    }
  }

  if (result.grid.rows.empty()) {
    result.grid.rows.push_back(grid6::emptyRow());
    result.grid.rows.front()[kDateA] = noMatchText();
  }
  return result;
}

}  // namespace orvalle::analysis
