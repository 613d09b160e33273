#include "support/record_builder.h"

#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::test {

RecordBuilder::RecordBuilder(std::string_view kind, size_t length, std::string_view raceKey,
                             char dataKind)
    : m_record(length, ' ') {
  m_record[length - 2] = '\r';
  m_record[length - 1] = '\n';
  setRaw(store::head::kRecordKind, kind);
  m_record[2] = dataKind;
  setRaw(store::head::kCreationDate, "20240101");
  setRaw(store::head::kRaceKey, raceKey);
}

RecordBuilder RecordBuilder::ra(std::string_view raceKey, char dataKind) {
  return RecordBuilder("RA", store::kRaRecordLength, raceKey, dataKind);
}

RecordBuilder RecordBuilder::se(std::string_view raceKey, int horseNumber, char dataKind) {
  RecordBuilder builder("SE", store::kSeRecordLength, raceKey, dataKind);
  builder.setNumber(store::se::kHorseNumber, horseNumber);
  return builder;
}

RecordBuilder RecordBuilder::hr(std::string_view raceKey, char dataKind) {
  return RecordBuilder("HR", store::kHrRecordLength, raceKey, dataKind);
}

RecordBuilder& RecordBuilder::set(store::Field field, std::string_view utf8Text) {
  return setRaw(field, cp932::fromUtf8(utf8Text));
}

RecordBuilder& RecordBuilder::setRaw(store::Field field, std::string_view cp932Bytes) {
  std::string value = store::fitWidth(cp932Bytes, static_cast<size_t>(field.length));
  m_record.replace(static_cast<size_t>(field.position - 1), value.size(), value);
  return *this;
}

RecordBuilder& RecordBuilder::setNumber(store::Field field, int value) {
  return setRaw(field, store::format("%0*d", field.length, value));
}

}  // namespace orvalle::test
