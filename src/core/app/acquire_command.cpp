#include "app/acquire_command.h"

#include <charconv>
#include <ctime>
#include <utility>

#include "acquire/replay_jv_link.h"
#include "app/user_input.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/race_date.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;

// The acquisition starts this many days back when it has no last time.
constexpr int kFirstAcquisitionDays = 731;

// Reads a number of 1 to `maxDigits` digits at the front of `text`.
std::optional<int> takeNumber(std::string_view& text, size_t maxDigits) {
  size_t digits = 0;
  while (digits < text.size() && digits < maxDigits && text[digits] >= '0' && text[digits] <= '9') {
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  int value = 0;
  std::from_chars(text.data(), text.data() + digits, value);
  text.remove_prefix(digits);
  return value;
}

bool takeSeparator(std::string_view& text, char separator) {
  if (text.empty() || text.front() != separator) return false;
  text.remove_prefix(1);
  return true;
}

// Passes every call on to the caller's observer and keeps the last time in
// the settings file as soon as the acquisition saves it.
class LastTimeKeeper final : public acquire::AcquisitionObserver {
 public:
  LastTimeKeeper(Settings settings, acquire::AcquisitionObserver& next)
      : m_settings(std::move(settings)), m_next(next) {}

  void message(acquire::MessageKind kind, const std::string& text) override {
    m_next.message(kind, text);
  }
  void beep() override { m_next.beep(); }
  void statusText(const std::string& text) override { m_next.statusText(text); }
  void progress(acquire::ProgressBar bar, int position, int maximum) override {
    m_next.progress(bar, position, maximum);
  }
  void listCleared() override { m_next.listCleared(); }
  void listLine(const std::string& line) override { m_next.listLine(line); }
  void buildText(const std::string& text) override { m_next.buildText(text); }
  void lastTimeSaved(const std::string& lastTime) override {
    m_settings.setText(settings::kLastAcquisitionTime, lastTime);
    m_next.lastTimeSaved(lastTime);
  }

 private:
  Settings m_settings;
  acquire::AcquisitionObserver& m_next;
};

}  // namespace

DateTime localNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {(local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday, local.tm_hour,
          local.tm_min, local.tm_sec};
}

std::optional<DateTime> parseDateTime(std::string_view text) {
  text = store::trim(text);
  std::optional<int> year = takeNumber(text, 4);
  if (!year || !takeSeparator(text, '/')) return std::nullopt;
  std::optional<int> month = takeNumber(text, 2);
  if (!month || !takeSeparator(text, '/')) return std::nullopt;
  std::optional<int> day = takeNumber(text, 2);
  if (!day || !store::codes::isValidDate(*year, *month, *day)) return std::nullopt;
  DateTime result{*year * 10000 + *month * 100 + *day, 0, 0, 0};
  if (text.empty()) return result;

  if (!takeSeparator(text, ' ')) return std::nullopt;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::optional<int> hour = takeNumber(text, 2);
  if (!hour || !takeSeparator(text, ':')) return std::nullopt;
  std::optional<int> minute = takeNumber(text, 2);
  if (!minute || !takeSeparator(text, ':')) return std::nullopt;
  std::optional<int> second = takeNumber(text, 2);
  if (!second || !text.empty() || *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  result.hour = *hour;
  result.minute = *minute;
  result.second = *second;
  return result;
}

Status checkFromText(std::string_view fromText) {
  if (store::trim(fromText).empty() || parseDateTime(fromText)) return Status::success();
  return Status::failure("取得開始日時が正しくありません: " + std::string(fromText) +
                         " (yyyy/mm/dd hh:nn:ss)");
}

std::string dateTimeText(const DateTime& dateTime) {
  return store::codes::dateText(dateTime.date) +
         store::format(" %02d:%02d:%02d", dateTime.hour, dateTime.minute, dateTime.second);
}

std::string fromTimeOf(const DateTime& dateTime) {
  return store::format("%08d%02d%02d%02d", dateTime.date, dateTime.hour, dateTime.minute,
                       dateTime.second);
}

AcquisitionStart acquisitionStart(const Settings& settings, const DateTime& now) {
  std::optional<DateTime> last =
      parseDateTime(cp932::toUtf8(settings.text(settings::kLastAcquisitionTime)));
  if (last) return {*last, false};
  DateTime from = now;
  from.date = store::codes::addDays(now.date, -kFirstAcquisitionDays);
  return {from, true};
}

fs::path jvLinkSource(const Home& home, std::string_view sourceOption) {
  if (!sourceOption.empty()) return fs::path(std::string(sourceOption));
  Settings settings(home.iniPath());
  std::string configured = cp932::toUtf8(settings.text(settings::kJvLinkSource));
  if (store::trim(configured).empty()) {
    throw Error(
        "JV-Linkのデータ取得元フォルダが設定されていません。(orvalle.ini の JvLink / source)");
  }
  fs::path source(configured);
  return source.is_relative() ? home.root() / source : source;
}

std::unique_ptr<acquire::JvLink> openReplayJvLink(const Home& home, std::string_view sourceOption) {
  auto link = std::make_unique<acquire::ReplayJvLink>(jvLinkSource(home, sourceOption));
  if (Status status = acquire::initialiseJvLink(*link); !status) throw Error(status.message());
  return link;
}

AcquireCommand::AcquireCommand(Home home, std::string_view sourceOption) : m_home(std::move(home)) {
  m_link = openReplayJvLink(m_home, sourceOption);
  m_home.init();
  m_acquisition =
      std::make_unique<acquire::Acquisition>(*m_link, m_home.dataFolder(), m_home.seiFolder());
}

AcquireCommand::~AcquireCommand() = default;

acquire::AcquisitionResult AcquireCommand::run(std::string_view fromText, bool setup,
                                               acquire::AcquisitionObserver& observer,
                                               const DateTime& now) {
  Settings settings(m_home.iniPath());
  AcquisitionStart start = acquisitionStart(settings, now);
  if (Status status = checkFromText(fromText); !status) throw Error(status.message());
  if (!store::trim(fromText).empty()) start.from = *parseDateTime(fromText);
  acquire::AcquisitionRequest request;
  request.fromTime = fromTimeOf(start.from);
  request.option = setup || start.setup ? acquire::kOptionSetup : acquire::kOptionNormal;
  LastTimeKeeper keeper(std::move(settings), observer);
  return m_acquisition->run(request, keeper);
}

bool AcquireCommand::cancel() { return m_acquisition->cancel(); }

acquire::AcquisitionResult runAcquireCommand(const Home& home, const AcquireCommandOptions& options,
                                             acquire::AcquisitionObserver& observer,
                                             const DateTime& now) {
  AcquireCommand command(home, options.source);
  return command.run(options.fromText, options.setup, observer, now);
}

acquire::ResultsFetchResult runFetchResultsCommand(const Home& home, std::string_view day,
                                                   std::string_view sourceOption,
                                                   acquire::ResultsFetchObserver& observer) {
  Input stem = dayInput(day);
  if (!stem) throw Error(stem.status.message());
  std::unique_ptr<acquire::JvLink> link = openReplayJvLink(home, sourceOption);
  home.init();
  return acquire::fetchResults(*link, home.dataFolder(), *store::dateOfDayStem(stem.value),
                               observer);
}

}  // namespace orvalle::app
