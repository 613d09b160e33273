#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "betting/odds_ceiling.h"
#include "store/error.h"

namespace orvalle::app {

// How a setting is stored and read.
enum class SettingType {
  kInteger,  // decimal; a value that is not a whole number reads the default
  kBoolean,  // "1"/"0"; any non-zero integer reads true
  kDecimal,  // a decimal number written "%4.1f"; a value that is not a number reads the default
  kText,     // CP932 text, read by the text rule (readTextValue)
};

// The range a dialog accepts for a number, with its messages (UTF-8).
struct SettingRange {
  double minimum;
  double maximum;
  std::string_view belowMessage;
  std::string_view aboveMessage;
};

// One key of the settings file: section, key, type and the default as
// stored text. Sections and keys compare without regard to letter case.
struct SettingKey {
  std::string_view section;
  std::string_view key;
  SettingType type;
  std::string_view defaultValue;
  const SettingRange* range = nullptr;  // set for values a dialog limits

  bool operator==(const SettingKey& other) const {
    return section == other.section && key == other.key;
  }
};

// The keys of the settings file. Each reader and writer of a setting names
// it by one of these.
namespace settings {

inline constexpr SettingRange kPeriodRange{
    365, 7300, "過去走データ利用範囲は365日（1年分）から7300日までの間で指定してください。",
    "過去走データ利用範囲は365日（1年分）から7300日までの間で指定してください。"};
inline constexpr SettingRange kOddsCeilingRange{
    betting::kOddsCeilingMinimum, betting::kOddsCeilingMaximum, betting::kOddsCeilingBelowMessage,
    betting::kOddsCeilingAboveMessage};

// Main window place and size, written when it closes.
inline constexpr SettingKey kLocateTop{"locate", "top", SettingType::kInteger, "10"};
inline constexpr SettingKey kLocateLeft{"locate", "left", SettingType::kInteger, "10"};
inline constexpr SettingKey kLocateWidth{"locate", "width", SettingType::kInteger, "630"};
inline constexpr SettingKey kLocateHeight{"locate", "height", SettingType::kInteger, "450"};
// Option: take every past run regardless of its date.
inline constexpr SettingKey kIgnorePastRunDates{"ReadKako", "IgnoDate", SettingType::kBoolean, "0"};
// Option: run the all-race comparison right after a day is loaded.
inline constexpr SettingKey kCompareAfterLoading{"AllRace", "ExecComp", SettingType::kBoolean, "1"};
// Option: hide the race list after a day is loaded.
inline constexpr SettingKey kCloseRaceList{"datalist", "close", SettingType::kBoolean, "0"};
// Past-run period in days.
inline constexpr SettingKey kPastRunPeriod{"DataSpan", "period", SettingType::kInteger, "1826",
                                           &kPeriodRange};
// Predicted-odds threshold of the reverse ranks.
inline constexpr SettingKey kOddsCeiling{"OddsSpan", "ceil", SettingType::kDecimal, "10.0",
                                         &kOddsCeilingRange};
// Chosen user combination setting: 0-based line of the user combination settings file.
inline constexpr SettingKey kUserSettingId{"UserSetting", "SetID", SettingType::kInteger, "0"};
// Predicted-odds folder; empty means the home's yLZH folder.
inline constexpr SettingKey kOddsFolder{"Dir", "yoso", SettingType::kText, ""};
// Last acquisition time "yyyy/mm/dd hh:nn:ss"; empty before the first acquisition.
inline constexpr SettingKey kLastAcquisitionTime{"JvDataGet", "LastTime", SettingType::kText, ""};
// Print preview window place and size.
inline constexpr SettingKey kPrintTop{"Printlocate", "top", SettingType::kInteger, "10"};
inline constexpr SettingKey kPrintLeft{"Printlocate", "left", SettingType::kInteger, "10"};
inline constexpr SettingKey kPrintWidth{"Printlocate", "width", SettingType::kInteger, "630"};
inline constexpr SettingKey kPrintHeight{"Printlocate", "height", SettingType::kInteger, "450"};
// Print preview zoom choice (index: 0 = 25%, 1 = 50%, ...).
inline constexpr SettingKey kPrintZoom{"PrintZoom", "ratio", SettingType::kInteger, "1"};
// Folder of the replay JV-Link source.
inline constexpr SettingKey kJvLinkSource{"JvLink", "source", SettingType::kText, ""};

// The messages of a command that needs an option of the day loading in a
// known state: "AllRace"/"ExecComp" on, "ReadKako"/"IgnoDate" off.
inline constexpr std::string_view kCompareAfterLoadingOffMessage =
    "メニューの「ｵﾌﾟｼｮﾝ」－「データ読込後直ちに全レース比較を行う」のﾁｪｯｸをしてから実行して"
    "ください。";
inline constexpr std::string_view kIgnorePastRunDatesOnMessage =
    "メニューの「ｵﾌﾟｼｮﾝ」－「データ読込時過去走の日付を無視する」のﾁｪｯｸをはずしてから実行"
    "してください。";

}  // namespace settings

// Every key of the settings file, in the file's order.
std::span<const SettingKey> allSettingKeys();

// The key of `section` and `key` (letter case ignored), or nullptr when the
// settings file has no such key.
const SettingKey* findSettingKey(std::string_view section, std::string_view key);

// The text rule of stored values (CP932): a value that is exactly "" or the
// half-width brackets "｢｣" reads empty; a longer value enclosed in double
// quotes or in "｢" and "｣" loses its first and last byte.
std::string readTextValue(std::string_view stored);

// The stored form of a text: the text itself when it reads back unchanged,
// else the text in double quotes (a text with blanks at either end, or one
// the text rule would cut). readTextValue(storedTextValue(t)) == t.
std::string storedTextValue(std::string_view text);

// The settings file "orvalle.ini" of the home. Every read opens the file
// afresh; every change rewrites it at once, atomically, as plain "key=value"
// lines ended by CR LF with CP932 values. Sections and keys the program does
// not know are kept. A missing file or a missing key reads the key's
// default; a file that exists but cannot be read is an error naming it
// (orvalle::Error from every read), never the defaults.
class Settings {
 public:
  explicit Settings(std::filesystem::path iniPath);

