#pragma once

#include <string>
#include <string_view>

#include "store/error.h"

// What the user types (a horse name in Edit1, a setting line, a value) or
// names on the command line (a day), read for the core: one reading and one
// message for each, whichever front end it comes from.
namespace orvalle::app {

// A value read from the user's text, or the message why it is refused.
struct [[nodiscard]] Input {
  std::string value;
  Status status;

  bool ok() const { return status.ok(); }
  explicit operator bool() const { return status.ok(); }
};

// Typed UTF-8 text as the core keeps text, CP932, converted exactly: fails
// with "値が UTF-8 の文字列ではありません。" for text that is not UTF-8 and with
// "値に Shift-JIS (CP932) で表せない文字が含まれています。" for a character
// CP932 does not have, rather than storing "?" in its place.
Input cp932Input(std::string_view utf8Text);

// The day stem "yyyy年mm月dd日" (UTF-8) of a day named as a stem or as
// yyyymmdd, either of a calendar date; fails with "日付は yyyymmdd か
// yyyy年mm月dd日 で指定してください: " and the text otherwise.
Input dayInput(std::string_view text);

}  // namespace orvalle::app
