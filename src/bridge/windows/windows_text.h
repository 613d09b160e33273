#pragma once

#include <windows.h>

#include <string>

namespace orvalle::bridge {

// Windows' UTF-16 text as UTF-8, the text of the program's messages.
inline std::string utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
  return out;
}

}  // namespace orvalle::bridge
