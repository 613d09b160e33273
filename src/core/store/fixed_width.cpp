#include "store/fixed_width.h"

#include <cstdarg>
#include <cstdio>
#include <limits>

#include "store/cp932.h"

namespace orvalle::store {
namespace {

constexpr std::string_view kFullWidthBlank = "\x81\x40";

bool isTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Byte length of the character starting at `i`.
size_t charLength(std::string_view text, size_t i) {
  if (cp932::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) return 2;
  return 1;
}

}  // namespace

std::string_view field(std::string_view text, int position, int length) {
  if (position < 1 || length <= 0) return {};
  auto start = static_cast<size_t>(position - 1);
  if (start >= text.size()) return {};
  return text.substr(start, static_cast<size_t>(length));
}

int toInt(std::string_view text) {
  text = trim(text);
  if (text.empty()) return 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int>::max()) return 0;
  }
  return static_cast<int>(negative ? -value : value);
}

bool isBlank(std::string_view text) {
  for (char c : text) {
    if (c != ' ') return false;
  }
  return true;
}

std::string_view trim(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && isTrimmed(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && isTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view trimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && isTrimmed(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string fitWidth(std::string_view text, size_t width) {
  // Find where the text is cut (never inside a two-byte character), then
  // copy once: records are hundreds of bytes and this runs for every one.
  size_t end = 0;
  while (end < text.size() && end < width) {
    const size_t n = charLength(text, end);
    if (end + n > width) break;
    end += n;
  }
  std::string out;
  out.reserve(width);
  out.append(text.substr(0, end));
  out.resize(width, ' ');
  return out;
}

std::string fitWidthRight(std::string_view text, size_t width) {
  if (text.size() >= width) return fitWidth(text, width);
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string withoutFullWidthBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t n = charLength(text, i);
    std::string_view ch = text.substr(i, n);
    if (ch != kFullWidthBlank) out.append(ch);
    i += n;
  }
  return out;
}

std::string numberInOwnWidth(std::string_view numericField) {
  return numberInWidth(toInt(numericField), static_cast<int>(numericField.size()), false);
}

std::string numberInWidth(int value, int width, bool emptyForZero) {
  if (value == 0)
    return emptyForZero ? std::string() : std::string(static_cast<size_t>(width), ' ');
  return format("%*d", width, value);
}

std::string horseName18(std::string_view name) {
  std::string out(trim(name));
  while (out.size() < 18) out.append(kFullWidthBlank);
  return fitWidth(out, 18);
}

std::string overwrite(std::string_view text, int position, std::string_view replacement) {
  std::string out(text);
  if (position < 1) return out;
  auto start = static_cast<size_t>(position - 1);
  if (start > out.size()) start = out.size();
  out.erase(start, replacement.size());
  out.insert(start, replacement);
  return out;
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out;
  if (length > 0) {
    out.resize(static_cast<size_t>(length));
    std::vsnprintf(out.data(), out.size() + 1, fmt, args);
  }
  va_end(args);
  return out;
}

}  // namespace orvalle::store
