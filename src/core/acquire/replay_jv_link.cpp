#include "acquire/replay_jv_link.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

#include "store/error.h"
#include "store/file_system.h"
#include "store/text_file.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;

// JV-Link's codes of the emulated failures.
constexpr int kNotInitialised = -201;
constexpr int kAlreadyOpen = -202;
constexpr int kNotOpened = -203;
constexpr int kBadDataId = -111;
constexpr int kBadFromTime = -112;
constexpr int kBadKey = -114;
constexpr int kBadOption = -115;
constexpr int kInternalError = -401;
constexpr int kFileContentBroken = -403;
constexpr int kFileNotFound = -503;

constexpr size_t kTimestampLength = 14;

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

std::optional<int> parseInt(std::string_view text) {
  text = trimmed(text);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool isDigits(std::string_view text, size_t length) {
  return text.size() == length &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The timestamp of a data file's name, or empty when the name does not start
// with 14 digits and "_".
std::string timestampOf(const fs::path& file) {
  const std::string name = file.filename().string();
  if (name.size() <= kTimestampLength || name[kTimestampLength] != '_') return {};
  std::string stamp = name.substr(0, kTimestampLength);
  return isDigits(stamp, kTimestampLength) ? stamp : std::string();
}

store::FileKind kindOf(const fs::path& path) {
  try {
    return store::fileSystem().status(path).kind;
  } catch (const Error&) {
    return store::FileKind::kOther;
  }
}

bool isFolder(const fs::path& path) { return kindOf(path) == store::FileKind::kFolder; }

bool isFile(const fs::path& path) { return kindOf(path) == store::FileKind::kFile; }

// The regular files of a folder in name order (a link to one counts);
// nullopt when the folder cannot be listed.
std::optional<std::vector<fs::path>> filesOf(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!isFolder(folder)) return std::nullopt;
  try {
    for (const store::FolderEntry& entry : store::fileSystem().list(folder)) {
      const fs::path path = folder / entry.name;
      if (entry.kind == store::FileKind::kFile || (entry.symlink && isFile(path))) {
        files.push_back(path);
      }
    }
  } catch (const Error&) {
    return std::nullopt;
  }
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  return files;
}

}  // namespace

ReplayEmulation ReplayEmulation::fromIniText(std::string_view text) {
  ReplayEmulation emulation;
  bool inEmulate = false;
  for (const std::string& rawLine : store::splitLines(text)) {
    std::string_view line = trimmed(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      inEmulate = close != std::string_view::npos &&
                  lowered(trimmed(line.substr(1, close - 1))) == "emulate";
      continue;
    }
    size_t equals = line.find('=');
    if (!inEmulate || equals == std::string_view::npos) continue;
    const std::string key = lowered(trimmed(line.substr(0, equals)));
    std::string_view value = trimmed(line.substr(equals + 1));

    if (key == "read_error") {
      size_t first = value.find(':');
      size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
      if (second == std::string_view::npos) continue;
      auto file = parseInt(value.substr(0, first));
      auto record = parseInt(value.substr(first + 1, second - first - 1));
      auto code = parseInt(value.substr(second + 1));
      if (file && record && code && *file >= 1 && *record >= 1) {
        emulation.readError = ReadError{*file, *record, *code};
      }
      continue;
    }
    std::optional<int> number = parseInt(value);
    if (!number) continue;
    if (key == "download_ms") {
      emulation.downloadMs = std::max(0, *number);
    } else if (key == "init") {
      emulation.initResult = *number;
    } else if (key == "open") {
      emulation.openResult = *number;
    } else if (key == "status_error") {
      emulation.statusError = *number;
    } else if (key == "rtopen") {
      emulation.rtOpenResult = *number;
    } else if (key == "close") {
      emulation.closeResult = *number;
    } else if (key == "gets") {
      emulation.offersByteRead = *number != 0;
    }
  }
  return emulation;
}

ReplayEmulation ReplayEmulation::fromIniFile(const fs::path& iniFile) {
  try {
    if (auto bytes = store::readFileBytes(iniFile)) return fromIniText(*bytes);
  } catch (const Error&) {
    // An unreadable file injects nothing.
  }
  return {};
}

ReplayJvLink::ReplayJvLink(fs::path sourceFolder, Clock clock)
    : m_source(std::move(sourceFolder)),
      m_clock(std::move(clock)),
      m_emulation(ReplayEmulation::fromIniFile(m_source / "jvlink.ini")) {}

int ReplayJvLink::jvInit(std::string_view /*softwareId*/) {
  m_initialised = m_emulation.initResult == jv::kOk;
  return m_emulation.initResult;
}

int ReplayJvLink::jvSetUIProperties() { return m_initialised ? jv::kOk : kNotInitialised; }

void ReplayJvLink::open(Mode mode, std::vector<fs::path> files, int downloadCount) {
  m_mode = mode;
  m_files = std::move(files);
  m_downloadCount = downloadCount;
  m_openedAt = m_clock();
  m_statusCalls = 0;
  m_readErrorGiven = false;
  m_fileIndex = 0;
  m_fileLoaded = false;
  m_file.close();
  m_recordNumber = 0;
}

