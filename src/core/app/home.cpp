#include "app/home.h"

#include <cstdlib>
#include <system_error>
#include <utility>

#include "store/atomic_file.h"
#include "store/error.h"
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
  std::error_code ec;
  if (fs::is_directory(m_root, ec)) return;
  store::createFoldersDurably(m_root);
}

fs::path Home::ensureFolder(std::string_view name) const {
  ensureRoot();
  fs::path folder = entry(name, true);
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return folder;
  if (fs::exists(fs::symlink_status(folder, ec))) {
    throw folderError(folder, "同じ名前のファイルがあります");
  }
  fs::create_directory(folder, ec);
  if (ec) throw folderError(folder, ec.message());
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
  std::error_code ec;
  fs::path marker = markerPath();
  return fs::exists(marker, ec) && !fs::is_directory(marker, ec);
}

fs::path Home::entry(std::string_view name, bool folder) const {
  fs::path exact = m_root / name;
  std::error_code ec;
  if (fs::exists(exact, ec) && fs::is_directory(exact, ec) == folder) return exact;

  std::optional<fs::path> found;
  for (fs::directory_iterator it(m_root, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidateName = it->path().filename().string();
    if (store::compareCaseInsensitive(candidateName, name) != 0) continue;
    std::error_code typeError;
    if (it->is_directory(typeError) != folder) continue;
    // Several spellings ("Data" and "data"): take the first in name order,
    // so every command picks the same one.
    if (!found || candidateName < found->filename().string()) found = it->path();
  }
  return found ? *found : exact;
}

}  // namespace orvalle::app
