#pragma once

#include <string>

namespace orvalle::acquire {

// How the user is told a message of the acquisition.
enum class MessageKind {
  // An information box: news for the user, no failure ("最新のデータがありません。").
  kInformation,
  // Something was left out but the acquisition went on (a runner without a
  // valid registration number gets no past-run file).
  kWarning,
  // A step failed and the transfer ended (a JV-Link error, a file error, a
  // past-run construction that found its data incomplete).
  kError,
};

// The three progress bars of the acquisition.
enum class ProgressBar {
  kDownload,  // "ダウンロード": files downloaded
  kRead,      // "読込み": files read
  kPastRuns,  // "過去データ構築": result days built
};

// What the acquisition shows while it runs. The acquisition dialog shows
// these in its controls; the command line prints them. Every text is UTF-8.
// The calls come from the thread that runs the acquisition. The default of
// every call ignores it.
class AcquisitionObserver {
 public:
  virtual ~AcquisitionObserver() = default;

  // A message box with OK; the warning beep, where there is one, comes as
  // beep() just before.
  virtual void message(MessageKind /*kind*/, const std::string& /*text*/) {}
  // The warning beep.
  virtual void beep() {}
  // The progress and status text (the dialog's ProgressLabel).
  virtual void statusText(const std::string& /*text*/) {}
  // A progress bar's position and maximum.
  virtual void progress(ProgressBar /*bar*/, int /*position*/, int /*maximum*/) {}
  // The list of records stored from the current file (ListBox1) is emptied.
  virtual void listCleared() {}
  // A line of that list: "作成済み:" race "R/" file name, and for a runner
  // "作成済み:" race "R/" horse "番/" file name.
  virtual void listLine(const std::string& /*line*/) {}
  // The past-run construction's text (Label9): the day being built, then
  // "過去走データを構築しました。".
  virtual void buildText(const std::string& /*text*/) {}
  // The new last time "yyyy/mm/dd hh:nn:ss" after a complete read: the caller
  // keeps it as "LastTime" of section "JvDataGet" (and shows it), so that the
  // next transfer starts from it. Throws orvalle::Error when it cannot be
  // kept; the acquisition then reports the failure.
  virtual void lastTimeSaved(const std::string& /*lastTime*/) {}
};

}  // namespace orvalle::acquire
