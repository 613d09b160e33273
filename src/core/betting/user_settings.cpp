#include "betting/user_settings.h"

#include <array>

#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::betting {
namespace {

// A blank of the reading rule: every byte from 1 up to the space. Neither a
// lead nor a trail byte of a two-byte CP932 character falls in that range,
// nor is either of them a comma or a double quote, so the line can be read
// byte by byte.
bool isBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= ' ';
}

// Splits the line as the reading rule says; `line` ends at its first NUL.
std::vector<std::string> split(std::string_view line) {
  std::vector<std::string> fields;
  size_t p = 0;
  const size_t end = line.size();
  while (p < end && isBlank(line[p])) ++p;
  while (p < end) {
    std::string field;
    if (line[p] == '"') {
      ++p;
      while (p < end) {
        if (line[p] == '"') {
          if (p + 1 < end && line[p + 1] == '"') {
            field += '"';
            p += 2;
            continue;
          }
          ++p;  // the closing quote
          break;
        }
        field += line[p++];
      }
    } else {
      const size_t start = p;
      while (p < end && !isBlank(line[p]) && line[p] != ',') ++p;
      field.assign(line.substr(start, p - start));
    }
    fields.push_back(std::move(field));
    while (p < end && isBlank(line[p])) ++p;
    if (p < end && line[p] == ',') {
      ++p;
      while (p < end && isBlank(line[p])) ++p;
    }
  }
  return fields;
}

std::string_view fieldOr(const std::vector<std::string>& fields, size_t index) {
  return index < fields.size() ? std::string_view(fields[index]) : std::string_view();
}

}  // namespace

std::span<const std::string> rankCriterionTexts() {
  static const std::array<std::string, 6> kTexts{sj("pt勝率"),   sj("勝率"),     sj("単人気"),
                                                 sj("勝数逆順"), sj("勝pt逆順"), sj("勝数")};
  return kTexts;
}

std::span<const std::string> rankEntryTexts() {
  static const std::array<std::string, 18> kTexts = [] {
    std::array<std::string, 18> texts;
    for (int rank = 1; rank <= 18; ++rank) texts[rank - 1] = store::format("%2d", rank);
    return texts;
  }();
  return kTexts;
}

std::vector<std::string> splitSettingLine(std::string_view line) {
  return split(line.substr(0, line.find('\0')));
}

std::string quotedSettingName(std::string_view name) {
  bool quote = false;
  for (char c : name) quote = quote || c == ',' || c == '"' || isBlank(c);
  if (!quote) return std::string(name);
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

bool RankRule::empty() const { return store::trim(criterion).empty() && store::trim(rank).empty(); }

UserSetting parseUserSetting(std::string_view line) {
  const std::vector<std::string> fields = splitSettingLine(line);
  UserSetting setting;
  setting.name = fieldOr(fields, 0);
  setting.axis1 = {std::string(fieldOr(fields, 1)), std::string(fieldOr(fields, 2))};
  setting.axis2 = {std::string(fieldOr(fields, 3)), std::string(fieldOr(fields, 4))};
  for (int k = 1; k <= kPartnerRuleCount; ++k) {
    setting.partners[k - 1] = {std::string(fieldOr(fields, static_cast<size_t>(2 * k + 3))),
                               std::string(fieldOr(fields, static_cast<size_t>(2 * k + 4)))};
  }
  setting.popularityTrios = fieldOr(fields, 25) == "1";
  return setting;
}

std::string userSettingLine(const UserSetting& setting) {
  std::string line = quotedSettingName(setting.name);
  auto add = [&line](std::string_view text) {
    line += ',';
    line += text;
  };
  add(setting.axis1.criterion);
  add(setting.axis1.rank);
  add(setting.axis2.criterion);
  add(setting.axis2.rank);
  for (const RankRule& partner : setting.partners) {
    add(partner.criterion);
    add(partner.rank);
  }
  add(setting.popularityTrios ? "1" : "0");
  line += ',';
  return line;
}

int activeSettingIndex(int setId, size_t lineCount) {
  if (lineCount == 0) return -1;
  return setId >= 0 && static_cast<size_t>(setId) < lineCount ? setId : 0;
}

std::string noSuchSettingMessage(int index, size_t lineCount) {
  if (lineCount == 0) return std::string(kNoUserSettingsMessage);
  return "設定がありません: " + std::to_string(index) + " (0-" + std::to_string(lineCount - 1) +
         ")";
}

UserSetting activeUserSetting(const std::vector<std::string>& lines, int setId,
                              bool flagWithoutLines) {
  const int index = activeSettingIndex(setId, lines.size());
  if (index < 0) {
    UserSetting none;
    none.popularityTrios = flagWithoutLines;
    return none;
  }
  return parseUserSetting(lines[static_cast<size_t>(index)]);
}

}  // namespace orvalle::betting
