#include "store/cp932_utf16.h"

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>

#include "store/cp932.h"
#include "store/cp932_system_codec.h"

namespace orvalle::cp932 {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The characters of CP932 that convert to UTF-16 and back unchanged, built
// once from the system's conversion.
struct RoundTripTables {
  // Single bytes and lead-trail pairs (index lead << 8 | trail) whose
  // character comes back as the same bytes; 0xFFFF = none.
  std::array<char16_t, 0x10000> decode{};
  std::array<bool, 0x10000> decodes{};
  // Every UTF-16 code unit with a CP932 form: the form.
  std::unordered_map<char16_t, std::string> encode;

  RoundTripTables() {
    auto add = [this](unsigned index, std::string_view bytes) {
      const std::optional<char16_t> unit = systemDecode(bytes);
      if (!unit) return;
      const std::optional<std::string> back = systemEncode(*unit);
      if (back && *back == bytes) {
        decode[index] = *unit;
        decodes[index] = true;
      }
    };
    for (unsigned byte = 0; byte < 0x100; ++byte) {
      if (isLeadByte(static_cast<unsigned char>(byte))) continue;
      const char single = static_cast<char>(byte);
      add(byte, std::string_view(&single, 1));
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        add(lead << 8 | trail, std::string_view(pair, 2));
      }
    }
    for (unsigned index = 0; index < 0x10000; ++index) {
      if (!decodes[index]) continue;
      std::string bytes = index < 0x100 ? std::string(1, static_cast<char>(index))
                                        : std::string{static_cast<char>(index >> 8),
                                                      static_cast<char>(index & 0xFF)};
      encode.emplace(decode[index], std::move(bytes));
    }
  }
};

const RoundTripTables& tables() {
  static const auto built = std::make_unique<RoundTripTables>();
  return *built;
}

}  // namespace

std::u16string toUtf16Preserving(std::string_view cp932Text) {
  const RoundTripTables& table = tables();
  std::u16string out;
  out.reserve(cp932Text.size());
  size_t i = 0;
  while (i < cp932Text.size()) {
    const auto byte = static_cast<unsigned char>(cp932Text[i]);
    if (isLeadByte(byte) && i + 1 < cp932Text.size()) {
      const unsigned index = byte << 8 | static_cast<unsigned char>(cp932Text[i + 1]);
      if (table.decodes[index]) {
        out.push_back(table.decode[index]);
        i += 2;
        continue;
      }
    } else if (!isLeadByte(byte) && table.decodes[byte]) {
      out.push_back(table.decode[byte]);
      ++i;
      continue;
    }
    out.push_back(static_cast<char16_t>(kEscapeBase + byte));
    ++i;
  }
  return out;
}

std::string fromUtf16Preserving(std::u16string_view text) {
  const RoundTripTables& table = tables();
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    if (unit >= kEscapeBase && unit <= kEscapeBase + 0xFF) {
      out.push_back(static_cast<char>(unit - kEscapeBase));
    } else if (auto it = table.encode.find(unit); it != table.encode.end()) {
      out += it->second;
    } else {
      out.push_back('?');
    }
  }
  return out;
}

}  // namespace orvalle::cp932
