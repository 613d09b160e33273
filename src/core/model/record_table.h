#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvalle::model {

// A table of fixed-size record images (RA, SE, HR or past-run records) in one
// block of memory. Images are copied in and out whole; a record shorter than
// the size is padded with blanks, a longer one cut. Every index is checked.
class RecordTable {
 public:
  RecordTable(size_t recordCount, size_t recordSize);

  size_t recordCount() const { return m_count; }
  size_t recordSize() const { return m_size; }

  // The image at `index`. Throws orvalle::Error for an index out of range.
  std::string_view at(size_t index) const;
  // Copies `image` into slot `index`, padded with blanks or cut to the size.
  void assign(size_t index, std::string_view image);
  // Fills every slot with blanks.
  void blankFill();

 private:
  size_t checked(size_t index) const;

  size_t m_count;
  size_t m_size;
  // Slots are blank until assigned: a slot never assigned since the last
  // blank fill reads as m_blank and its bytes are not touched, so a large
  // table costs no time and no memory for the slots a day does not use.
  std::unique_ptr<char[]> m_bytes;
  std::vector<bool> m_assigned;
  std::string m_blank;
};

}  // namespace orvalle::model
