#include "betting/odds_ceiling.h"

#include "store/fixed_width.h"

namespace orvalle::betting {

std::string oddsCeilingStoredMessage(double ceiling) {
  return "ｵｯｽﾞの上限を" + store::format("%4.1f", ceiling) + "に指定しました。";
}

}  // namespace orvalle::betting