int ReplayJvLink::jvOpen(std::string_view dataId, std::string_view fromTime, int option,
                         JvOpenCounts& counts) {
  counts = JvOpenCounts{};
  if (!m_initialised) return kNotInitialised;
  if (m_mode != Mode::kClosed) return kAlreadyOpen;
  if (trimmed(dataId).empty()) return kBadDataId;
  if (!isDigits(fromTime, kTimestampLength)) return kBadFromTime;
  if (option < 1 || option > 4) return kBadOption;
  m_cancelled = false;
  if (m_emulation.openResult && *m_emulation.openResult != jv::kOk) {
    return *m_emulation.openResult;
  }

  fs::path folder = m_source / "RACEDIFF";
  if (option >= kOptionSetup && isFolder(m_source / "SETUP")) folder = m_source / "SETUP";
  std::vector<fs::path> files;
  if (isFolder(folder)) {
    auto listed = filesOf(folder);
    if (!listed) return kInternalError;
    for (fs::path& file : *listed) {
      const std::string stamp = timestampOf(file);
      if (!stamp.empty() && stamp > fromTime) files.push_back(std::move(file));
    }
  }
  if (files.empty() && !m_emulation.openResult) return jv::kNoData;

  const int count = static_cast<int>(files.size());
  counts.readCount = count;
  counts.downloadCount = m_emulation.downloadMs > 0 ? count : 0;
  if (!files.empty()) counts.lastFileTimestamp = timestampOf(files.back());
  open(Mode::kStored, std::move(files), counts.downloadCount);
  return jv::kOk;
}

int ReplayJvLink::downloaded() const {
  if (m_mode != Mode::kStored || m_emulation.downloadMs <= 0) {
    return static_cast<int>(m_files.size());
  }
  auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(m_clock() - m_openedAt).count();
  if (elapsed < 0) elapsed = 0;
  auto done = elapsed / m_emulation.downloadMs;
  return static_cast<int>(std::min<long long>(done, m_downloadCount));
}

int ReplayJvLink::jvStatus() {
  if (!m_initialised) return kNotInitialised;
  if (m_mode == Mode::kClosed || m_cancelled) return kNotOpened;
  ++m_statusCalls;
  if (m_emulation.statusError && m_statusCalls > 1) return *m_emulation.statusError;
  return m_mode == Mode::kStored ? std::min(downloaded(), m_downloadCount) : 0;
}

int ReplayJvLink::loadCurrentFile() {
  const fs::path& path = m_files[m_fileIndex];
  m_file.close();
  try {
    std::unique_ptr<store::ReadableFile> file = store::fileSystem().openForReading(path);
    if (!file) return kFileNotFound;
    m_file = store::SequentialReader(std::move(file));
  } catch (const Error&) {
    return kFileContentBroken;
  }
  m_fileLoaded = true;
  m_recordNumber = 0;
  return jv::kOk;
}

int ReplayJvLink::jvRead(std::string& record, int& size, std::string& fileName) {
  record.clear();
  if (!m_initialised) return kNotInitialised;
  if (m_mode == Mode::kClosed || m_cancelled) return kNotOpened;
  if (m_fileIndex >= m_files.size()) return jv::kEndOfData;
  if (static_cast<int>(m_fileIndex) >= downloaded()) return jv::kDownloading;
  if (!m_fileLoaded) {
    if (int code = loadCurrentFile(); code != jv::kOk) return code;
  }

  int first = -1;
  try {
    first = m_file.peek();
  } catch (const Error&) {
    return kFileContentBroken;
  }
  if (first < 0) {
    // The file is done: the next begins, or everything has been read.
    ++m_fileIndex;
    m_fileLoaded = false;
    m_file.close();
    return m_fileIndex < m_files.size() ? jv::kFileSwitch : jv::kEndOfData;
  }

  const ReplayEmulation::ReadError* fault =
      m_emulation.readError ? &*m_emulation.readError : nullptr;
  if (fault != nullptr && !m_readErrorGiven && fault->file == static_cast<int>(m_fileIndex) + 1 &&
      fault->record == m_recordNumber + 1) {
    m_readErrorGiven = true;
    return fault->code;
  }

  // One record: up to and with its CR LF, or to the end of the file.
  try {
    for (int c = m_file.next(); c >= 0; c = m_file.next()) {
      record.push_back(static_cast<char>(c));
      if (c == '\n' && record.size() >= 2 && record[record.size() - 2] == '\r') break;
      if (record.size() >= kMaxReplayRecordBytes) break;
    }
  } catch (const Error&) {
    record.clear();
    return kFileContentBroken;
  }
  ++m_recordNumber;
  size = static_cast<int>(record.size());
  fileName = m_files[m_fileIndex].filename().string();
  return size;
}

int ReplayJvLink::jvCancel() {
  m_cancelled = true;
  return jv::kOk;
}

int ReplayJvLink::jvClose() {
  m_mode = Mode::kClosed;
  m_files.clear();
  m_file.close();
  m_fileLoaded = false;
  m_cancelled = false;
  return m_emulation.closeResult;
}

int ReplayJvLink::jvRTOpen(std::string_view dataId, std::string_view key) {
  if (!m_initialised) return kNotInitialised;
  if (m_mode != Mode::kClosed) return kAlreadyOpen;
  if (dataId != kResultsDataId) return kBadDataId;
  if (!isDigits(key, 8)) return kBadKey;
  m_cancelled = false;
  if (m_emulation.rtOpenResult && *m_emulation.rtOpenResult != jv::kOk) {
    return *m_emulation.rtOpenResult;
  }

  const fs::path base = m_source / std::string(kResultsDataId);
  const std::string day(key);
  std::vector<fs::path> files;
  if (isFolder(base / day)) {
    auto listed = filesOf(base / day);
    if (!listed) return kInternalError;
    files = std::move(*listed);
  } else if (isFile(base / (day + ".txt"))) {
    files.push_back(base / (day + ".txt"));
  } else if (!m_emulation.rtOpenResult) {
    return jv::kNoData;
  }
  open(Mode::kRealTime, std::move(files), 0);
  return jv::kOk;
}

}  // namespace orvalle::acquire
