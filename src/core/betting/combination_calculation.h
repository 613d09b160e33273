#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "betting/user_settings.h"
#include "model/day_tables.h"

namespace orvalle::betting {

// The rank criteria a rule may name, each selecting a per-runner rank of
// the race analysis record (rank 1 is the best).
enum class RankCriterion {
  kPointWinRate,      // "pt勝率": highest point win rate
  kWinRate,           // "勝率": highest win rate
  kPopularity,        // "単人気": lowest predicted odds
  kWinCountReverse,   // "勝数逆順": fewest wins among the popular runners
  kWinPointsReverse,  // "勝pt逆順": fewest win points among the popular runners
  kWinCount,          // "勝数": most wins
};

// The criterion named by a text (CP932, compared exactly), or nullopt for
// any other text.
std::optional<RankCriterion> rankCriterionOf(std::string_view cp932Text);

// Completes the ranks of the first `runners` runners of a race (0..18;
// more throws orvalle::Error):
// - win-count reverse rank and win-points reverse rank: over the runners
//   with wins (win points) above 0 and predicted odds above 0 and not above
//   `oddsCeiling`, rank 1 the fewest, ties to the lower predicted-odds rank,
//   then the lower horse number (the text lines "%10d" count + "%10d" odds
//   rank + "%2d" horse number, sorted); every other runner gets 0;
// - win-count rank: over the runners with wins above 0, rank 1 the most,
//   ties to the higher point win rate, then the higher horse number (lines
//   "%10d" wins + "%10.5f" point win rate + "%2d" horse number, sorted, the
//   last line rank 1). Every other runner slot of the record gets 0, so a
//   runner without wins never keeps a rank of a race loaded before.
void completeRanks(model::RaceAnalysis& analysis, int runners, double oddsCeiling);

// Rank lookup: the lowest horse number 1..18 whose rank of `criterion`
// (CP932) equals the rank of `rankText` (its decimal value, blanks around it
// ignored; a text that is not a number counts 0). 0 when the rank is not
// above 0, the criterion is none of the six, or no runner has that rank.
int lookUpRank(const model::RaceAnalysis& analysis, std::string_view criterion,
               std::string_view rankText);

// Combination texts (ASCII): horse numbers "%2d" joined by "-". A trio
// sorted ascending (" 3- 7-12"), a pair sorted ascending, an ordered pair
// with the first horse first ("12- 3"). Empty unless every number is 1..99
// and the numbers are distinct.
std::string trioText(int a, int b, int c);
std::string pairText(int a, int b);
std::string orderedText(int first, int second);

// Forms the combinations of one race with `setting`, replacing its
// combination texts and the numbers of combinations of its trio, quinella
// and exacta tallies (its hit flags and payouts are left alone):
// - axis 1, axis 2 and partners 1..10 by lookUpRank (0 = nobody);
// - trios: with two different axes, each partner different from both gives
//   trio(axis 1, axis 2, partner); with the popularity-trio flag,
//   trio(単人気 1, 単人気 2, pt勝率 1) and trio(単人気 1, 単人気 2, pt勝率 2)
//   where the three horses exist and differ;
// - quinellas (also staked as quinella place) and exactas: with axis 1,
//   axis 1 with each partner other than axis 1, then with axis 2 when it
//   differs from axis 1;
// each list sorted (store::CaseInsensitiveLess) without duplicates and
// stored from combination 1 on (at most 12 trios, 11 pairs).
void formCombinations(model::RaceAnalysis& analysis, const UserSetting& setting);

// True for a race whose youngest-age condition code is 701 (新馬) or 702
// (未出走): such races get no combinations and are not scored.
bool isDebutRace(std::string_view raRecord);

// The combination calculation of the loaded day: empties every combination
// text and score of the 36 race slots and zeroes the day tallies, then for
// every non-empty race slot completes its ranks with `oddsCeiling` and,
// unless it is a debut race (isDebutRace), forms its combinations with
// `setting` and scores it (scoreRace). Running it twice gives the same
// result. Throws orvalle::Error when a race has more than 18 registered
// runners.
void calculateCombinations(model::DayTables& tables, double oddsCeiling,
                           const UserSetting& setting);

}  // namespace orvalle::betting
