#include "store/memory_file_system.h"

#include <cerrno>
#include <random>

namespace orvalle::store {
namespace {

std::vector<std::string> namesOf(const std::filesystem::path& path) {
  std::vector<std::string> names;
  for (const std::filesystem::path& part : path.lexically_normal()) {
    const std::string name = part.string();
    if (name.empty() || name == "/" || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    names.push_back(name);
  }
  return names;
}

constexpr int kRoot = 0;

}  // namespace

class MemoryFileSystem::File : public WritableFile {
 public:
  File(MemoryFileSystem& files, int node) : m_files(files), m_node(node) {}
  void append(std::string_view data) override { node().data.append(data); }
  void sync() override { node().durableData = node().data; }
  void close() override {}

 private:
  Node& node() { return m_files.m_nodes.at(m_node); }
  MemoryFileSystem& m_files;
  int m_node;
};

MemoryFileSystem::MemoryFileSystem() { m_nodes[kRoot].folder = true; }

int MemoryFileSystem::find(const std::filesystem::path& path) const {
  int node = kRoot;
  for (const std::string& name : namesOf(path)) {
    const Node& folder = m_nodes.at(node);
    if (!folder.folder) return -1;
    auto entry = folder.entries.find(name);
    if (entry == folder.entries.end()) return -1;
    node = entry->second;
  }
  return node;
}

std::pair<int, std::string> MemoryFileSystem::parentOf(const std::filesystem::path& path) const {
  std::vector<std::string> names = namesOf(path);
  if (names.empty()) throwFileError("ファイルを書き込めませんでした", path, EISDIR);
  std::string last = names.back();
  names.pop_back();
  std::filesystem::path parent = "/";
  for (const std::string& name : names) parent /= name;
  const int folder = find(parent);
  if (folder < 0) throwFileError("ファイルを書き込めませんでした", path, ENOENT);
  if (!m_nodes.at(folder).folder) throwFileError("ファイルを書き込めませんでした", path, ENOTDIR);
  return {folder, last};
}

int MemoryFileSystem::newNode(bool folder) {
  const int id = m_nextNode++;
  m_nodes[id].folder = folder;
  if (folder) m_nodes[id].mode = 0755;
  return id;
}

FileStatus MemoryFileSystem::status(const std::filesystem::path& path) {
  FileStatus result;
  const int node = find(path);
  if (node < 0) return result;
  const Node& item = m_nodes.at(node);
  result.kind = item.folder ? FileKind::kFolder : FileKind::kFile;
  result.mode = item.mode;
  result.size = item.data.size();
  return result;
}

std::unique_ptr<ReadableFile> MemoryFileSystem::openForReading(const std::filesystem::path& path) {
  const int node = find(path);
  if (node < 0) return nullptr;
  const Node& item = m_nodes.at(node);
  if (item.folder) throwFileError("ファイルを読み込めませんでした", path, EISDIR);
  if ((item.mode & 0444) == 0) throwFileError("ファイルを読み込めませんでした", path, EACCES);
  return std::make_unique<MemoryReadableFile>(item.data);
}

std::unique_ptr<WritableFile> MemoryFileSystem::createUnique(const std::filesystem::path& folder,
                                                             std::string_view prefix,
                                                             std::uint32_t mode,
                                                             std::filesystem::path& created) {
  static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string suffix;
  for (std::uint64_t n = m_nextName++, i = 0; i < 6; ++i, n /= 36) suffix += kLetters[n % 36];
  created = folder / (std::string(prefix) + suffix);
  auto [parent, name] = parentOf(created);
  const int node = newNode(false);
  m_nodes.at(node).mode = mode;
  m_nodes.at(parent).entries[name] = node;
  return std::make_unique<File>(*this, node);
}

void MemoryFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  auto [fromFolder, fromName] = parentOf(from);
  auto [toFolder, toName] = parentOf(to);
  auto& entries = m_nodes.at(fromFolder).entries;
  auto entry = entries.find(fromName);
  if (entry == entries.end()) throwFileError("ファイルを書き込めませんでした", from, ENOENT);
  const int node = entry->second;
  entries.erase(entry);
  m_nodes.at(toFolder).entries[toName] = node;
}

bool MemoryFileSystem::remove(const std::filesystem::path& path) {
  auto [folder, name] = parentOf(path);
  return m_nodes.at(folder).entries.erase(name) > 0;
}

bool MemoryFileSystem::createFolder(const std::filesystem::path& path) {
  auto [parent, name] = parentOf(path);
  if (m_nodes.at(parent).entries.count(name) > 0) return false;
  m_nodes.at(parent).entries[name] = newNode(true);
  return true;
}

std::vector<FolderEntry> MemoryFileSystem::list(const std::filesystem::path& folder) {
  std::vector<FolderEntry> entries;
  const int node = find(folder);
  if (node < 0 || !m_nodes.at(node).folder) return entries;
  for (const auto& [name, child] : m_nodes.at(node).entries) {
    entries.push_back(
        {name, m_nodes.at(child).folder ? FileKind::kFolder : FileKind::kFile, false});
  }
  return entries;
}

void MemoryFileSystem::syncFolder(const std::filesystem::path& folder) {
  const int node = find(folder);
  if (node < 0) throwFileError("フォルダを同期できませんでした", folder, ENOENT);
  m_nodes.at(node).durableEntries = m_nodes.at(node).entries;
}

void MemoryFileSystem::syncAll(const std::filesystem::path&) {
  for (auto& [id, node] : m_nodes) {
    node.durableData = node.data;
    node.durableEntries = node.entries;
  }
}

void MemoryFileSystem::putFolder(const std::filesystem::path& path) {
  std::filesystem::path folder = "/";
  for (const std::string& name : namesOf(path)) {
    folder /= name;
    if (createFolder(folder)) syncFolder(folder.parent_path());
  }
}

void MemoryFileSystem::putFile(const std::filesystem::path& path, std::string content) {
  putFolder(
      std::filesystem::path("/" + path.lexically_normal().relative_path().string()).parent_path());
  auto [parent, name] = parentOf(path);
  const int node = newNode(false);
  m_nodes.at(node).data = std::move(content);
  m_nodes.at(node).durableData = m_nodes.at(node).data;
  m_nodes.at(parent).entries[name] = node;
  m_nodes.at(parent).durableEntries[name] = node;
}

void MemoryFileSystem::setMode(const std::filesystem::path& path, std::uint32_t mode) {
  const int node = find(path);
  if (node < 0) throwFileError("ファイルを調べられませんでした", path, ENOENT);
  m_nodes.at(node).mode = mode;
}

void MemoryFileSystem::collect(int node, const std::string& prefix,
                               std::map<std::string, std::string>& out) const {
  for (const auto& [name, child] : m_nodes.at(node).entries) {
    const Node& item = m_nodes.at(child);
    const std::string path = prefix.empty() ? name : prefix + "/" + name;
    if (item.folder) {
      out[path + "/"] = "";
      collect(child, path, out);
    } else {
      out[path] = item.data;
    }
  }
}

std::map<std::string, std::string> MemoryFileSystem::snapshot(
    const std::filesystem::path& folder) const {
  std::map<std::string, std::string> files;
  const int node = find(folder);
  if (node >= 0 && m_nodes.at(node).folder) collect(node, "", files);
  return files;
}

void MemoryFileSystem::loseUnsyncedWrites(std::uint32_t seed) {
  std::mt19937 random(seed);
  auto keepNew = [&] { return seed != 0 && (random() & 1) != 0; };
  for (auto& [id, node] : m_nodes) {
    if (node.folder) {
      std::map<std::string, int> after = node.durableEntries;
      for (const auto& [name, child] : node.entries) {
        if (node.durableEntries.count(name) && node.durableEntries.at(name) == child) continue;
        if (keepNew()) after[name] = child;
      }
      for (const auto& [name, child] : node.durableEntries) {
        if (!node.entries.count(name) && keepNew()) after.erase(name);
      }
      node.entries = after;
    } else if (node.data != node.durableData) {
      // The new data, or the old data with part of the new written over it.
      if (seed == 0 || !keepNew()) {
        node.data = node.durableData;
      } else if (keepNew()) {
        node.data = node.data.substr(0, random() % (node.data.size() + 1));
      }
    }
  }
  for (auto& [id, node] : m_nodes) {
    node.durableData = node.data;
    node.durableEntries = node.entries;
  }
}

// FaultyFileSystem

class FaultyFileSystem::File : public WritableFile {
 public:
  File(FaultyFileSystem& files, std::unique_ptr<WritableFile> base, std::filesystem::path path)
      : m_files(files), m_base(std::move(base)), m_path(std::move(path)) {}
  void append(std::string_view data) override {
    m_files.enter(Call::kAppend, m_path);
    m_base->append(data);
  }
  void sync() override {
    m_files.enterSync(m_path);
    m_base->sync();
  }
  void close() override {
    m_files.enter(Call::kClose, m_path);
    m_base->close();
  }

