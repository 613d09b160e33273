#include "store/code_tables.h"

#include "store/cp932.h"

namespace orvalle::store::codes {

// Provisional: the ten JRA racecourses in selector 2 only.
std::string racecourseName(std::string_view code, int selector) {
  static const char* const kNames[] = {"札幌", "函館", "福島", "新潟", "東京",
                                       "中山", "中京", "京都", "阪神", "小倉"};
  if (selector == 2 && code.size() == 2 && code[0] >= '0' && code[0] <= '1') {
    int n = (code[0] - '0') * 10 + (code[1] - '0');
    if (n >= 1 && n <= 10) return sj(kNames[n - 1]);
  }
  return "    ";
}

}  // namespace orvalle::store::codes
