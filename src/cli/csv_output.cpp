#include "csv_output.h"

#include <map>

#include "store/cp932.h"

namespace orvalle::cli {

void addCsvOptions(CLI::App& command, bool& csv, CsvEncoding& encoding,
                   const std::string& csvHelp) {
  addCsvEncodingOption(command, encoding, command.add_flag("--csv", csv, csvHelp));
}

void addCsvEncodingOption(CLI::App& command, CsvEncoding& encoding, CLI::Option* csvOption) {
  const std::map<std::string, CsvEncoding> names = {{"utf-8", CsvEncoding::kUtf8},
                                                    {"utf8", CsvEncoding::kUtf8},
                                                    {"cp932", CsvEncoding::kCp932},
                                                    {"sjis", CsvEncoding::kCp932},
                                                    {"shift_jis", CsvEncoding::kCp932}};
  command
      .add_option("--encoding", encoding,
                  "CSVの文字コード: utf-8（既定）または cp932（Windows の表計算ソフト向け）")
      ->transform(CLI::CheckedTransformer(names, CLI::ignore_case))
      ->option_text("utf-8|cp932")
      ->needs(csvOption);
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void printCsvRow(std::ostream& out, const std::vector<std::string>& cp932Cells,
                 CsvEncoding encoding) {
  // CP932 trail bytes are never a comma, a quote, CR or LF, so quoting the
  // CP932 bytes is as safe as quoting their UTF-8 form.
  for (size_t i = 0; i < cp932Cells.size(); ++i) {
    if (i > 0) out << ',';
    out << csvField(encoding == CsvEncoding::kUtf8 ? cp932::toUtf8(cp932Cells[i]) : cp932Cells[i]);
  }
  out << "\r\n";
}

}  // namespace orvalle::cli
