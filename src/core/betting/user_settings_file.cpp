#include "betting/user_settings_file.h"

#include "store/error.h"
#include "store/text_file.h"

namespace orvalle::betting {

std::optional<std::vector<std::string>> readUserSettingLines(const std::filesystem::path& path) {
  std::optional<std::string> bytes = store::readFileBytes(path);
  if (!bytes) return std::nullopt;
  return store::splitLines(*bytes);
}

void writeUserSettingLines(const std::filesystem::path& path,
                           const std::vector<std::string>& lines) {
  // Line breaks would make two settings of one. Other bytes of a stored
  // line (a NUL that ends its reading) are written back as they were read.
  for (const std::string& line : lines) {
    if (line.find_first_of("\r\n") != std::string::npos) {
      throw Error("改行を含む設定は書き込めません: " + path.string());
    }
  }
  store::writeLines(path, lines);
}

}  // namespace orvalle::betting
