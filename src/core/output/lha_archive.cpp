#include "output/lha_archive.h"

extern "C" {
#include <lhasa.h>
}

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/text_file.h"

namespace orvalle::output {
namespace {

// The archive in memory, handed to liblhasa through its stream callbacks.
// It notes where each header read begins, so that the end of the archive can
// be told from a header cut short or filled with junk: the reader answers
// both with "no further member".
struct MemoryStream {
  std::string_view bytes;
  size_t position = 0;
  bool awaitingHeader = false;
  std::optional<size_t> headerStart;
};

int readMemory(void* handle, void* buffer, size_t length) {
  auto& stream = *static_cast<MemoryStream*>(handle);
  if (stream.awaitingHeader) {
    stream.headerStart = stream.position;
    stream.awaitingHeader = false;
  }
  size_t count = std::min({length, stream.bytes.size() - stream.position, size_t{INT_MAX}});
  std::memcpy(buffer, stream.bytes.data() + stream.position, count);
  stream.position += count;
  return static_cast<int>(count);
}

int skipMemory(void* handle, size_t count) {
  auto& stream = *static_cast<MemoryStream*>(handle);
  if (count > stream.bytes.size() - stream.position) {
    stream.position = stream.bytes.size();
    return 0;
  }
  stream.position += count;
  return 1;
}

void closeMemory(void*) {}

const LHAInputStreamType kMemoryStreamType{readMemory, skipMemory, closeMemory};

struct StreamFree {
  void operator()(LHAInputStream* stream) const { lha_input_stream_free(stream); }
};
struct ReaderFree {
  void operator()(LHAReader* reader) const { lha_reader_free(reader); }
};

// The reader found no further header. That is the archive's end when the
// header would start at the end of the data or at the end mark (a zero
// byte); anything else is a header that is cut short or not a header.
bool endsCleanly(const MemoryStream& stream) {
  if (!stream.headerStart) return false;  // data of the member before ran past the end
  size_t start = *stream.headerStart;
  return start == stream.bytes.size() || stream.bytes[start] == '\0';
}

uint32_t littleEndian(std::string_view bytes, size_t position, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[position + static_cast<size_t>(i)]);
  }
  return value;
}

// The name of a member as its header stores it (CP932 bytes): the directory
// of the directory extension and the file name of the basic header or of the
// file-name extension. Read from the raw header because the reader drops ".."
// components and leading parts from the names it hands out, and a member
// that names them must be refused rather than quietly renamed.
struct StoredName {
  std::string directory;
  std::string file;
};

// Header layouts: level 0 and 1 keep the name in the basic header (length
// at offset 21, name from 22); level 1 follows the basic header with
// extensions, level 2 starts them at offset 24 and level 3 at 28 with 4-byte
// sizes. An extension is its type byte, its data and the size of the next
// extension (0 ends the chain); type 1 holds the file name, type 2 the
// directory with 0xFF between its parts.
std::optional<StoredName> storedName(const LHAFileHeader& header) {
  if (header.raw_data == nullptr) return std::nullopt;
  std::string_view raw(reinterpret_cast<const char*>(header.raw_data), header.raw_data_len);
  StoredName name;
  size_t sizeField = 0;
  int width = 2;
  switch (header.header_level) {
    case 0:
    case 1: {
      if (raw.size() < 22) return std::nullopt;
      size_t length = static_cast<unsigned char>(raw[21]);
      if (22 + length > raw.size()) return std::nullopt;
      name.file = std::string(raw.substr(22, length));
      if (header.header_level == 0) return name;
      size_t basic = static_cast<size_t>(static_cast<unsigned char>(raw[0])) + 2;
      if (basic < 4 || basic > raw.size()) return std::nullopt;
      sizeField = basic - 2;
      break;
    }
    case 2:
      sizeField = 24;
      break;
    case 3:
      sizeField = 28;
      width = 4;
      break;
    default:
      return std::nullopt;
  }
  const size_t step = static_cast<size_t>(width);
  while (true) {
    if (sizeField + step > raw.size()) return std::nullopt;
    size_t size = littleEndian(raw, sizeField, width);
    if (size == 0) return name;
    size_t start = sizeField + step;
    if (size < 1 + step || size > raw.size() - start) return std::nullopt;
    std::string_view data = raw.substr(start + 1, size - 1 - step);
    switch (raw[start]) {
      case 0x01:
        name.file = std::string(data);
        break;
      case 0x02:
        name.directory = std::string(data);
        break;
      default:
        break;
    }
    sizeField = start + size - step;
  }
}

bool isSeparator(char c) { return c == '/' || c == '\\' || c == '\xFF'; }

