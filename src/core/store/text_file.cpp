#include "store/text_file.h"

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/file_system.h"

namespace orvalle::store {

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
  std::unique_ptr<ReadableFile> file = openFile(path);
  if (!file) return std::nullopt;
  std::string bytes(static_cast<size_t>(file->size()), '\0');
  bytes.resize(file->readAt(0, bytes.data(), bytes.size()));
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
