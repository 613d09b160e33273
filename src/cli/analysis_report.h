#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <vector>

#include "app/command_result.h"
#include "app/day_report.h"

namespace orvalle::cli {

// A runner's figures as JSON: rates of -1.0 and missing odds are null.
nlohmann::json horseJson(const app::HorseReport& horse);

// A race's header: its four race-card lines ("lines") and their fields
// decoded; empty texts and missing numbers are null.
nlohmann::json raceHeaderJson(const app::RaceHeaderReport& header);

// A race's payout block: per bet type ("win" ... "trio") the paid
// combinations with their numbers, text, payout and popularity; null before
// the payouts are in.
nlohmann::json payoutsJson(const std::optional<std::vector<app::PaidCombination>>& payouts);

// The loaded and analysed day as JSON (UTF-8): every race of the race list
// with its runners' figures, its pairs, its stored combinations and the day
// tallies. Rates of -1.0 and missing odds are null; counts and ranks of 0
// stay 0. The messages the loading and analysis gave, when there are any,
// are the texts of "notices".
nlohmann::json analysisJson(const app::DayReport& report,
                            const std::vector<app::Notice>& notices = {});

// Adds the texts of `notices`, when there are any, as "notices" to a JSON
// object.
void addNotices(nlohmann::json& object, const std::vector<app::Notice>& notices);

// The same as a short text: per race its race-list line, runner count and
// the three best runners by point win rate, then the day tallies.
void printAnalysisSummary(std::ostream& out, const app::DayReport& report);

}  // namespace orvalle::cli
