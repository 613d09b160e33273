#pragma once

#include <string>
#include <string_view>

#include "store/error.h"

// The calls the system makes on JV-Link, JRA-VAN's data control: initialise,
// open a transfer of stored data (with its download) or of real-time data,
// read its records one by one, cancel and close. Every call returns JV-Link's
// 32-bit code; the texts of the codes are in store/jvlink_messages.h.
namespace orvalle::acquire {

// JV-Link's codes that the system tests by value.
namespace jv {
inline constexpr int kOk = 0;
// JVOpen and JVRTOpen: nothing newer than the from-time, or nothing for the key.
inline constexpr int kNoData = -1;
// JVRead: the next file begins.
inline constexpr int kFileSwitch = -1;
// JVRead: nothing yet, call again; -3 = the file is still downloading.
inline constexpr int kNotReady = -2;
inline constexpr int kDownloading = -3;
// JVRead: all files read.
inline constexpr int kEndOfData = 0;
}  // namespace jv

// JVOpen options.
inline constexpr int kOptionNormal = 1;
inline constexpr int kOptionSetup = 3;

// The data ID of the acquisition and of real-time results.
inline constexpr std::string_view kAcquisitionDataId = "RACEDIFF";
inline constexpr std::string_view kResultsDataId = "0B12";

// The software id the program gives JVInit: its id and version text.
inline constexpr std::string_view kSoftwareId = "SK731902/SM118845/QuendrilJDL/Ver.1.30";

// The out values of JVOpen.
struct JvOpenCounts {
  // Files to read.
  int readCount = 0;
  // Files still to download; JVStatus counts up to it.
  int downloadCount = 0;
  // yyyymmddhhnnss of the newest file of the transfer; blank or all zeros
  // when there is none.
  std::string lastFileTimestamp;
};

// One JV-Link control. A transfer is opened by jvOpen or jvRTOpen, read with
// jvRead and ended by jvClose.
//
// Threads: the calls are made from one thread at a time, except jvCancel,
// which may be called from any thread while another thread waits on
// jvStatus or runs a jvRead loop; an implementation keeps that safe.
class JvLink {
 public:
  virtual ~JvLink() = default;

  // Initialises the control with the program's software id. 0 = ready;
  // anything else is a failure.
  virtual int jvInit(std::string_view softwareId) = 0;

  // Shows JV-Link's own settings dialog (service key, data folder). 0 = done.
  virtual int jvSetUIProperties() = 0;

  // Opens the stored data of `dataId` newer than `fromTime`
  // ("yyyymmddhhnnss") with `option` (1 normal data, 3 setup data) and sets
  // `counts`. 0 = opened; -1 = no data newer than the from-time; other
  // values are errors (`counts` is then left zero).
  virtual int jvOpen(std::string_view dataId, std::string_view fromTime, int option,
                     JvOpenCounts& counts) = 0;

  // The number of files downloaded so far, 0 up to the download count of
  // JVOpen; negative = error.
  virtual int jvStatus() = 0;

  // Reads the next record of the open transfer. Greater than 0: one record
  // in `record` as CP932 bytes with its final CR LF, `size` set to its byte
  // length (the result), `fileName` to the name of the file it comes from;
  // 0 = all files read; -1 = the next file begins; -2 and -3 = nothing yet,
  // call again (-3 = still downloading); below -3 = error. `record` is
  // replaced by each record; on other results it is left empty.
  virtual int jvRead(std::string& record, int& size, std::string& fileName) = 0;

  // Stops the download of the open transfer. May be called from another
  // thread (see the class comment). The result is not used.
  virtual int jvCancel() = 0;

  // Closes the open transfer. 0 = closed; other = error.
  virtual int jvClose() = 0;

  // Opens real-time data of `dataId` ("0B12": race results) for `key`
  // (the race date yyyymmdd). 0 = opened, the records follow through jvRead;
  // other = nothing to read.
  virtual int jvRTOpen(std::string_view dataId, std::string_view key) = 0;
};

// Initialises `link` with the program's software id, as the main window does
// when it is first shown. On a non-zero code the status carries
// "JVInitエラーが発生しました。：" and the code in decimal.
[[nodiscard]] Status initialiseJvLink(JvLink& link);

}  // namespace orvalle::acquire
