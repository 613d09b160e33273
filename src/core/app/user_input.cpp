#include "app/user_input.h"

#include <optional>

#include "store/cp932.h"
#include "store/day_file_names.h"

namespace orvalle::app {

Input cp932Input(std::string_view utf8Text) {
  if (!cp932::isValidUtf8(utf8Text)) {
    return {{}, Status::failure("値が UTF-8 の文字列ではありません。")};
  }
  std::optional<std::string> converted = cp932::fromUtf8Exactly(utf8Text);
  if (!converted) {
    return {{}, Status::failure("値に Shift-JIS (CP932) で表せない文字が含まれています。")};
  }
  return {std::move(*converted), Status::success()};
}

Input dayInput(std::string_view text) {
  std::optional<std::string> stem = store::parseDay(text);
  if (!stem) {
    return {{},
            Status::failure("日付は yyyymmdd か yyyy年mm月dd日 で指定してください: " +
                            std::string(text))};
  }
  return {std::move(*stem), Status::success()};
}

}  // namespace orvalle::app
