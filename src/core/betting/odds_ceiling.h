#pragma once

#include <string>
#include <string_view>

namespace orvalle::betting {

// The odds ceiling of the reverse ranks: among the runners whose predicted
// odds are above 0 and not above it, those with the fewest wins or win
// points rank first (stored as "OddsSpan"/"ceil", "%4.1f").
inline constexpr double kDefaultOddsCeiling = 10.0;

// The range the odds-ceiling dialog accepts, with its messages (UTF-8).
inline constexpr double kOddsCeilingMinimum = 1.0;
inline constexpr double kOddsCeilingMaximum = 20.0;
inline constexpr std::string_view kOddsCeilingEmptyMessage = "入力がありません。";
inline constexpr std::string_view kOddsCeilingBelowMessage = "１倍未満のｵｯｽﾞは指定できません。";
inline constexpr std::string_view kOddsCeilingAboveMessage = "２０倍越のｵｯｽﾞは指定できません。";

// What the dialog reports after storing a ceiling (UTF-8):
// "ｵｯｽﾞの上限を" + the value "%4.1f" + "に指定しました。".
std::string oddsCeilingStoredMessage(double ceiling);

}  // namespace orvalle::betting
