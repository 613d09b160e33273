#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalle::app {

// The home folder: the folder every file of the program lives under (day
// files, past-run and prediction files, archives, the settings file, the user
// combination settings file). Folders and files of Windows origin are found in
// any letter case, so a home copied from Windows ("Data", "data") is used as
// it stands.
class Home {
 public:
  // Reads one environment variable; nullopt when it is not set.
  using Environment = std::function<std::optional<std::string>(const char* name)>;

  // The process environment.
  static std::optional<std::string> processEnvironment(const char* name);

  // The home folder, decided without touching the disk: `homeOption` when
  // not empty (the --home option), else $ORVALLE_HOME, else
  // $XDG_DATA_HOME/orvalle (only an absolute $XDG_DATA_HOME counts), else
  // $HOME/.local/share/orvalle. Empty variables count as not set. The result
  // is absolute and has no trailing separator. Throws orvalle::Error when
  // none of them gives a folder.
  static std::filesystem::path resolve(std::string_view homeOption,
                                       const Environment& environment = processEnvironment);

  // A home at `root` (used as given; nothing is created).
  explicit Home(std::filesystem::path root);

  const std::filesystem::path& root() const { return m_root; }

  // Creates the home folder (with its parents) and the folders DATA, SEI and
  // yLZH where they do not exist; an existing folder of another letter case
  // is kept and used. Throws orvalle::Error naming the folder when one cannot
  // be created or the name is taken by something that is not a folder.
  void init() const;

  // Creates the home folder (with its parents) where it does not exist.
  // Throws orvalle::Error when it cannot be created.
  void ensureRoot() const;

  // The folders of the home: the existing folder of that name in any letter
  // case, else the path of the canonical name (which may not exist yet).
  std::filesystem::path dataFolder() const;      // "DATA": day files, predicted-odds day files
  std::filesystem::path seiFolder() const;       // "SEI": past-run and prediction files
  std::filesystem::path lzhFolder() const;       // "yLZH": predicted-odds archives
  std::filesystem::path hpUploadFolder() const;  // "HPupload": hit report files

  // Creates the folder `name` of the home (reusing one of another letter
  // case) and returns its path. For folders made only when a command needs
  // them (HPupload). Throws orvalle::Error when it cannot be created.
  std::filesystem::path ensureFolder(std::string_view name) const;

  // The settings file "orvalle.ini".
  std::filesystem::path iniPath() const;
  // The user combination settings file "UserSet.usd" (found in any letter case).
  std::filesystem::path userSetPath() const;
  // The marker file "MasterControlBrenn.key" (found in any letter case).
  std::filesystem::path markerPath() const;

  // True when the marker file exists, whatever its content (also empty): the
  // hit-report mode is on. Nothing reads the file's content.
  bool hitReportMode() const;

  // Canonical names of the folders and files.
  static constexpr std::string_view kDataFolderName = "DATA";
  static constexpr std::string_view kSeiFolderName = "SEI";
  static constexpr std::string_view kLzhFolderName = "yLZH";
  static constexpr std::string_view kHpUploadFolderName = "HPupload";
  static constexpr std::string_view kIniFileName = "orvalle.ini";
  static constexpr std::string_view kUserSetFileName = "UserSet.usd";
  static constexpr std::string_view kMarkerFileName = "MasterControlBrenn.key";

 private:
  // The entry `name` of the home: the exact name when it exists, else an
  // entry whose name equals it with the letters A-Z folded (the first in name
  // order; folders only when `folder`), else the exact name.
  std::filesystem::path entry(std::string_view name, bool folder) const;

  std::filesystem::path m_root;
};

// The days of the home from `from` to `to` (either may be empty), oldest
// first.
std::vector<std::string> daysOfRange(const Home& home, const std::string& from,
                                     const std::string& to);

}  // namespace orvalle::app
