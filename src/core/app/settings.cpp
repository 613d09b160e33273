#include "app/settings.h"

#include <SimpleIni.h>

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/text_file.h"

namespace orvalle::app {
namespace {

constexpr std::array kAllKeys{
    settings::kLocateTop,     settings::kLocateLeft,         settings::kLocateWidth,
    settings::kLocateHeight,  settings::kIgnorePastRunDates, settings::kCompareAfterLoading,
    settings::kCloseRaceList, settings::kPastRunPeriod,      settings::kOddsCeiling,
    settings::kUserSettingId, settings::kOddsFolder,         settings::kLastAcquisitionTime,
    settings::kPrintTop,      settings::kPrintLeft,          settings::kPrintWidth,
    settings::kPrintHeight,   settings::kPrintZoom,          settings::kJvLinkSource,
};

// Half-width brackets "｢" and "｣" in CP932.
constexpr char kOpenBracket = '\xA2';
constexpr char kCloseBracket = '\xA3';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// True when the last byte of the text is a character of its own, not the
// second byte of a two-byte character ("ぅ" is 0x82 0xA3).
bool lastByteIsCharacter(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (i + 1 == text.size()) return true;
    i += cp932::isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return false;
}

// A whole decimal number within int, with blanks around it; nullopt otherwise.
std::optional<int> parseInteger(std::string_view text) {
  text = trimBlanks(text);
  if (text.empty()) return std::nullopt;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A plain decimal number "[-]digits[.digits]" with blanks around it; no
// exponent, no infinity or NaN.
std::optional<double> parseDecimal(std::string_view text) {
  text = trimBlanks(text);
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  bool anyDigit = false;
  bool point = false;
  for (char c : digits) {
    if (c >= '0' && c <= '9') {
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit) return std::nullopt;
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

void requireType(const SettingKey& key, SettingType type) {
  if (key.type != type) {
    throw std::invalid_argument("setting " + std::string(key.section) + "/" + std::string(key.key) +
                                " is read or written as another type");
  }
}

std::string formatDecimal(double value) { return store::format("%4.1f", value); }

Status checkRange(const SettingKey& key, double value) {
  if (key.range == nullptr) return Status::success();
  if (value < key.range->minimum) return Status::failure(std::string(key.range->belowMessage));
  if (value > key.range->maximum) return Status::failure(std::string(key.range->aboveMessage));
  return Status::success();
}

bool holdsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The ini data of the file, read as SimpleIni keeps it: case-insensitive
// sections and keys, values as raw bytes, the first of repeated keys read.
class IniData {
 public:
  IniData() : m_ini(/*isUtf8=*/false, /*multiKey=*/true, /*multiLine=*/false) {
    m_ini.SetSpaces(false);
    m_ini.SetQuotes(false);
  }

  // Loads the bytes; a UTF-8 signature in front is dropped, so that the
  // first section is not lost.
  void load(std::string_view bytes, const std::filesystem::path& path) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (m_ini.LoadData(bytes.data(), bytes.size()) < 0) {
      throw Error("設定ファイルを読み込めませんでした: " + path.string());
    }
  }

  std::optional<std::string> value(const SettingKey& key) const {
    const char* value =
        m_ini.GetValue(std::string(key.section).c_str(), std::string(key.key).c_str(), nullptr);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  }

  void set(const SettingKey& key, std::string_view value) {
    if (m_ini.SetValue(std::string(key.section).c_str(), std::string(key.key).c_str(),
                       std::string(value).c_str(), nullptr, /*forceReplace=*/true) < 0) {
      throw Error("設定を書き込めませんでした");
    }
  }

  // The file's bytes: plain "key=value" lines ended by CR LF.
  std::string bytes() const {
    std::string out;
    if (m_ini.Save(out, false) < 0) throw Error("設定を書き込めませんでした");
    // SimpleIni separates sections by two empty lines; one is kept.
    std::vector<std::string> lines;
    for (std::string& line : store::splitLines(out)) {
      if (line.empty() && (lines.empty() || lines.back().empty())) continue;
      lines.push_back(std::move(line));
    }
    return store::joinLines(lines);
  }

 private:
  CSimpleIniA m_ini;
};

}  // namespace

std::span<const SettingKey> allSettingKeys() { return kAllKeys; }

const SettingKey* findSettingKey(std::string_view section, std::string_view key) {
  for (const SettingKey& candidate : kAllKeys) {
    if (store::compareCaseInsensitive(candidate.section, section) == 0 &&
        store::compareCaseInsensitive(candidate.key, key) == 0) {
      return &candidate;
    }
  }
  return nullptr;
}

std::string readTextValue(std::string_view stored) {
  if (stored == "\"\"" || stored == std::string_view("\xA2\xA3")) return {};
  if (stored.size() > 2) {
    bool quoted = stored.front() == '"' && stored.back() == '"';
    bool bracketed = stored.front() == kOpenBracket && stored.back() == kCloseBracket &&
                     lastByteIsCharacter(stored);
    if (quoted || bracketed) return std::string(stored.substr(1, stored.size() - 2));
  }
  return std::string(stored);
}

std::string storedTextValue(std::string_view text) {
  bool keepsBlanks = text.empty() || (!isBlank(text.front()) && !isBlank(text.back()));
  if (keepsBlanks && readTextValue(text) == text) return std::string(text);
  return "\"" + std::string(text) + "\"";
}

Settings::Settings(std::filesystem::path iniPath) : m_path(std::move(iniPath)) {}

std::optional<std::string> Settings::storedValue(const SettingKey& key) const {
  // A file that cannot be read is an error: its defaults could undo what
  // the user set (an option that forbids writing predictions).
  std::optional<std::string> bytes = store::readFileBytes(m_path);
  if (!bytes) return std::nullopt;
  IniData data;
  data.load(*bytes, m_path);
  return data.value(key);
}

void Settings::store(const SettingKey& key, std::string_view value) {
  if (holdsLineBreakOrNul(value)) {
    throw Error("改行を含む値は設定できません: [" + std::string(key.section) + "] " +
                std::string(key.key));
  }
  // A file that exists but cannot be read is not replaced: that would lose
  // every other setting. readFileBytes throws for it.
  std::optional<std::string> bytes = store::readFileBytes(m_path);
  IniData data;
  if (bytes) data.load(*bytes, m_path);
  data.set(key, value);
  store::writeFileAtomicallyOrThrow(m_path, data.bytes());
}

int Settings::integer(const SettingKey& key) const {
  requireType(key, SettingType::kInteger);
  if (auto stored = storedValue(key)) {
    if (auto value = parseInteger(*stored)) return *value;
  }
  return parseInteger(key.defaultValue).value_or(0);
}

bool Settings::boolean(const SettingKey& key) const {
  requireType(key, SettingType::kBoolean);
  if (auto stored = storedValue(key)) {
    if (auto value = parseInteger(*stored)) return *value != 0;
  }
  return parseInteger(key.defaultValue).value_or(0) != 0;
}

double Settings::decimal(const SettingKey& key) const {
  requireType(key, SettingType::kDecimal);
  if (auto stored = storedValue(key)) {
    if (auto value = parseDecimal(*stored)) return *value;
  }
  return parseDecimal(key.defaultValue).value_or(0.0);
}

std::string Settings::text(const SettingKey& key) const {
  requireType(key, SettingType::kText);
  if (auto stored = storedValue(key)) return readTextValue(*stored);
  return std::string(key.defaultValue);
}

std::string Settings::displayValue(const SettingKey& key) const {
  switch (key.type) {
    case SettingType::kInteger:
      return std::to_string(integer(key));
    case SettingType::kBoolean:
      return boolean(key) ? "1" : "0";
    case SettingType::kDecimal:
      return store::format("%.1f", decimal(key));
    case SettingType::kText:
      return text(key);
  }
  return {};
}

void Settings::setInteger(const SettingKey& key, int value) {
  requireType(key, SettingType::kInteger);
  store(key, std::to_string(value));
}

void Settings::setBoolean(const SettingKey& key, bool value) {
  requireType(key, SettingType::kBoolean);
  store(key, value ? "1" : "0");
}

void Settings::setDecimal(const SettingKey& key, double value) {
  requireType(key, SettingType::kDecimal);
  store(key, formatDecimal(value));
}

void Settings::setText(const SettingKey& key, std::string_view cp932Text) {
  requireType(key, SettingType::kText);
  store(key, storedTextValue(cp932Text));
}

Status Settings::setFromText(const SettingKey& key, std::string_view input) {
  if (key.type != SettingType::kText && store::isBlank(input)) {
    return Status::failure("入力がありません。");
  }
  switch (key.type) {
    case SettingType::kInteger: {
      std::optional<int> value = parseInteger(input);
      if (!value) return Status::failure("整数を入力してください。");
      if (Status status = checkRange(key, *value); !status) return status;
      setInteger(key, *value);
      return Status::success();
    }
    case SettingType::kBoolean: {
      std::string_view value = trimBlanks(input);
      if (value != "0" && value != "1") return Status::failure("0 または 1 を入力してください。");
      setBoolean(key, value == "1");
      return Status::success();
    }
    case SettingType::kDecimal: {
      std::optional<double> value = parseDecimal(input);
      if (!value) return Status::failure("数値を入力してください。");
      if (Status status = checkRange(key, *value); !status) return status;
      setDecimal(key, *value);
      return Status::success();
    }
    case SettingType::kText:
      if (holdsLineBreakOrNul(input)) return Status::failure("改行を含む値は設定できません。");
      setText(key, input);
      return Status::success();
  }
  return Status::failure("設定できません。");
}

}  // namespace orvalle::app