  const std::filesystem::path& path() const { return m_path; }

  // Reads a key of the matching type. Throws std::invalid_argument when the
  // key is of another type (a programming error).
  int integer(const SettingKey& key) const;
  bool boolean(const SettingKey& key) const;
  double decimal(const SettingKey& key) const;
  std::string text(const SettingKey& key) const;  // CP932

  // The value of any key as shown to the user (CP932): integers in decimal,
  // booleans "1" or "0", decimals "%.1f", texts by the text rule.
  std::string displayValue(const SettingKey& key) const;

  // Write one key of the matching type. Throw orvalle::Error when the file
  // cannot be written, or exists but cannot be read (it is then left alone
  // rather than replaced by one holding only this key); the old file stays.
  // Throw std::invalid_argument for a key of another type.
  void setInteger(const SettingKey& key, int value);
  void setBoolean(const SettingKey& key, bool value);
  void setDecimal(const SettingKey& key, double value);  // written "%4.1f"
  // Throws orvalle::Error for a text holding CR, LF or NUL, which cannot be
  // kept on one line.
  void setText(const SettingKey& key, std::string_view cp932Text);

  // Validates user input (CP932) for `key` as its dialog does and writes it:
  // integers must be whole numbers, booleans "0" or "1", decimals numbers
  // (written "%4.1f"), numbers within the key's range. A validation failure
  // returns its message (UTF-8) and writes nothing; a write failure throws
  // orvalle::Error.
  [[nodiscard]] Status setFromText(const SettingKey& key, std::string_view input);

 private:
  // The stored value of a key (blanks around it removed), or nullopt.
  std::optional<std::string> storedValue(const SettingKey& key) const;
  void store(const SettingKey& key, std::string_view value);

  std::filesystem::path m_path;
};

}  // namespace orvalle::app
