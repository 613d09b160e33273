#include "output/results_panel.h"

#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"

namespace orvalle::output {
namespace {

using store::BetType;

// The first 3-D label of the win to quinella place groups; exacta and trio
// have named labels.
int firstLabelNumber(BetType type) {
  switch (type) {
    case BetType::kWin:
      return 19;
    case BetType::kPlace:
      return 32;
    case BetType::kBracketQuinella:
      return 51;
    case BetType::kQuinella:
      return 64;
    case BetType::kQuinellaPlace:
      return 77;
    case BetType::kExacta:
    case BetType::kTrio:
      break;
  }
  return 0;
}

ResultsEntryTexts shownEntry(std::string result, const store::PayoutEntry& entry) {
  return {std::move(result), store::format("%2d", entry.popularity),
          store::format("%8d", entry.payout)};
}

// The zero text of a combination bet type: what an entry of zeros would
// read as.
std::string_view zeroText(BetType type) {
  return type == BetType::kTrio ? std::string_view(" 0- 0- 0") : std::string_view(" 0- 0");
}

}  // namespace

ResultsGroupTexts resultsGroupTexts(const store::PayoutBlock& payouts, BetType type) {
  ResultsGroupTexts group;
  group.type = type;
  const int count = store::PayoutBlock::count(type);
  group.entries.resize(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    const store::PayoutEntry& entry = payouts.at(type, k);
    ResultsEntryTexts& texts = group.entries[static_cast<size_t>(k)];
    if (type == BetType::kWin || type == BetType::kPlace) {
      if (entry.horseNumber != 0)
        texts = shownEntry(store::format("%2d", entry.horseNumber), entry);
    } else if (!store::isBlank(entry.combination) && entry.combination != zeroText(type)) {
      texts = shownEntry(entry.combination, entry);
    }
  }
  return group;
}

std::array<ResultsGroupTexts, kResultsGroupCount> resultsPanelTexts(
    const store::PayoutBlock& payouts) {
  std::array<ResultsGroupTexts, kResultsGroupCount> groups;
  for (int g = 0; g < kResultsGroupCount; ++g) {
    groups[static_cast<size_t>(g)] = resultsGroupTexts(payouts, kResultsGroupLayouts[g].type);
  }
  return groups;
}

const std::string& resultsGroupCaption(BetType type) {
  static const std::array<std::string, kResultsGroupCount> kCaptions = {
      sj("単勝"), sj("複勝"), sj("枠連"), sj("馬連"), sj("ﾜｲﾄﾞ"), sj("馬単"), sj("三連複")};
  return kCaptions[static_cast<size_t>(type)];
}

const std::string& resultsRowCaption(ResultsRow row) {
  static const std::array<std::string, 3> kCaptions = {sj("結果："), sj("人気："), sj("配当：")};
  return kCaptions[static_cast<size_t>(row)];
}

std::string resultsBoxName(BetType type, ResultsRow row, int entry) {
  const int count = store::PayoutBlock::count(type);
  if (entry < 0 || entry >= count) {
    throw Error("範囲外の番号です: results entry " + std::to_string(entry) + " (0-" +
                std::to_string(count - 1) + ")");
  }
  const int r = static_cast<int>(row);
  if (type == BetType::kExacta || type == BetType::kTrio) {
    static const char* const kExacta[] = {"UTLabel", "UTNLabel", "UTHLabel"};
    static const char* const kTrio[] = {"SFLabel", "SFNLabel", "SFHLabel"};
    return std::string(type == BetType::kExacta ? kExacta[r] : kTrio[r]) +
           std::to_string(entry + 1);
  }
  return "Label3D" + std::to_string(firstLabelNumber(type) + r * (count + 1) + 1 + entry);
}

std::string resultsRowCaptionName(BetType type, ResultsRow row) {
  if (type == BetType::kExacta || type == BetType::kTrio) return {};
  const int count = store::PayoutBlock::count(type);
  return "Label3D" + std::to_string(firstLabelNumber(type) + static_cast<int>(row) * (count + 1));
}

}  // namespace orvalle::output
