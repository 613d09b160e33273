#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "acquire/acquisition.h"
#include "acquire/results_fetch.h"
#include "app/home.h"
#include "app/settings.h"
#include "store/error.h"

// The acquisition and the results fetch as the user runs them: with the
// home's settings and the replay JV-Link source.
namespace orvalle::app {

// A local date and time to the second.
struct DateTime {
  int date = 0;  // yyyymmdd
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const DateTime&) const = default;
};

// The present local date and time.
DateTime localNow();

// The date and time of a text "yyyy/mm/dd hh:nn:ss" (month, day and the
// time fields may have one digit; without the time it is 00:00:00; blanks
// around it are ignored). Nullopt when the text is not a valid date and time.
std::optional<DateTime> parseDateTime(std::string_view text);

// The from-time a user gives the acquisition: empty, or a text
// parseDateTime reads. Fails with "取得開始日時が正しくありません: " and the
// text, then " (yyyy/mm/dd hh:nn:ss)".
[[nodiscard]] Status checkFromText(std::string_view fromText);

// "yyyy/mm/dd hh:nn:ss", the form of "LastTime".
std::string dateTimeText(const DateTime& dateTime);

// "yyyymmddhhnnss", the from-time JVOpen takes.
std::string fromTimeOf(const DateTime& dateTime);

// How the acquisition opens: the from-date and time and whether
// "セットアップデータ" (option 3) is selected.
struct AcquisitionStart {
  DateTime from;
  bool setup = false;
};

// The opening of the acquisition dialog: "LastTime" of section "JvDataGet";
// when it is missing, empty or not a date and time, setup data is selected
// and the from-time is `now` minus 731 days.
AcquisitionStart acquisitionStart(const Settings& settings, const DateTime& now);

// The replay JV-Link source: `sourceOption` when not empty, else "JvLink" /
// "source" of the settings (a relative path there is taken from the home
// folder). Throws orvalle::Error when neither names a folder.
std::filesystem::path jvLinkSource(const Home& home, std::string_view sourceOption);

// The JV-Link of a command: the replay JV-Link of jvLinkSource(home,
// sourceOption), initialised (JVInit). Throws orvalle::Error when no source
// is set or JVInit fails ("JVInitエラーが発生しました。：" and the code).
std::unique_ptr<acquire::JvLink> openReplayJvLink(const Home& home, std::string_view sourceOption);

struct AcquireCommandOptions {
  std::string source;    // replay source folder; empty: the settings' source
  std::string fromText;  // "yyyy/mm/dd hh:nn:ss"; empty: acquisitionStart's from-time
  bool setup = false;    // option 3; otherwise acquisitionStart's choice
};

// The acquisition command on a home: its JV-Link (a ReplayJvLink of the
// source, initialised) and the acquisition into the home's folders. The
// object lives while the dialog is open; run() may be cancelled from another
// thread.
class AcquireCommand {
 public:
  // Creates the home's folders, opens the replay source (`sourceOption` or
  // the settings', see jvLinkSource) and calls JVInit. Throws orvalle::Error
  // when the source is not set, JVInit fails ("JVInitエラーが発生しました。："
  // and the code) or the folders cannot be made.
  AcquireCommand(Home home, std::string_view sourceOption);
  ~AcquireCommand();

  AcquireCommand(const AcquireCommand&) = delete;
  AcquireCommand& operator=(const AcquireCommand&) = delete;

  // Runs one acquisition from `fromText` ("yyyy/mm/dd hh:nn:ss"; empty:
  // acquisitionStart's from-time) with option 3 when `setup` or when
  // acquisitionStart selects it, else option 1. Writes "LastTime" of section
  // "JvDataGet" the moment the acquisition saves it. Reports through
  // `observer` as acquire::Acquisition::run does and never throws for what
  // happens during the transfer. Throws orvalle::Error with checkFromText's
  // message before anything is acquired when `fromText` is not a date and
  // time.
  acquire::AcquisitionResult run(std::string_view fromText, bool setup,
                                 acquire::AcquisitionObserver& observer,
                                 const DateTime& now = localNow());

  // Cancels a running acquisition (see acquire::Acquisition::cancel).
  bool cancel();

  const Home& home() const { return m_home; }

 private:
  Home m_home;
  std::unique_ptr<acquire::JvLink> m_link;
  std::unique_ptr<acquire::Acquisition> m_acquisition;
};

// One acquisition as the command line runs it: AcquireCommand(home,
// options.source).run(options.fromText, options.setup, observer, now).
acquire::AcquisitionResult runAcquireCommand(const Home& home, const AcquireCommandOptions& options,
                                             acquire::AcquisitionObserver& observer,
                                             const DateTime& now = localNow());

// The JV-Link half of the results command for a day (a day stem or
// yyyymmdd, read by dayInput) against the replay source (`sourceOption` or
// the settings'): openReplayJvLink, then acquire::fetchResults into the
// home's data folder (the home's folders are created when missing). Whether
// the fetch failed is the result's status(). Throws orvalle::Error with
// dayInput's message when the day is not a date, and when the source is not
// set, JVInit fails or a day file cannot be read or written.
acquire::ResultsFetchResult runFetchResultsCommand(const Home& home, std::string_view day,
                                                   std::string_view sourceOption,
                                                   acquire::ResultsFetchObserver& observer);

}  // namespace orvalle::app
