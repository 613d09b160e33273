#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/grid_view.h"
#include "store/error.h"

namespace orvalle::analysis {

// What the two-horse and the head-to-head comparison take from the main
// window: the two horses as picked on the race card (or typed), the current
// race's date and the past-run period. Texts are CP932.
struct ComparisonRequest {
  std::string nameA;          // Edit1
  std::string nameB;          // Edit2
  std::string weightA;        // kinryoAlabel, today's weight carried as shown ("55.0")
  std::string weightB;        // kinryoBlabel
  std::string registrationA;  // comparison horse A: names A's past-run file
  std::string registrationB;  // comparison horse B
  // The runs compared lie in the past-run period of the current race
  // (model::PastRunPeriod, dates never ignored).
  int raceDate = 0;       // yyyymmdd of the current race
  int periodDays = 1826;  // "DataSpan"/"period"
  std::filesystem::path seiFolder;
};

// The outcome of a two-horse comparison. When `status` failed, it carries
// the message to show and nothing else is set: the grid and the labels keep
// what they showed.
struct TwoHorseResult {
  Status status;
  // StringGrid6: the comparison rows, or a single row reading "該当ナシ"
  // when there was none.
  model::GridView grid;
  int rowCount = 0;
  int firstAhead = 0;      // pt1Label: rows with SA > SB
  int secondAhead = 0;     // pt2Label: rows with SB > SA
  int firstOwnMinus = 0;   // dpt1Label: rows with SA >= 0 > SB
  int secondOwnMinus = 0;  // dpt2Label: rows with SB >= 0 > SA

  // CtLabel "該当数：" n (CP932); nullopt when no row was listed, the label
  // then keeps its old text.
  std::optional<std::string> countLabel() const;
  // The four count labels, "%3d".
  std::string pt1Label() const;
  std::string pt2Label() const;
  std::string dpt1Label() const;
  std::string dpt2Label() const;
};

// The two-horse comparison: rates horse A against horse B through the
// common opponents of their past runs dated after the period start and
// before the race date, one grid row per pairing of a run of A and a run of
// B with the same opponent (runs holding both horses are left out). Checks,
// in order: both names given ("２頭の馬名の入力をしてください。"), both weights
// given and numbers ("斤量の情報が入力されていません。"), A's then B's past-run
// file present (the 18-byte name + "の馬過去走データが見つかりません。"). Throws
// orvalle::Error when a past-run file exists but cannot be read.
[[nodiscard]] TwoHorseResult compareTwoHorses(const ComparisonRequest& request);

}  // namespace orvalle::analysis
