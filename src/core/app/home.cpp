#include "app/home.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "store/atomic_file.h"
#include "store/day_file_names.h"
#include "store/error.h"
#include "store/file_system.h"
#include "store/text_file.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> nonEmpty(const Home::Environment& environment, const char* name) {
  std::optional<std::string> value = environment(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

fs::path absoluteWithoutTrailingSeparator(const fs::path& folder) {
  std::error_code ec;
  fs::path result = fs::absolute(folder, ec);
  if (ec) result = folder;
  result = result.lexically_normal();
  // "/a/b/" normalises to "/a/b/" with an empty file name; the home is held
  // without the trailing separator.
  if (!result.has_filename() && result.has_relative_path()) result = result.parent_path();
  return result;
}

Error folderError(const fs::path& folder, const std::string& reason) {
  return Error("フォルダを作成できませんでした: " + folder.string() + " (" + reason + ")");
}

}  // namespace

std::optional<std::string> Home::processEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

fs::path Home::resolve(std::string_view homeOption, const Environment& environment) {
  if (!homeOption.empty()) return absoluteWithoutTrailingSeparator(fs::path(homeOption));
  if (auto home = nonEmpty(environment, "ORVALLE_HOME")) {
    return absoluteWithoutTrailingSeparator(fs::path(*home));
  }
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
  if (auto xdg = nonEmpty(environment, "XDG_DATA_HOME"); xdg && fs::path(*xdg).is_absolute()) {
    return absoluteWithoutTrailingSeparator(fs::path(*xdg) / "orvalle");
  }
  if (auto userHome = nonEmpty(environment, "HOME")) {
    return absoluteWithoutTrailingSeparator(fs::path(*userHome) / ".local" / "share" / "orvalle");
  }
  throw Error(
      "ホームフォルダが決まりません。--home でフォルダを指定するか、ORVALLE_HOME "
      "を設定してください。");
}

Home::Home(fs::path root) : m_root(std::move(root)) {}

void Home::ensureRoot() const {
  if (store::isFolder(m_root)) return;
  store::createFoldersDurably(m_root);
}

fs::path Home::ensureFolder(std::string_view name) const {
  ensureRoot();
  fs::path folder = entry(name, true);
  store::FileSystem& files = store::fileSystem();
  const store::FileStatus status = files.status(folder);
  // A folder of the home that is a link to another place is not written
  // through: the home's files stay in the home.
  if (status.symlink) throw folderError(folder, "シンボリックリンクです");
  if (status.kind == store::FileKind::kFolder) return folder;
  if (status.kind != store::FileKind::kMissing) {
    throw folderError(folder, "同じ名前のファイルがあります");
  }
  try {
    files.createFolder(folder);
  } catch (const store::FileError& error) {
    throw folderError(folder, store::describeSystemError(error.code()));
  }
  // The new folder is durable before anything is written into it.
  store::syncFolderOrThrow(m_root);
  return folder;
}

void Home::init() const {
  ensureRoot();
  for (std::string_view name : {kDataFolderName, kSeiFolderName, kLzhFolderName}) {
    (void)ensureFolder(name);
  }
}

fs::path Home::dataFolder() const { return entry(kDataFolderName, true); }
fs::path Home::seiFolder() const { return entry(kSeiFolderName, true); }
fs::path Home::lzhFolder() const { return entry(kLzhFolderName, true); }
fs::path Home::hpUploadFolder() const { return entry(kHpUploadFolderName, true); }

fs::path Home::iniPath() const { return m_root / kIniFileName; }
fs::path Home::userSetPath() const { return entry(kUserSetFileName, false); }
fs::path Home::markerPath() const { return entry(kMarkerFileName, false); }

bool Home::hitReportMode() const {
  try {
    return store::fileSystem().status(markerPath()).kind == store::FileKind::kFile;
  } catch (const Error&) {
    return false;
  }
}

fs::path Home::entry(std::string_view name, bool folder) const {
  fs::path exact = m_root / name;
  store::FileSystem& files = store::fileSystem();
  auto kindOf = [&](const fs::path& path) {
    try {
      return files.status(path).kind;
    } catch (const Error&) {
      return store::FileKind::kMissing;
    }
  };
  auto isFolder = [&](const fs::path& path) { return kindOf(path) == store::FileKind::kFolder; };
  if (kindOf(exact) != store::FileKind::kMissing && isFolder(exact) == folder) return exact;

  std::optional<fs::path> found;
  std::vector<store::FolderEntry> entries;
  try {
    entries = files.list(m_root);
  } catch (const Error&) {
    return exact;
  }
  for (const store::FolderEntry& candidate : entries) {
    if (store::compareCaseInsensitive(candidate.name, name) != 0) continue;
    if (isFolder(m_root / candidate.name) != folder) continue;
    // Several spellings ("Data" and "data"): take the first in name order,
    // so every command picks the same one.
    if (!found || candidate.name < found->filename().string()) found = m_root / candidate.name;
  }
  return found ? *found : exact;
}

// Stems have a fixed layout, so their text order is date order.
std::vector<std::string> daysOfRange(const Home& home, const std::string& from,
                                     const std::string& to) {
  std::vector<std::string> days = store::listDays(home.dataFolder());
  std::reverse(days.begin(), days.end());
  std::erase_if(days, [&](const std::string& day) {
    return (!from.empty() && day < from) || (!to.empty() && day > to);
  });
  return days;
}

}  // namespace orvalle::app
