#include <iconv.h>

#include <stdexcept>

#include "store/cp932_system_codec.h"

namespace orvalle::cp932 {
namespace {

// Converts `in` completely or not at all.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
  thread_local struct Descriptors {
    iconv_t decode = iconv_open("UTF-16LE", "CP932");
    iconv_t encode = iconv_open("CP932", "UTF-16LE");
    ~Descriptors() {
      iconv_close(decode);
      iconv_close(encode);
    }
  } descriptors;
  iconv_t cd = std::string_view(to) == "UTF-16LE" ? descriptors.decode : descriptors.encode;
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buffer[8];
  char* input = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* output = buffer;
  size_t outLeft = sizeof buffer;
  if (iconv(cd, &input, &inLeft, &output, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
    return std::nullopt;
  }
  return std::string(buffer, static_cast<size_t>(output - buffer));
}

}  // namespace

std::optional<char16_t> systemDecode(std::string_view character) {
  const auto utf16 = convert("UTF-16LE", "CP932", character);
  if (!utf16 || utf16->size() != 2) return std::nullopt;
  return static_cast<char16_t>(static_cast<unsigned char>((*utf16)[0]) |
                               static_cast<unsigned char>((*utf16)[1]) << 8);
}

std::optional<std::string> systemEncode(char16_t unit) {
  const char bytes[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  auto cp932 = convert("CP932", "UTF-16LE", std::string_view(bytes, 2));
  if (!cp932 || cp932->empty()) return std::nullopt;
  return cp932;
}

}  // namespace orvalle::cp932