// The parts of a stored name between separators ('/', '\', 0xFF). A CP932
// trail byte that happens to be '\' does not separate.
std::vector<std::string_view> nameParts(std::string_view name) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (cp932::isLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
      ++i;
    } else if (isSeparator(name[i])) {
      parts.push_back(name.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(name.substr(start));
  return parts;
}

// An absolute name ("/x", "\x", "C:x") or one with a ".." part would place
// the file outside the folder it is unpacked into.
bool escapesFolder(std::string_view name) {
  if (name.empty()) return false;
  if (isSeparator(name[0])) return true;
  if (name.size() >= 2 && name[1] == ':' &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'))) {
    return true;
  }
  for (std::string_view part : nameParts(name)) {
    if (part == "..") return true;
  }
  return false;
}

bool hasControlCharacter(std::string_view name) {
  return std::any_of(name.begin(), name.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The file name on disk of a stored base name: UTF-8, from CP932 unless it
// is plain ASCII.
std::string diskName(std::string_view baseName) {
  if (isAscii(baseName)) return std::string(baseName);
  return cp932::toUtf8(baseName);
}

std::string shownName(const StoredName& name) {
  std::string shown = name.directory;
  if (!shown.empty() && !isSeparator(shown.back())) shown += '/';
  shown += name.file;
  std::replace(shown.begin(), shown.end(), '\xFF', '/');
  return cp932::toUtf8(shown);
}

struct Member {
  std::string name;  // UTF-8 base name
  std::string content;
};

}  // namespace

uint16_t lhaCrc16(std::string_view bytes) {
  static const auto kTable = [] {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
      uint16_t value = static_cast<uint16_t>(i);
      for (int bit = 0; bit < 8; ++bit) {
        value = (value & 1) ? static_cast<uint16_t>((value >> 1) ^ 0xA001)
                            : static_cast<uint16_t>(value >> 1);
      }
      table[i] = value;
    }
    return table;
  }();
  uint16_t crc = 0;
  for (char c : bytes) {
    crc = static_cast<uint16_t>((crc >> 8) ^ kTable[(crc ^ static_cast<unsigned char>(c)) & 0xFF]);
  }
  return crc;
}

LhaExtraction extractLhaArchive(const std::filesystem::path& archive,
                                const std::filesystem::path& folder,
                                const std::function<bool(std::string_view)>& wanted) {
  LhaExtraction result;
  std::optional<std::string> bytes = store::readFileBytes(archive);
  if (!bytes) {
    result.damaged = true;
    return result;
  }

  MemoryStream memory;
  memory.bytes = *bytes;
  std::unique_ptr<LHAInputStream, StreamFree> stream(
      lha_input_stream_new(&kMemoryStreamType, &memory));
  if (!stream) throw Error("メモリが不足しています。");
  std::unique_ptr<LHAReader, ReaderFree> reader(lha_reader_new(stream.get()));
  if (!reader) throw Error("メモリが不足しています。");
  // Directories are never created, so their metadata needs no second pass.
  lha_reader_set_dir_policy(reader.get(), LHA_READER_DIR_PLAIN);

  std::vector<Member> members;
  uint64_t budget = kMaxLhaExtractedBytes;
  std::vector<char> buffer(64 * 1024);
  int memberCount = 0;
  while (true) {
    memory.awaitingHeader = true;
    memory.headerStart.reset();
    LHAFileHeader* header = lha_reader_next_file(reader.get());
    memory.awaitingHeader = false;
    if (header == nullptr) {
      if (!endsCleanly(memory)) result.damaged = true;
      break;
    }
    if (++memberCount > kMaxLhaMembers) {
      result.damaged = true;
      break;
    }
    if (std::string_view(header->compress_method) == LHA_COMPRESS_TYPE_DIR) continue;

    std::optional<StoredName> name = storedName(*header);
    std::string baseName;
    if (name) {
      std::vector<std::string_view> parts = nameParts(name->file);
      baseName = std::string(parts.back());
    }
    if (!name || escapesFolder(name->directory) || escapesFolder(name->file) || baseName.empty() ||
        baseName == "." || baseName == ".." || hasControlCharacter(name->directory) ||
        hasControlCharacter(name->file)) {
      const char* parsed = header->filename != nullptr ? header->filename : "";
      result.refused.push_back(name ? shownName(*name) : cp932::toUtf8(parsed));
      continue;
    }

    if (wanted && !wanted(diskName(baseName))) {
      ++result.passedOver;  // passed over unread
      continue;
    }
    if (header->length > budget) {
      result.damaged = true;
      break;
    }
    std::string content;
    size_t count = 0;
    while ((count = lha_reader_read(reader.get(), buffer.data(), buffer.size())) > 0) {
      content.append(buffer.data(), count);
      if (content.size() > header->length) break;
    }
    if (content.size() != header->length || lhaCrc16(content) != header->crc) {
      result.damaged = true;
      break;
    }
    budget -= header->length;
    members.push_back(Member{diskName(baseName), std::move(content)});
  }

  if (result.damaged) return result;
  for (const Member& member : members) {
    store::writeFileAtomicallyOrThrow(folder / member.name, member.content);
    result.extracted.push_back(member.name);
  }
  return result;
}

}  // namespace orvalle::output
