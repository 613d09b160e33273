#pragma once

#include <string>
#include <string_view>

#include "store/record.h"

namespace orvalle::test {

// Builds JV-Data records for tests: a record of blanks of the kind's length
// ending in CR LF, with fields set by their descriptors. Texts given to the
// setters are UTF-8 and stored as CP932; set() pads or cuts to the field's
// width (text left-aligned), setNumber() writes zero-padded digits.
class RecordBuilder {
 public:
  // An RA record of race `raceKey` (16 digits) with data kind `dataKind`.
  static RecordBuilder ra(std::string_view raceKey, char dataKind = '7');
  static RecordBuilder se(std::string_view raceKey, int horseNumber, char dataKind = '7');
  static RecordBuilder hr(std::string_view raceKey, char dataKind = '2');

  RecordBuilder& set(store::Field field, std::string_view utf8Text);
  RecordBuilder& setRaw(store::Field field, std::string_view cp932Bytes);
  RecordBuilder& setNumber(store::Field field, int value);

  // The whole record, CR LF included.
  const std::string& record() const { return m_record; }
  // The record without its CR LF: a stored line.
  std::string line() const { return m_record.substr(0, m_record.size() - 2); }

 private:
  RecordBuilder(std::string_view kind, size_t length, std::string_view raceKey, char dataKind);
  std::string m_record;
};

}  // namespace orvalle::test
