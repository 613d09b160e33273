#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Unpacking of LHA (.lzh) archives, the form in which predicted odds arrive.
namespace orvalle::output {

// What unpacking an archive did.
struct [[nodiscard]] LhaExtraction {
  // The archive is missing, is not an LHA archive, ends inside a header or a
  // member, or a member fails its length or CRC check or uses a method that
  // cannot be unpacked. Nothing was written then.
  bool damaged = false;
  // The files written, by base name (UTF-8), in archive order. A name that
  // occurs twice is listed twice; the later member's content is on disk.
  std::vector<std::string> extracted;
  // Members left out because their stored name is absolute or holds a ".."
  // component, as stored (CP932 shown as UTF-8).
  std::vector<std::string> refused;

  // Members passed over because the caller did not want them.
  int passedOver = 0;
  // True when the archive was read in full and at least one file written.
  bool anythingExtracted() const { return !damaged && !extracted.empty(); }
  // True when the archive was read in full and held at least one file
  // member that was written or passed over.
  bool anythingUnpacked() const { return !damaged && (!extracted.empty() || passedOver > 0); }
};

// Unpacks every file member of the archive into `folder` under the member's
// base name: directories stored in the archive are not created, so nothing
// is ever written outside `folder`. Directory entries and symbolic links are
// skipped. A member whose stored name (as the header holds it, before any
// clean-up) is absolute ("/x", "\x", "C:x") or has a ".." component is
// refused and listed. Names stored as CP932 become UTF-8 file names.
//
// All members are read and checked (length and CRC-16) before anything is
// written; a damaged archive writes nothing. Each file is then replaced
// atomically (temporary file and rename), so no file is ever left half
// written. Members larger than kMaxLhaExtractedBytes in total count as
// damaged. Throws orvalle::Error when the archive exists but cannot be read,
// or when a file cannot be written (files written before it stay, complete).
//
// `wanted`, when given, names the members to unpack by their file name on
// disk: the others are passed over unread and neither listed nor written.
// An archive of more than kMaxLhaMembers members counts as damaged, and so
// does a stored name (directory or file) holding a control byte (it is
// refused).
LhaExtraction extractLhaArchive(const std::filesystem::path& archive,
                                const std::filesystem::path& folder,
                                const std::function<bool(std::string_view diskName)>& wanted = {});

// The most an archive may unpack to, all members together.
inline constexpr uint64_t kMaxLhaExtractedBytes = 256ull * 1024 * 1024;
// The most members an archive may hold (a predicted-odds archive holds a few).
inline constexpr int kMaxLhaMembers = 1000;

// The CRC-16 of LHA members (polynomial 0xA001, reflected, initial 0).
uint16_t lhaCrc16(std::string_view bytes);

}  // namespace orvalle::output
