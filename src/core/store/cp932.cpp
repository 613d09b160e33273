#include "store/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace orvalle::cp932 {
namespace {

// One iconv descriptor per direction and thread: descriptors keep state and
// must not be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts text; at an invalid or unconvertible sequence appends
  // `replacement` and skips `skipBytes(rest)` input bytes.
  template <typename Skip>
  std::string convert(std::string_view text, std::string_view replacement, Skip skipBytes) {
    std::string out;
    out.reserve(text.size() * 3 / 2 + 8);
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t result = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (result != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated sequence at the end): replace and skip.
      out.append(replacement);
      size_t skip = skipBytes(std::string_view(in, inLeft));
      in += skip;
      inLeft -= skip;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t m_cd;
};

size_t utf8SequenceLength(std::string_view rest) {
  auto byte = static_cast<unsigned char>(rest[0]);
  size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
  // Skip only the bytes that belong to the sequence.
  size_t n = 1;
  while (n < length && n < rest.size() && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) {
    ++n;
  }
  return n;
}

}  // namespace

std::string toUtf8(std::string_view cp932Text) {
  thread_local Converter converter("UTF-8", "CP932");
  return converter.convert(cp932Text, "\xEF\xBF\xBD", [](std::string_view) { return size_t{1}; });
}

std::string fromUtf8(std::string_view utf8Text) {
  thread_local Converter converter("CP932", "UTF-8");
  return converter.convert(utf8Text, "?", utf8SequenceLength);
}

std::optional<std::string> fromUtf8Exactly(std::string_view utf8Text) {
  if (!isValidUtf8(utf8Text)) return std::nullopt;
  thread_local Converter converter("CP932", "UTF-8");
  bool exact = true;
  std::string converted = converter.convert(utf8Text, "", [&exact](std::string_view rest) {
    exact = false;
    return utf8SequenceLength(rest);
  });
  if (!exact) return std::nullopt;
  return converted;
}

bool isValid(std::string_view cp932Text) {
  thread_local Converter converter("UTF-8", "CP932");
  bool valid = true;
  converter.convert(cp932Text, "", [&valid](std::string_view) {
    valid = false;
    return size_t{1};
  });
  return valid;
}

bool isValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<unsigned char>(text[i]);
    size_t length;
    if (byte < 0x80) {
      length = 1;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
      length = 2;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      length = 3;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      length = 4;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace orvalle::cp932
