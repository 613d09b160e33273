#include "store/text_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "store/atomic_file.h"
#include "store/error.h"

namespace orvalle::store {

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    // Only a file that is not there is missing; one whose folder cannot be
    // searched is unreadable.
    if (ec)
      throw Error("ファイルを読み込めませんでした: " + path.string() + " (" + ec.message() + ")");
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw Error("ファイルを読み込めませんでした: " + path.string() + " (" + std::strerror(errno) +
                ")");
  }
  std::string bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    // libstdc++ reports a read error (a folder, EIO) by throwing from the
    // stream buffer, whatever the stream's exception mask.
    in.setstate(std::ios::badbit);
  }
  if (in.bad()) throw Error("ファイルを読み込めませんでした: " + path.string());
  return bytes;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> readLines(const std::filesystem::path& path) {
  auto bytes = readFileBytes(path);
  if (!bytes) return {};
  return splitLines(*bytes);
}

std::string joinLines(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& line : lines) {
    out.append(line);
    out.append("\r\n");
  }
  return out;
}

void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  writeFileAtomicallyOrThrow(path, joinLines(lines));
}

int compareCaseInsensitive(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace orvalle::store
