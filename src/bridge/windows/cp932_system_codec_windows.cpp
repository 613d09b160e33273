#include <windows.h>

#include "store/cp932_system_codec.h"

// The conversion of one CP932 character by Windows' code page 932.
namespace orvalle::cp932 {

namespace {
constexpr UINT kCodePage = 932;
}

std::optional<char16_t> systemDecode(std::string_view character) {
  wchar_t units[2] = {};
  const int count = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, character.data(),
                                        static_cast<int>(character.size()), units, 2);
  if (count != 1) return std::nullopt;
  return static_cast<char16_t>(units[0]);
}

std::optional<std::string> systemEncode(char16_t unit) {
  const wchar_t wide = static_cast<wchar_t>(unit);
  char bytes[4] = {};
  BOOL usedDefault = FALSE;
  const int count = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                        sizeof bytes, nullptr, &usedDefault);
  if (count <= 0 || usedDefault) return std::nullopt;
  return std::string(bytes, static_cast<size_t>(count));
}

}  // namespace orvalle::cp932