 private:
  FaultyFileSystem& m_files;
  std::unique_ptr<WritableFile> m_base;
  std::filesystem::path m_path;
};

void FaultyFileSystem::failCall(Call call, int nth, int code) {
  m_failAfter[call] = nth;
  m_failCode[call] = code;
}

void FaultyFileSystem::losePowerAtSync(int nth) { m_powerAfter = nth; }

void FaultyFileSystem::revive() {
  m_down = false;
  m_powerAfter = 0;
  m_failAfter.clear();
}

void FaultyFileSystem::enter(Call call, const std::filesystem::path& path) {
  if (m_down) throw PowerLoss();
  auto fail = m_failAfter.find(call);
  if (fail == m_failAfter.end()) return;
  if (--fail->second > 0) return;
  m_failAfter.erase(fail);
  throwFileError("ファイルを操作できませんでした", path, m_failCode[call]);
}

void FaultyFileSystem::enterSync(const std::filesystem::path& path) {
  enter(Call::kSync, path);
  if (m_powerAfter > 0 && --m_powerAfter == 0) {
    m_down = true;
    throw PowerLoss();
  }
  ++m_syncs;
}

FileStatus FaultyFileSystem::status(const std::filesystem::path& path) {
  enter(Call::kStatus, path);
  return m_base.status(path);
}

std::unique_ptr<ReadableFile> FaultyFileSystem::openForReading(const std::filesystem::path& path) {
  enter(Call::kOpen, path);
  return m_base.openForReading(path);
}

std::unique_ptr<WritableFile> FaultyFileSystem::createUnique(const std::filesystem::path& folder,
                                                             std::string_view prefix,
                                                             std::uint32_t mode,
                                                             std::filesystem::path& created) {
  enter(Call::kCreate, folder);
  std::unique_ptr<WritableFile> file = m_base.createUnique(folder, prefix, mode, created);
  return std::make_unique<File>(*this, std::move(file), created);
}

void FaultyFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  enter(Call::kRename, to);
  m_base.rename(from, to);
}

bool FaultyFileSystem::remove(const std::filesystem::path& path) {
  enter(Call::kRemove, path);
  return m_base.remove(path);
}

bool FaultyFileSystem::createFolder(const std::filesystem::path& path) {
  enter(Call::kMkdir, path);
  return m_base.createFolder(path);
}

std::vector<FolderEntry> FaultyFileSystem::list(const std::filesystem::path& folder) {
  enter(Call::kList, folder);
  return m_base.list(folder);
}

void FaultyFileSystem::syncFolder(const std::filesystem::path& folder) {
  enterSync(folder);
  m_base.syncFolder(folder);
}

void FaultyFileSystem::syncAll(const std::filesystem::path& path) {
  enterSync(path);
  m_base.syncAll(path);
}

std::filesystem::path FaultyFileSystem::resolveLink(const std::filesystem::path& path) {
  if (m_down) throw PowerLoss();
  return m_base.resolveLink(path);
}

}  // namespace orvalle::store
