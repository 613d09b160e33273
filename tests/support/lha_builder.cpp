#include "support/lha_builder.h"

#include <cstdint>
#include <cstdlib>

#include "output/lha_archive.h"

namespace orvalle::test {
namespace {

std::string shellQuoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

void appendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

bool haveJlha() {
  static const bool found = std::system("command -v jlha > /dev/null 2>&1") == 0;
  return found;
}

bool makeLhaArchive(const std::filesystem::path& archive, const std::filesystem::path& folder,
                    const std::vector<std::string>& names, int level, bool stored) {
  std::error_code ec;
  std::filesystem::remove(archive, ec);
  std::filesystem::create_directories(archive.parent_path(), ec);
  std::string command = "cd " + shellQuoted(folder.string()) + " && jlha a" + (stored ? "z" : "") +
                        std::to_string(level) + " " + shellQuoted(archive.string());
  for (const std::string& name : names) command += " " + shellQuoted(name);
  command += " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0 && std::filesystem::exists(archive, ec);
}

std::string storedLhaArchive(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out;
  for (const auto& [name, data] : members) {
    // Level 0: size, checksum, method, packed and original size, DOS time,
    // attribute, level, name length, name, CRC-16.
    std::string body = "-lh0-";
    appendLittleEndian(body, static_cast<uint32_t>(data.size()), 4);
    appendLittleEndian(body, static_cast<uint32_t>(data.size()), 4);
    appendLittleEndian(body, 0x5A210000, 4);
    body += '\x20';
    body += '\0';
    body += static_cast<char>(name.size());
    body += name;
    appendLittleEndian(body, output::lhaCrc16(data), 2);
    unsigned sum = 0;
    for (char c : body) sum += static_cast<unsigned char>(c);
    out += static_cast<char>(body.size());
    out += static_cast<char>(sum & 0xFF);
    out += body;
    out += data;
  }
  out += '\0';
  return out;
}

}  // namespace orvalle::test
