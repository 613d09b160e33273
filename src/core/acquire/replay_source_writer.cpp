#include "acquire/replay_source_writer.h"

#include <algorithm>
#include <cctype>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/text_file.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;

constexpr size_t kTimestampLength = 14;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Removes the temporary files that a killed writer left in `folder`.
void removeLeftTemporaries(const fs::path& folder) {
  for (const store::FolderEntry& entry : store::fileSystem().list(folder)) {
    if (entry.kind == store::FileKind::kFile && store::isTemporaryFileName(entry.name)) {
      store::fileSystem().remove(folder / entry.name);
    }
  }
}

}  // namespace

bool isFileTimestamp(std::string_view text) {
  return text.size() == kTimestampLength && std::all_of(text.begin(), text.end(), isDigit);
}

std::string replayFileName(std::string_view reported, std::string_view transferTimestamp) {
  std::string name;
  for (char c : reported) {
    const auto byte = static_cast<unsigned char>(c);
    const bool refused = byte < 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == ':' ||
                         c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
    name.push_back(refused ? '_' : c);
  }
  if (name.empty() || name.find_first_not_of('.') == std::string::npos) name = "data";
  if (name.size() > kTimestampLength && isFileTimestamp(name.substr(0, kTimestampLength)) &&
      name[kTimestampLength] == '_') {
    return name;
  }
  // The last run of 14 digits in the name, as JV-Data names end with one.
  std::string stamp(transferTimestamp);
  for (size_t end = name.size(); end >= kTimestampLength; --end) {
    const std::string candidate = name.substr(end - kTimestampLength, kTimestampLength);
    const bool bounded = end == name.size() || !isDigit(name[end]);
    if (bounded && isFileTimestamp(candidate)) {
      stamp = candidate;
      break;
    }
  }
  if (!isFileTimestamp(stamp)) stamp.assign(kTimestampLength, '0');
  return stamp + "_" + name;
}

ReplaySourceWriter::ReplaySourceWriter(fs::path sourceFolder) : m_folder(std::move(sourceFolder)) {
  store::createFoldersDurably(m_folder);
  for (const char* subfolder : {"RACEDIFF", "SETUP", "0B12"}) {
    removeLeftTemporaries(m_folder / subfolder);
  }
  removeLeftTemporaries(m_folder);
}

ReplaySourceWriter::~ReplaySourceWriter() { abandon(); }

void ReplaySourceWriter::begin(std::string_view subfolder, std::string_view name) {
  abandon();
  const fs::path folder = m_folder / std::string(subfolder);
  store::createFoldersDurably(folder);
  m_target = folder / std::string(name);
  const std::string prefix = "." + std::string(name) + std::string(store::kTemporaryMarker);
  m_file = store::fileSystem().createUnique(folder, prefix, 0644, m_temporary);
}

void ReplaySourceWriter::append(std::string_view bytes) {
  if (!m_file) throw Error("書き込み中のファイルがありません");
  m_file->append(bytes);
}

fs::path ReplaySourceWriter::commit() {
  if (!m_file) throw Error("書き込み中のファイルがありません");
  try {
    m_file->sync();
    m_file->close();
    store::fileSystem().rename(m_temporary, m_target);
  } catch (...) {
    abandon();
    throw;
  }
  m_file.reset();
  m_temporary.clear();
  store::syncFolderOrThrow(m_target.parent_path());
  return m_target;
}

void ReplaySourceWriter::abandon() noexcept {
  if (!m_file) return;
  m_file.reset();
  try {
    store::fileSystem().remove(m_temporary);
  } catch (const Error&) {
    // Left for the next writer, which removes it.
  }
  m_temporary.clear();
}

std::optional<std::string> ReplaySourceWriter::lastTimestamp() const {
  const auto bytes = store::readFileBytes(m_folder / std::string(kLastTimestampFile));
  if (!bytes) return std::nullopt;
  std::string text = *bytes;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  if (!isFileTimestamp(text)) return std::nullopt;
  return text;
}

void ReplaySourceWriter::saveLastTimestamp(std::string_view timestamp) {
  store::writeFileAtomicallyOrThrow(m_folder / std::string(kLastTimestampFile),
                                    std::string(timestamp) + "\r\n");
}

}  // namespace orvalle::acquire
