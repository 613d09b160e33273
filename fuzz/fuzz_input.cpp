#include "fuzz_input.h"

namespace orvalle::fuzz {

std::vector<std::string_view> splitFiles(std::string_view input, size_t minimumParts,
                                         size_t maximumParts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maximumParts) {
    const size_t at = input.find(kFileSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kFileSeparator.size());
  }
  parts.push_back(input);
  while (parts.size() < minimumParts) parts.emplace_back();
  return parts;
}

MemoryHome::MemoryHome() {
  for (const char* folder : {"/home", "/home/DATA", "/home/SEI", "/home/yLZH"}) {
    m_files.createFolder(folder);
  }
}

}  // namespace orvalle::fuzz
