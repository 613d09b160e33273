// LHA archives as the odds import unpacks them: every member, and only the
// members a caller wants.
// Input: the archive. The first byte also chooses whether every member is
// wanted (even) or only the predicted-odds text files (odd); it stays part
// of the archive.

#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "output/lha_archive.h"
#include "output/predicted_odds_import.h"
#include "store/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvalle;
  fuzz::MemoryHome home;
  const std::filesystem::path archive = "/home/yLZH/x.lzh";
  home.files().putFile(archive, std::string(fuzz::inputText(data, size)));

  std::function<bool(std::string_view)> wanted;
  if (size > 0 && (data[0] & 1) != 0) {
    wanted = [](std::string_view name) {
      return name == output::kKolTextFileName || name.starts_with("Oz");
    };
  }
  try {
    const output::LhaExtraction extraction =
        output::extractLhaArchive(archive, "/home/yLZH", wanted);
    // Every file written is in the folder, and nothing is written elsewhere.
    const auto files = home.files().snapshot("/home");
    for (const std::string& name : extraction.extracted) {
      if (files.find("yLZH/" + name) == files.end()) __builtin_trap();
    }
    for (const auto& [path, content] : files) {
      if (path.ends_with('/')) continue;  // the home's folders
      if (!path.starts_with("yLZH/") || path.find('/', 5) != std::string::npos) __builtin_trap();
    }
  } catch (const Error&) {
  }
  return 0;
}
