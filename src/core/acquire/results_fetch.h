#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "acquire/jv_link.h"
#include "store/day_file_store.h"
#include "store/error.h"
#include "store/progress.h"

namespace orvalle::acquire {

// What the results fetch shows: beeps, and each record it stored. The calls
// come from the fetching thread; the defaults ignore them.
class ResultsFetchObserver {
 public:
  virtual ~ResultsFetchObserver() = default;
  virtual void beep() {}
  virtual void stored(const store::StoredRecord& /*record*/) {}
};

struct ResultsFetchResult {
  int openCode = 0;  // JVRTOpen's result; nothing was read unless 0
  int readCode = 0;  // the JVRead result that ended the loop (0, an error, or 0 when cancelled)
  bool cancelled = false;  // the loop stopped on the cancel flag
  int storedRecords = 0;   // records stored in day files

  // Whether the fetch failed, by the one rule every command that fetches
  // results follows: JVRTOpen -1 means JV-Link has no results for the day,
  // which is no failure (nothing was read); any other JVRTOpen result but
  // 0, or a JVRead result below -3, is a failure with the code's message
  // ("JVRTOpenエラー:サーバーがメンテナンス中です。(-504)"). Records stored
  // before a read error stay stored.
  Status status() const;
};

// The JV-Link half of the results command for race date `raceDate`
// (yyyymmdd): opens the real-time results ("0B12") of the day; when that
// gives 0, reads until JVRead gives 0 or an error below -3, or until
// `cancel` is set (tested before every call; -1, -2 and -3 read on), storing
// every record by the results command's rules (RA and SE only into day files
// that exist, HR into its day file, created when missing). Then closes
// JV-Link twice, beeping each time the close gives 0. A JVRTOpen other than
// 0 beeps and reads nothing (and closes likewise).
//
// Day files are written once per data file and at the end (records stored
// before an error stay stored). Throws orvalle::Error when a day file cannot
// be read or written, after closing JV-Link once.
ResultsFetchResult fetchResults(JvLink& link, const std::filesystem::path& dataFolder,
                                std::string_view raceDate, ResultsFetchObserver& observer,
                                const CancelFlag* cancel = nullptr);

}  // namespace orvalle::acquire
